#pragma once
#include <QDialog>

// The version box.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

// "%hd.%hd.%hd.%hd" of the program's version.
QString VersionText();
