// The QEX desktop program.

#include "app/QEXApp.h"
#include "core/TemporaryFiles.h"
#include "ui/MessageBoxSink.h"

#include <QApplication>
#include <clocale>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
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
