#pragma once
// The application object: start-up (settings, the one document, frame and
// view, the command line), the application's commands, and the settings
// written back at the end.

#include "app/CommandLine.h"
#include "app/RecentFileList.h"

#include <QObject>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class CVorliskDoc;
class CVorliskView;
class FileDialogs;
class LogPrinter;
class SendMail;
class SingleDocTemplate;
class QCloseEvent;
struct PrintSource;

class CVorliskApp : public QObject {
    Q_OBJECT
public:
    CVorliskApp();
    ~CVorliskApp() override;

    // Name, version and window icon of the running program; once, right after
    // the QApplication is made.
    static void SetUpApplication();

    // Start-up; false means the program ends without running its event loop.
    bool InitInstance(const std::vector<std::string>& args);
    // Writes the settings back (not after Unregister). Returns the exit code.
    int ExitInstance();

    // The exit code when start-up ended on purpose (printing, unregistering)
    // rather than by failure.
    int StartupExitCode() const { return m_startupExitCode; }

    CMainFrame* MainFrame() const { return m_frame; }
    CVorliskView* View() const { return m_view; }
    CVorliskDoc* Document() const { return m_doc.get(); }
    const RecentFileList& RecentFiles() const { return m_recentFiles; }
    int PreviewPages() const { return m_previewPages; }
    LogPrinter& Printer() const { return *m_printer; }
    SendMail& Mail() const { return *m_mail; }

    // Replace the file dialogs (tests).
    void SetFileDialogs(FileDialogs* dialogs);

    // The application's commands.
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileRecent(int index);
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnFileSendMail();
    void OnAppAbout();
    void OnAppExit();

private:
    void CreateDocumentFrameView();
    void ConnectCommands();
    void UpdateEditCommands();
    void UpdateRecentFileMenu();
    bool ProcessShellCommand(const CommandLineInfo& info);
    bool OpenAtStartup(const std::string& path);
    bool OpenFile(const std::string& path);
    void OnCloseRequested(QCloseEvent* event);
    PrintSource CurrentPrintSource() const;

    CMainFrame* m_frame = nullptr; // owns the view
    CVorliskView* m_view = nullptr;
    std::unique_ptr<CVorliskDoc> m_doc;
    std::unique_ptr<SingleDocTemplate> m_template;
    std::unique_ptr<LogPrinter> m_printer;
    std::unique_ptr<SendMail> m_mail;
    FileDialogs* m_dialogs = nullptr;
    RecentFileList m_recentFiles;
    int m_previewPages = 0;
    bool m_unregistered = false;
    int m_startupExitCode = 1;
};
