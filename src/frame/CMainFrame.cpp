#include "frame/CMainFrame.h"

#include "frame/CommandPrompts.h"
#include "frame/LockIndicators.h"
#include "frame/ToolbarImages.h"
#include "framework/CommandIds.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyleOptionMenuItem>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include <utility>

namespace {

const QString kAppTitle = QStringLiteral("Vorlisk");

QKeySequence Keys(QKeyCombination combination)
{
    return QKeySequence(combination);
}

// The toolbar in button order; 0 stands for a separator.
struct ToolbarItem {
    int commandId;
    const char* image;
};

constexpr ToolbarItem kToolbarItems[] = {
    {ID_FILE_NEW, "new"},
    {ID_FILE_OPEN, "open"},
    {ID_FILE_SAVE, "save"},
    {0, nullptr},
    {ID_EDIT_CUT, "cut"},
    {ID_EDIT_COPY, "copy"},
    {ID_EDIT_PASTE, "paste"},
    {0, nullptr},
    {ID_FILE_PRINT, "print"},
    {0, nullptr},
    {ID_APP_ABOUT, "about"},
    {ID_ADD_QSO, "addqso"},
};

// A menu that shows each item's text exactly as given. Qt's menus append the
// first shortcut of an item whose text names no key ("&Add QSO" would read
// "Add QSO  F9"); here only the text after a "\t" shows as the key column.
class CommandMenu : public QMenu {
public:
    CommandMenu(const QString& title, QWidget* parent)
        : QMenu(title, parent)
    {
    }

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override
    {
        QMenu::initStyleOption(option, action);
        if (action && !action->isSeparator())
            option->text = action->text();
    }
};

int CommandOf(const QAction* action)
{
    return action ? action->data().toInt() : 0;
}

} // namespace

