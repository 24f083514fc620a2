// Zelkora II: the desktop program.
#include <QApplication>
#include "shell/qt_translation.h"
#include "shell/zelkora_app.h"

int main(int argc, char** argv)
{
    UseJapaneseSystemLocale();
    QApplication application(argc, argv);
    CZelkoraApp app;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments)) return 1;
    return QApplication::exec();
}
