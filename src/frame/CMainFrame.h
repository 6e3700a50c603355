#pragma once
// The program's main window: menu bar, accelerators, a dockable toolbar, the
// status bar with its message pane and lock-key indicators, and the log view
// in the middle. Every command is a QAction carrying its command number
// (QAction::data()); whoever handles a command connects to Action(id). The
// frame itself handles only the View menu's bar toggles and the status-bar
// prompts.

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QStringList>

class QAction;
class QCloseEvent;
class QLabel;
class QMenu;
class QToolBar;
class LockIndicators;
struct LockState;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // The action of a command of the menus, toolbar or accelerators; nullptr
    // for any other number. For the first recent-file number it is the first
    // entry, or the grayed "Recent File" item while the list is empty.
    QAction* Action(int commandId) const;

    // Puts the view in the middle of the window (the frame takes ownership).
    void SetView(QWidget* view);
    QWidget* View() const;

    // Caption: the document title, " - ", and "Vorlisk".
    void SetDocumentTitle(const QString& title);
    QString DocumentTitle() const { return m_documentTitle; }

    // Replaces the recent-file entries of the File menu with these ready-made
    // texts ("&1 name", ...); an empty list shows the grayed "Recent File"
    // item. Choosing an entry emits RecentFileChosen with its position.
    void SetRecentFiles(const QStringList& menuTexts);

    // Offers or withdraws the File menu's Send item (with the separator above it).
    void SetSendAvailable(bool available);
    bool IsSendAvailable() const { return m_sendAvailable; }

    // The message pane: a command's prompt while it is highlighted, "Ready"
    // otherwise. An empty text shows "Ready".
    void ShowMessage(const QString& text);
    QString Message() const;

    QToolBar* ToolBar() const { return m_toolBar; }
    LockIndicators* Locks() const { return m_locks; }

    // The three key-indicator panes in order: Caps Lock, Num Lock, Scroll Lock.
    QList<QLabel*> IndicatorPanes() const { return m_indicatorPanes; }

    // Most recent-file entries the menu holds (their command numbers run
    // from the first recent-file number on).
    static constexpr int kMaxRecentFiles = 16;

signals:
    void RecentFileChosen(int index);
    // Closing the window: the receiver may ignore the event to keep the
    // window open. With no receiver the window closes.
    void CloseRequested(QCloseEvent* event);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    void OnCreate();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    QAction* AddCommand(int commandId, const QString& text, const QList<QKeySequence>& keys = {});
    void UpdateToolbarIcons();
    void ShowLockState(const LockState& state);
    void SyncBarChecks();

    QHash<int, QAction*> m_actions;
    QString m_documentTitle;

    QMenu* m_fileMenu = nullptr;
    QAction* m_sendSeparator = nullptr;   // separator above Send
    QAction* m_recentSeparator = nullptr; // separator above the recent files
    QAction* m_exitSeparator = nullptr;   // separator below the recent files
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    bool m_sendAvailable = true;

    QToolBar* m_toolBar = nullptr;
    LockIndicators* m_locks = nullptr;
    QList<QLabel*> m_indicatorPanes;
    bool m_showingMessage = false;
};