CMainFrame::CMainFrame()
{
    OnCreate();
    SetDocumentTitle(QStringLiteral("Untitled"));

    // The system would pick a generous size for a new top-level window; two
    // thirds of the screen is a comfortable start for a log.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableSize() * 2 / 3);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::OnCreate()
{
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
}

QAction* CMainFrame::AddCommand(int commandId, const QString& text, const QList<QKeySequence>& keys)
{
    auto* action = new QAction(text, this);
    action->setData(commandId);
    action->setMenuRole(QAction::NoRole);
    const CommandPrompt prompt = CommandPromptFor(commandId);
    action->setStatusTip(prompt.statusPrompt);
    action->setToolTip(prompt.toolTip);
    if (!keys.isEmpty()) {
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    // Registered with the window itself so that the keys work whether or not
    // the action sits in a visible menu or toolbar.
    addAction(action);
    m_actions.insert(commandId, action);
    return action;
}

void CMainFrame::CreateActions()
{
    const auto ctrl = Qt::ControlModifier;
    const auto shift = Qt::ShiftModifier;

    AddCommand(ID_FILE_NEW, tr("&New\tCtrl+N"), {Keys(ctrl | Qt::Key_N)});
    AddCommand(ID_FILE_OPEN, tr("&Open...\tCtrl+O"), {Keys(ctrl | Qt::Key_O)});
    AddCommand(ID_FILE_SAVE, tr("&Save\tCtrl+S"), {Keys(ctrl | Qt::Key_S)});
    AddCommand(ID_FILE_SAVE_AS, tr("Save &As..."));
    AddCommand(ID_FILE_PRINT, tr("&Print...\tCtrl+P"), {Keys(ctrl | Qt::Key_P)});
    AddCommand(ID_FILE_PRINT_PREVIEW, tr("Print Pre&view"));
    AddCommand(ID_FILE_PRINT_SETUP, tr("P&rint Setup..."));
    AddCommand(ID_FILE_SEND_MAIL, tr("Sen&d..."));
    AddCommand(ID_APP_EXIT, tr("E&xit"));

    AddCommand(ID_EDIT_UNDO, tr("&Undo\tCtrl+Z"),
               {Keys(ctrl | Qt::Key_Z), Keys(Qt::AltModifier | Qt::Key_Backspace)});
    AddCommand(ID_EDIT_CUT, tr("Cu&t\tCtrl+X"), {Keys(ctrl | Qt::Key_X), Keys(shift | Qt::Key_Delete)});
    AddCommand(ID_EDIT_COPY, tr("&Copy\tCtrl+C"), {Keys(ctrl | Qt::Key_C), Keys(ctrl | Qt::Key_Insert)});
    AddCommand(ID_EDIT_PASTE, tr("&Paste\tCtrl+V"), {Keys(ctrl | Qt::Key_V), Keys(shift | Qt::Key_Insert)});
    // The keypad plus key only: the main keyboard's plus types a "+".
    AddCommand(ID_ADD_QSO, tr("&Add QSO"), {Keys(Qt::Key_F9), Keys(Qt::KeypadModifier | Qt::Key_Plus)});

    // Pane switching needs a split window, which this program never has:
    // the keys are claimed but do nothing.
    AddCommand(ID_NEXT_PANE, tr("Next Pane"), {Keys(Qt::Key_F6)})->setEnabled(false);
    AddCommand(ID_PREV_PANE, tr("Previous Pane"), {Keys(shift | Qt::Key_F6)})->setEnabled(false);

    QAction* toggleToolBar = AddCommand(ID_VIEW_TOOLBAR, tr("&Toolbar"));
    QAction* toggleStatusBar = AddCommand(ID_VIEW_STATUS_BAR, tr("&Status Bar"));
    toggleToolBar->setCheckable(true);
    toggleStatusBar->setCheckable(true);

    AddCommand(ID_APP_ABOUT, tr("&About Vorlisk..."));

    m_recentPlaceholder = new QAction(tr("Recent File"), this);
    m_recentPlaceholder->setData(int(ID_FILE_MRU_FILE1));
    m_recentPlaceholder->setStatusTip(CommandStatusPrompt(ID_FILE_MRU_FILE1));
    m_recentPlaceholder->setEnabled(false);
}

void CMainFrame::CreateMenus()
{
    auto addMenu = [this](const QString& title) {
        auto* menu = new CommandMenu(title, this);
        menuBar()->addMenu(menu);
        return static_cast<QMenu*>(menu);
    };

    m_fileMenu = addMenu(tr("&File"));
    m_fileMenu->addAction(Action(ID_FILE_NEW));
    m_fileMenu->addAction(Action(ID_FILE_OPEN));
    m_fileMenu->addAction(Action(ID_FILE_SAVE));
    m_fileMenu->addAction(Action(ID_FILE_SAVE_AS));
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(Action(ID_FILE_PRINT));
    m_fileMenu->addAction(Action(ID_FILE_PRINT_PREVIEW));
    m_fileMenu->addAction(Action(ID_FILE_PRINT_SETUP));
    m_sendSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addAction(Action(ID_FILE_SEND_MAIL));
    m_recentSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_recentPlaceholder);
    m_exitSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addAction(Action(ID_APP_EXIT));

    QMenu* editMenu = addMenu(tr("&Edit"));
    editMenu->addAction(Action(ID_EDIT_UNDO));
    editMenu->addSeparator();
    editMenu->addAction(Action(ID_EDIT_CUT));
    editMenu->addAction(Action(ID_EDIT_COPY));
    editMenu->addAction(Action(ID_EDIT_PASTE));
    editMenu->addAction(Action(ID_ADD_QSO));

    QMenu* viewMenu = addMenu(tr("&View"));
    viewMenu->addAction(Action(ID_VIEW_TOOLBAR));
    viewMenu->addAction(Action(ID_VIEW_STATUS_BAR));

    QMenu* helpMenu = addMenu(tr("&Help"));
    helpMenu->addAction(Action(ID_APP_ABOUT));

    // A highlighted item shows its prompt; once the menu closes the message
    // pane returns to "Ready".
    for (QMenu* menu : {m_fileMenu, editMenu, viewMenu, helpMenu}) {
        connect(menu, &QMenu::hovered, this, [this](QAction* action) {
            if (!action->isSeparator())
                ShowMessage(action->statusTip());
        });
        connect(menu, &QMenu::aboutToHide, this, [this] { ShowMessage(QString()); });
    }
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = new QToolBar(tr("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(kToolbarImageSize);
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);

    for (const ToolbarItem& item : kToolbarItems) {
        if (item.commandId == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = Action(item.commandId);
        action->setProperty("toolbarImage", QString::fromLatin1(item.image));
        // The images belong to the toolbar; the menus show plain text.
        action->setIconVisibleInMenu(false);
        m_toolBar->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(action))) {
            button->setAutoRaise(true);
            button->setFixedSize(kToolbarButtonSize);
            button->installEventFilter(this);
        }
    }
    UpdateToolbarIcons();

    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_toolBar->installEventFilter(this);

    connect(Action(ID_VIEW_TOOLBAR), &QAction::triggered, m_toolBar, &QWidget::setVisible);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setSizeGripEnabled(true);

    m_locks = new LockIndicators(this);
    for (const QString& text : {QStringLiteral("CAP"), QStringLiteral("NUM"), QStringLiteral("SCRL")}) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QStringLiteral("indicator") + text);
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setProperty("indicatorText", text);
        // Each pane keeps the width of its text whether or not the text shows.
        pane->setFixedWidth(pane->fontMetrics().horizontalAdvance(text) + 2 * pane->frameWidth() + 8);
        bar->addPermanentWidget(pane);
        m_indicatorPanes.append(pane);
    }
    connect(m_locks, &LockIndicators::StateChanged, this, &CMainFrame::ShowLockState);
    ShowLockState(m_locks->State());

    // Whatever clears the message pane, it falls back to the idle message.
    connect(bar, &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (text.isEmpty() && !m_showingMessage)
            ShowMessage(QString());
    });
    ShowMessage(QString());

    bar->installEventFilter(this);
    connect(Action(ID_VIEW_STATUS_BAR), &QAction::triggered, bar, &QWidget::setVisible);
    SyncBarChecks();
}

