#pragma once
#include <QDialog>

class CEnvironment;
class IShellUi;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

// The environment settings dialog: edits a CEnvironment in place when it ends with OK.
class CEnvironmentDlg : public QDialog {
    Q_OBJECT
public:
    CEnvironmentDlg(CEnvironment& env, IShellUi& ui, QWidget* parent = nullptr);

    void accept() override;
    // Edit and "..." button of each file enabled exactly while its file option is checked.
    void UpdateEnableState();

    QLineEdit* m_pSourcePath;
    QPushButton* m_pBrowseFolder;
    QButtonGroup* m_pWorkView;
    QCheckBox* m_pSaveWatch;
    QButtonGroup* m_pInDevice;
    QLineEdit* m_pInFile;
    QPushButton* m_pBrowseIn;
    QButtonGroup* m_pOutDevice;
    QLineEdit* m_pOutFile;
    QPushButton* m_pBrowseOut;

private:
    void BrowseFolder();
    void BrowseInputFile();
    void BrowseOutputFile();

    CEnvironment& m_env;
    IShellUi& m_ui;
};
