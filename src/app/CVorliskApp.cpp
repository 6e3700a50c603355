#include "app/CVorliskApp.h"

#include "frame/CMainFrame.h"
#include "framework/CommandIds.h"
#include "framework/FileDialogs.h"
#include "framework/MessageBox.h"
#include "framework/ProfileSettings.h"
#include "framework/SendMail.h"
#include "framework/SingleDocTemplate.h"
#include "log/CVorliskDoc.h"
#include "view/CAboutDlg.h"
#include "view/CVorliskView.h"
#include "view/LogPrinter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStringList>
#include <QTimer>

namespace {
const QString kUnregistered =
    QStringLiteral("System registry entries have been removed and the INI file (if any) was deleted.");
} // namespace

CVorliskApp::CVorliskApp() = default;

void CVorliskApp::SetUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Vorlisk"));
    QApplication::setApplicationVersion(QStringLiteral(VORLISK_VERSION));
    // Lets the desktop (Wayland in particular) tie the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vorlisk.Vorlisk"));
    // The window icon comes from the small renderings only (decoding every
    // size, or loading the SVG icon engine, costs a good part of start-up), and
    // only once the event loop runs, so it never delays the first paint.
    QTimer::singleShot(0, qApp, [] {
        QIcon windowIcon;
        for (const int size : kVorliskIconSizes) {
            if (size <= 64)
                windowIcon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/vorlisk.png").arg(size),
                                   QSize(size, size));
        }
        QApplication::setWindowIcon(windowIcon);
    });
}

CVorliskApp::~CVorliskApp()
{
    // The frame owns the view, which the document and printer refer to.
    m_template.reset();
    m_doc.reset();
    m_printer.reset();
    delete m_frame;
}

void CVorliskApp::SetFileDialogs(FileDialogs* dialogs)
{
    m_dialogs = dialogs;
    if (m_doc)
        m_doc->SetFileDialogs(dialogs);
}

bool CVorliskApp::InitInstance(const std::vector<std::string>& args)
{
    const ProfileValues profile = ProfileSettings::Load();
    m_recentFiles.SetEntries(profile.recentFiles);
    m_previewPages = profile.previewPages;

    const CommandLineInfo info = ParseCommandLine(args);
    if (info.m_nShellCommand == CommandLineInfo::ShellCommand::AppUnregister) {
        ProfileSettings::Remove();
        if (!info.m_bRunEmbedded)
            ShowMessage(kUnregistered);
        m_unregistered = true;
        m_startupExitCode = 0;
        return false;
    }
    if (info.m_nShellCommand == CommandLineInfo::ShellCommand::FileDDE) {
        // No conversation is offered: end quietly, without a window.
        m_startupExitCode = 0;
        return false;
    }

    CreateDocumentFrameView();
    if (!ProcessShellCommand(info))
        return false;
    m_frame->show();
    return true;
}

int CVorliskApp::ExitInstance()
{
    if (!m_unregistered)
        ProfileSettings::Save(m_recentFiles.Entries(), m_previewPages);
    return 0;
}

void CVorliskApp::CreateDocumentFrameView()
{
    m_frame = new CMainFrame();
    m_view = new CVorliskView();
    m_frame->SetView(m_view);
    m_doc = std::make_unique<CVorliskDoc>();
    m_doc->SetView(m_view);
    m_doc->SetDialogParent(m_frame);
    m_doc->SetFileDialogs(m_dialogs);
    m_template = std::make_unique<SingleDocTemplate>(*m_doc, [this] { m_view->OnInitialUpdate(); });
    m_printer = std::make_unique<LogPrinter>(m_frame);
    m_mail = std::make_unique<SendMail>();
    m_frame->SetSendAvailable(SendMail::Available());
    m_frame->SetDocumentTitle(m_doc->GetTitle());
    ConnectCommands();
    UpdateRecentFileMenu();
    UpdateEditCommands();
    m_view->setFocus();
}

void CVorliskApp::ConnectCommands()
{
    const auto on = [this](int id, auto handler) {
        if (QAction* action = m_frame->Action(id))
            connect(action, &QAction::triggered, this, handler);
    };
    on(ID_FILE_NEW, [this] { OnFileNew(); });
    on(ID_FILE_OPEN, [this] { OnFileOpen(); });
    on(ID_FILE_SAVE, [this] { OnFileSave(); });
    on(ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); });
    on(ID_FILE_PRINT, [this] { OnFilePrint(); });
    on(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
    on(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    on(ID_FILE_SEND_MAIL, [this] { OnFileSendMail(); });
    on(ID_APP_ABOUT, [this] { OnAppAbout(); });
    on(ID_APP_EXIT, [this] { OnAppExit(); });
    on(ID_ADD_QSO, [this] { m_view->OnAddQso(); });
    on(ID_EDIT_UNDO, [this] { m_view->Undo(); });
    on(ID_EDIT_CUT, [this] { m_view->Cut(); });
    on(ID_EDIT_COPY, [this] { m_view->Copy(); });
    on(ID_EDIT_PASTE, [this] { m_view->Paste(); });

    connect(m_view, &CVorliskView::AddQsoKey, m_view, &CVorliskView::OnAddQso);
    connect(m_view, &CVorliskView::EditStateChanged, this, &CVorliskApp::UpdateEditCommands);
    connect(m_view, &CVorliskView::ModifiedByUser, m_doc.get(), [this] { m_doc->SetModifiedFlag(true); });
    connect(m_view, &CVorliskView::TextLimitReached, m_frame, [this] {
        m_frame->ShowMessage(QStringLiteral("The log is full: a log holds at most 1,048,575 bytes."));
    });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CVorliskApp::UpdateEditCommands);
    connect(m_doc.get(), &CDocument::TitleChanged, m_frame, &CMainFrame::SetDocumentTitle);
    connect(m_doc.get(), &CDocument::ModifiedChanged, m_view, [this](bool modified) {
        if (!modified)
            m_view->SetSavePoint();
    });
    connect(m_doc.get(), &CDocument::PathAddedToRecentFiles, this, [this](const std::string& path) {
        m_recentFiles.Add(path);
        UpdateRecentFileMenu();
    });
    connect(m_frame, &CMainFrame::RecentFileChosen, this, &CVorliskApp::OnFileRecent);
    connect(m_frame, &CMainFrame::CloseRequested, this, &CVorliskApp::OnCloseRequested);
}

