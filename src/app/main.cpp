// Vorlisk: a Cabrillo contest log written by hand.
#include "app/CVorliskApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CVorliskApp::SetUpApplication();

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);

    CVorliskApp theApp;
    if (!theApp.InitInstance(args)) {
        theApp.ExitInstance();
        return theApp.StartupExitCode();
    }
    const int code = app.exec();
    theApp.ExitInstance();
    return code;
}
