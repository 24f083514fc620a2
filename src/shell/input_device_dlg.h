#pragma once
#include <QDialog>

class QLineEdit;

// The key-input dialog of IN: one line of text, "入力" to give it, "EOF" for end of input.
class CInputDeviceDlg : public QDialog {
    Q_OBJECT
public:
    explicit CInputDeviceDlg(QWidget* parent = nullptr);
    QString GetText() const;
    QLineEdit* GetEdit() const { return m_pEdit; }

private:
    QLineEdit* m_pEdit;
};
