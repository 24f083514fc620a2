// Saves a file the way the program saves a source (WriteFileSafely), for tests that must
// run it as another user: zelkora_write_file PATH TEXT. Prints the reason of a failure.
#include <cstdio>
#include <string>
#include "shell/source_file.h"

int main(int argc, char** argv)
{
    if (argc != 3) return 64;
    QString error;
    if (WriteFileSafely(QString::fromLocal8Bit(argv[1]), argv[2], error)) return 0;
    std::fputs(error.toUtf8().constData(), stdout);
    return 1;
}
