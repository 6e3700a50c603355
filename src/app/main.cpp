// Vorlisk: a Cabrillo contest log written by hand.
#include "app/CVorliskApp.h"
#include "view/CAboutDlg.h"

#include <QApplication>
#include <QFile>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlisk"));
    QApplication::setApplicationVersion(QStringLiteral(VORLISK_VERSION));
    QApplication::setWindowIcon(VorliskIcon());
    // Lets the desktop (Wayland in particular) tie the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vorlisk.Vorlisk"));

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
