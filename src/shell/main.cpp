// Zelkora II: the desktop program.
#include <QApplication>
#include "shell/zelkora_app.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    CZelkoraApp app;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments)) return 1;
    return QApplication::exec();
}
