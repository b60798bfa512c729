// The QEX desktop program.

#include "app/QEXApp.h"
#include "core/HeapRetention.h"
#include "core/TemporaryFiles.h"
#include "ui/MessageBoxSink.h"

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstring>

#ifndef QEX_VERSION
#define QEX_VERSION "unknown"
#endif

namespace {

// --version and --help answer on standard output without opening a window,
// so they work where there is no display.
bool AnswerWithoutWindow(int argc, char* argv[], int& status)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("qex %s\n", QEX_VERSION);
            status = std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("Usage: qex [Qt options] [FILE]\n"
                        "QEX: cosmogenic-nuclide (10Be, 26Al) exposure and burial dating calculators.\n"
                        "Opens the desktop program; FILE is opened as its document.\n"
                        "  -h, --help     show this help and exit\n"
                        "  --version      show the version and exit\n"
                        "The same calculators run on the command line: qexcli --help.\n");
            status = std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    int status = 0;
    if (AnswerWithoutWindow(argc, argv, status))
        return status;
    qex::RetainFreedHeapMemory();
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QEX_VERSION);
    // Qt adopts the user's locale; the calculators' number formats and file
    // readers are C formats and must see a decimal point, whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    qex::InstallMessageBoxSink();
    // Where a file system cannot hold unnamed temporaries, a closed terminal
    // or a kill must not leave named ones behind.
    qex::InstallTemporaryFileCleanup();
    qex::CQEXApp theApp;
    if (!theApp.InitInstance(QApplication::arguments()))
        return 1;
    return application.exec();
}