void CVorliskApp::UpdateEditCommands()
{
    const bool selection = m_view->HasSelection();
    m_frame->Action(ID_EDIT_CUT)->setEnabled(selection);
    m_frame->Action(ID_EDIT_COPY)->setEnabled(selection);
    m_frame->Action(ID_EDIT_UNDO)->setEnabled(m_view->CanUndo());
    m_frame->Action(ID_EDIT_PASTE)->setEnabled(CVorliskView::CanPaste());
}

void CVorliskApp::UpdateRecentFileMenu()
{
    const std::string currentDir = PathBytes(QDir::currentPath());
    QStringList texts;
    int number = 1;
    for (const std::string& path : m_recentFiles.Entries())
        texts << PathText(RecentFileMenuText(number++, RecentFileDisplayName(path, currentDir)));
    m_frame->SetRecentFiles(texts);
}

bool CVorliskApp::ProcessShellCommand(const CommandLineInfo& info)
{
    using Command = CommandLineInfo::ShellCommand;
    switch (info.m_nShellCommand) {
    case Command::FileNew:
        return m_template->NewDocument();
    case Command::FileOpen:
        return OpenAtStartup(info.m_strFileName);
    case Command::FilePrint:
    case Command::FilePrintTo: {
        // Print and quit: the window stays hidden.
        if (info.m_strFileName.empty() || !OpenAtStartup(info.m_strFileName))
            return false;
        const bool printed = info.m_nShellCommand == Command::FilePrint
                                 ? m_printer->PrintDirect(CurrentPrintSource())
                                 : m_printer->PrintDirectTo(CurrentPrintSource(), PathText(info.m_strPrinterName));
        m_startupExitCode = printed ? 0 : 1;
        return false;
    }
    default:
        return false;
    }
}

bool CVorliskApp::OpenAtStartup(const std::string& path)
{
    // A new log first, so that a failed open never leaves a window without one.
    m_doc->SetTitle(QStringLiteral("Untitled"));
    return m_template->OpenDocumentFile(path) == SingleDocTemplate::OpenResult::Opened;
}

bool CVorliskApp::OpenFile(const std::string& path)
{
    const auto result = m_template->OpenDocumentFile(path);
    if (result == SingleDocTemplate::OpenResult::AlreadyOpen) {
        m_frame->raise();
        m_frame->activateWindow();
    }
    UpdateRecentFileMenu();
    return result == SingleDocTemplate::OpenResult::Opened || result == SingleDocTemplate::OpenResult::AlreadyOpen;
}

void CVorliskApp::OnFileNew() { m_template->NewDocument(); }

void CVorliskApp::OnFileOpen()
{
    FileDialogs& dialogs = m_dialogs ? *m_dialogs : FileDialogs::System();
    const std::optional<QString> path = dialogs.AskOpenPath(m_frame);
    if (!path)
        return;
    // The working folder follows the chosen file.
    QDir::setCurrent(QFileInfo(*path).absolutePath());
    OpenFile(PathBytes(*path));
}

void CVorliskApp::OnFileSave() { m_doc->DoFileSave(); }

void CVorliskApp::OnFileSaveAs() { m_doc->DoSave(nullptr); }

void CVorliskApp::OnFileRecent(int index)
{
    const auto& entries = m_recentFiles.Entries();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size())
        return;
    const std::string path = entries[static_cast<std::size_t>(index)];
    if (!OpenFile(path)) {
        // Whatever kept it from opening (a file error, or Cancel at the save
        // prompt), the entry leaves the list.
        const auto& now = m_recentFiles.Entries();
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (now[i] == path) {
                m_recentFiles.Remove(i);
                break;
            }
        }
        UpdateRecentFileMenu();
    }
}

PrintSource CVorliskApp::CurrentPrintSource() const
{
    return PrintSource{std::string(m_view->Text()), m_view->ViewFont(), m_doc->GetTitle()};
}

void CVorliskApp::OnFilePrint() { m_printer->Print(CurrentPrintSource()); }

void CVorliskApp::OnFilePrintPreview()
{
    int pages = m_previewPages == 2 ? 2 : 1;
    m_printer->Preview(CurrentPrintSource(), pages);
    m_previewPages = pages;
}

void CVorliskApp::OnFilePrintSetup() { m_printer->PrintSetup(); }

void CVorliskApp::OnFileSendMail() { m_mail->Send(*m_doc); }

void CVorliskApp::OnAppAbout()
{
    CAboutDlg about(m_frame);
    about.DoModal();
}

void CVorliskApp::OnAppExit() { m_frame->close(); }

void CVorliskApp::OnCloseRequested(QCloseEvent* event)
{
    if (!m_doc->SaveModified())
        event->ignore();
}