QAction* CMainFrame::Action(int commandId) const
{
    if (commandId >= ID_FILE_MRU_FILE1 && commandId < ID_FILE_MRU_FILE1 + kMaxRecentFiles) {
        const int index = commandId - ID_FILE_MRU_FILE1;
        if (m_recentActions.isEmpty())
            return index == 0 ? m_recentPlaceholder : nullptr;
        return index < m_recentActions.size() ? m_recentActions.at(index) : nullptr;
    }
    return m_actions.value(commandId, nullptr);
}

void CMainFrame::SetView(QWidget* view)
{
    setCentralWidget(view);
}

QWidget* CMainFrame::View() const
{
    return centralWidget();
}

void CMainFrame::SetDocumentTitle(const QString& title)
{
    m_documentTitle = title;
    // "[*]" in a window title is Qt's modified-marker placeholder; a file
    // name may contain it, so it is doubled to be shown as it stands.
    QString shown = title;
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(shown + QStringLiteral(" - ") + kAppTitle);
}

void CMainFrame::SetRecentFiles(const QStringList& menuTexts)
{
    // The list usually changes in answer to choosing one of its entries, while
    // that entry's signal is still being delivered: the old entries leave the
    // menu now and are deleted once control is back in the event loop.
    for (QAction* action : std::as_const(m_recentActions)) {
        m_fileMenu->removeAction(action);
        action->deleteLater();
    }
    m_recentActions.clear();
    m_fileMenu->removeAction(m_recentPlaceholder);

    const QStringList texts = menuTexts.mid(0, kMaxRecentFiles);
    if (texts.isEmpty()) {
        m_fileMenu->insertAction(m_exitSeparator, m_recentPlaceholder);
        return;
    }
    for (int index = 0; index < texts.size(); ++index) {
        auto* action = new QAction(texts.at(index), this);
        action->setData(int(ID_FILE_MRU_FILE1) + index);
        action->setStatusTip(CommandStatusPrompt(ID_FILE_MRU_FILE1 + index));
        connect(action, &QAction::triggered, this, [this, index] { emit RecentFileChosen(index); });
        m_fileMenu->insertAction(m_exitSeparator, action);
        m_recentActions.append(action);
    }
}

void CMainFrame::SetSendAvailable(bool available)
{
    if (available == m_sendAvailable)
        return;
    m_sendAvailable = available;
    QAction* send = Action(ID_FILE_SEND_MAIL);
    if (available) {
        m_fileMenu->insertAction(m_recentSeparator, m_sendSeparator);
        m_fileMenu->insertAction(m_recentSeparator, send);
    } else {
        m_fileMenu->removeAction(m_sendSeparator);
        m_fileMenu->removeAction(send);
    }
    // Without the menu item the command must not be reachable at all.
    send->setVisible(available);
}

void CMainFrame::ShowMessage(const QString& text)
{
    m_showingMessage = true;
    statusBar()->showMessage(text.isEmpty() ? CommandStatusPrompt(ID_IDLE_MESSAGE) : text);
    m_showingMessage = false;
}

QString CMainFrame::Message() const
{
    return statusBar()->currentMessage();
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        // Sent by menus and by toolbar buttons on mouse enter (with the
        // prompt) and leave (empty).
        ShowMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        if (auto* button = qobject_cast<QToolButton*>(watched)) {
            // Buttons show exactly the tooltip part of their prompt; a command
            // without one (Add QSO) shows none rather than Qt's fallback to
            // the action text.
            const QString tip = CommandToolTip(CommandOf(button->defaultAction()));
            if (tip.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, button);
            return true;
        }
        break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        // The images take the toolbar's colours; the toolbar hears of a new
        // palette after the frame does, so it is watched here.
        if (watched == m_toolBar)
            UpdateToolbarIcons();
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (watched == m_toolBar || watched == statusBar())
            SyncBarChecks();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit CloseRequested(event);
}

QMenu* CMainFrame::createPopupMenu()
{
    // The View menu is the one place to show or hide the bars.
    return nullptr;
}

void CMainFrame::UpdateToolbarIcons()
{
    if (!m_toolBar)
        return;
    const QPalette palette = m_toolBar->palette();
    for (QAction* action : m_toolBar->actions()) {
        const QString image = action->property("toolbarImage").toString();
        if (!image.isEmpty())
            action->setIcon(ToolbarIcon(image, palette));
    }
}

void CMainFrame::ShowLockState(const LockState& state)
{
    const bool on[] = {state.capsLock, state.numLock, state.scrollLock};
    for (int index = 0; index < m_indicatorPanes.size(); ++index) {
        QLabel* pane = m_indicatorPanes.at(index);
        pane->setText(on[index] ? pane->property("indicatorText").toString() : QString());
    }
}

void CMainFrame::SyncBarChecks()
{
    if (QAction* action = Action(ID_VIEW_TOOLBAR); action && m_toolBar)
        action->setChecked(!m_toolBar->isHidden());
    if (QAction* action = Action(ID_VIEW_STATUS_BAR))
        action->setChecked(!statusBar()->isHidden());
}
