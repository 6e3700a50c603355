// The main window: menus, keys, toolbar, status bar prompts and lock-key
// panes, caption, the recent-file and Send items, and closing.
#include "frame/CMainFrame.h"

#include "frame/CommandPrompts.h"
#include "frame/LockIndicators.h"
#include "frame/ToolbarImages.h"
#include "framework/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {

// One menu entry as the user sees it; a separator has no text and number 0.
struct MenuItem {
    QString text;
    int commandId;
    bool enabled = true;
    bool operator==(const MenuItem&) const = default;
};

struct Menu {
    QString title;
    std::vector<MenuItem> items;
};

const MenuItem kSeparator{QString(), 0};

std::ostream& operator<<(std::ostream& out, const MenuItem& item)
{
    return out << '"' << item.text.toStdString() << "\" " << item.commandId << (item.enabled ? "" : " (grayed)");
}

const std::vector<Menu> kMenuBar = {
    {"&File",
     {{"&New\tCtrl+N", ID_FILE_NEW},
      {"&Open...\tCtrl+O", ID_FILE_OPEN},
      {"&Save\tCtrl+S", ID_FILE_SAVE},
      {"Save &As...", ID_FILE_SAVE_AS},
      kSeparator,
      {"&Print...\tCtrl+P", ID_FILE_PRINT},
      {"Print Pre&view", ID_FILE_PRINT_PREVIEW},
      {"P&rint Setup...", ID_FILE_PRINT_SETUP},
      kSeparator,
      {"Sen&d...", ID_FILE_SEND_MAIL},
      kSeparator,
      {"Recent File", ID_FILE_MRU_FILE1, false},
      kSeparator,
      {"E&xit", ID_APP_EXIT}}},
    {"&Edit",
     {{"&Undo\tCtrl+Z", ID_EDIT_UNDO},
      kSeparator,
      {"Cu&t\tCtrl+X", ID_EDIT_CUT},
      {"&Copy\tCtrl+C", ID_EDIT_COPY},
      {"&Paste\tCtrl+V", ID_EDIT_PASTE},
      {"&Add QSO", ID_ADD_QSO}}},
    {"&View", {{"&Toolbar", ID_VIEW_TOOLBAR}, {"&Status Bar", ID_VIEW_STATUS_BAR}}},
    {"&Help", {{"&About Vorlisk...", ID_APP_ABOUT}}},
};

std::vector<MenuItem> ItemsOf(const QMenu* menu)
{
    std::vector<MenuItem> items;
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible())
            continue;
        if (action->isSeparator())
            items.push_back(kSeparator);
        else
            items.push_back({action->text(), action->data().toInt(), action->isEnabled()});
    }
    return items;
}

QMenu* MenuNamed(const CMainFrame& frame, const QString& title)
{
    for (QAction* action : frame.menuBar()->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

std::vector<MenuItem> FileMenu(const CMainFrame& frame)
{
    return ItemsOf(MenuNamed(frame, "&File"));
}

// The frame's actions grouped by the keys that trigger them.
std::multimap<QString, int> ShortcutMap(const CMainFrame& frame)
{
    std::multimap<QString, int> keys;
    for (const QAction* action : frame.findChildren<QAction*>()) {
        for (const QKeySequence& key : action->shortcuts())
            keys.emplace(key.toString(QKeySequence::PortableText), action->data().toInt());
    }
    return keys;
}

// Records every command the frame's actions send.
class CommandRecorder {
public:
    explicit CommandRecorder(CMainFrame& frame)
    {
        for (QAction* action : frame.findChildren<QAction*>()) {
            m_connections.push_back(QObject::connect(
                action, &QAction::triggered, action, [this, action] { commands.push_back(action->data().toInt()); }));
        }
    }
    ~CommandRecorder()
    {
        for (const QMetaObject::Connection& connection : m_connections)
            QObject::disconnect(connection);
    }
    std::vector<int> commands;

private:
    std::vector<QMetaObject::Connection> m_connections;
};

// A frame that is shown and active, so window shortcuts and mouse hover work.
class ShownFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* view = new QPlainTextEdit;
        view->setPlainText("QSO: 14000 CW 2024-01-01 0000 N0CALL 599 001 DL1ABC 599 001");
        frame.SetView(view);
        frame.resize(640, 400);
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }

    QToolButton* ButtonFor(int commandId)
    {
        return qobject_cast<QToolButton*>(frame.ToolBar()->widgetForAction(frame.Action(commandId)));
    }

    CMainFrame frame;
};

int OpaquePixels(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            count += qAlpha(argb.pixel(x, y)) == 255;
    return count;
}

QPalette DarkPalette()
{
    QPalette palette(QColor(53, 53, 53), QColor(40, 40, 40));
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Text, Qt::white);
    return palette;
}

} // namespace

TEST(CMainFrame, MenuBarHasTheTextsSeparatorsAndOrderOfItsTable)
{
    CMainFrame frame;
    const QList<QAction*> menus = frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), qsizetype(kMenuBar.size()));
    for (size_t m = 0; m < kMenuBar.size(); ++m) {
        SCOPED_TRACE(kMenuBar[m].title.toStdString());
        EXPECT_EQ(menus[m]->text(), kMenuBar[m].title);
        ASSERT_NE(menus[m]->menu(), nullptr);
        EXPECT_EQ(ItemsOf(menus[m]->menu()), kMenuBar[m].items);
    }
}

// Notes the text of every menu item the menu draws.
class MenuTextRecorder : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_MenuItem) {
            const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            if (item && item->menuItemType != QStyleOptionMenuItem::Separator &&
                item->menuItemType != QStyleOptionMenuItem::EmptyArea)
                drawn.push_back(item->text);
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable std::vector<QString> drawn;
};

TEST(CMainFrame, MenusShowTheirTextsAsGivenWithNoKeysAdded)
{
    CMainFrame frame;
    for (const Menu& menu : kMenuBar) {
        SCOPED_TRACE(menu.title.toStdString());
        QMenu* shown = MenuNamed(frame, menu.title);
        ASSERT_NE(shown, nullptr);
        auto* recorder = new MenuTextRecorder;
        recorder->setParent(shown);
        shown->setStyle(recorder);
        shown->grab();
        std::vector<QString> expected;
        for (const MenuItem& item : menu.items) {
            if (item.commandId != 0)
                expected.push_back(item.text);
        }
        EXPECT_EQ(recorder->drawn, expected);
    }
}

TEST(CMainFrame, EveryMenuCommandIsReachableByNumberAndMenusShowNoIcons)
{
    CMainFrame frame;
    for (const Menu& menu : kMenuBar) {
        for (const MenuItem& item : menu.items) {
            if (item.commandId == 0)
                continue;
            SCOPED_TRACE(item.text.toStdString());
            QAction* action = frame.Action(item.commandId);
            ASSERT_NE(action, nullptr);
            EXPECT_EQ(action->data().toInt(), item.commandId);
            EXPECT_EQ(action->text(), item.text);
            EXPECT_FALSE(action->isIconVisibleInMenu() && !action->icon().isNull());
        }
    }
    EXPECT_EQ(frame.Action(ID_FILE_PRINT_DIRECT), nullptr);
    EXPECT_EQ(frame.Action(12345), nullptr);
}

TEST(CMainFrame, AcceleratorTableIsExactlyTheSixteenKeys)
{
    const std::multimap<QString, int> expected = {
        {"Ctrl+C", ID_EDIT_COPY},         {"Ctrl+N", ID_FILE_NEW},
        {"Ctrl+O", ID_FILE_OPEN},         {"Ctrl+P", ID_FILE_PRINT},
        {"Ctrl+S", ID_FILE_SAVE},         {"Ctrl+V", ID_EDIT_PASTE},
        {"Num++", ID_ADD_QSO},            {"Alt+Backspace", ID_EDIT_UNDO},
        {"Shift+Del", ID_EDIT_CUT},       {"F6", ID_NEXT_PANE},
        {"Shift+F6", ID_PREV_PANE},       {"F9", ID_ADD_QSO},
        {"Ctrl+Ins", ID_EDIT_COPY},       {"Shift+Ins", ID_EDIT_PASTE},
        {"Ctrl+X", ID_EDIT_CUT},          {"Ctrl+Z", ID_EDIT_UNDO},
    };
    CMainFrame frame;
    EXPECT_EQ(ShortcutMap(frame), expected);
    for (const QAction* action : frame.findChildren<QAction*>()) {
        if (!action->shortcuts().isEmpty()) {
            EXPECT_EQ(action->shortcutContext(), Qt::WindowShortcut) << action->text().toStdString();
        }
    }
}

TEST(CMainFrame, NoFindReplaceSelectAllOrRedoAnywhere)
{
    CMainFrame frame;
    const QKeySequence::StandardKey missing[] = {QKeySequence::SelectAll, QKeySequence::Find,
                                                 QKeySequence::Replace,   QKeySequence::FindNext,
                                                 QKeySequence::Redo};
    for (const QAction* action : frame.findChildren<QAction*>()) {
        const QString text = action->text();
        for (const char* word : {"Select All", "Find", "Replace", "Redo", "Repeat"})
            EXPECT_FALSE(text.contains(word, Qt::CaseInsensitive)) << text.toStdString();
        for (QKeySequence::StandardKey key : missing) {
            for (const QKeySequence& sequence : QKeySequence::keyBindings(key))
                EXPECT_FALSE(action->shortcuts().contains(sequence))
                    << text.toStdString() << " has " << sequence.toString().toStdString();
        }
    }
}

TEST_F(ShownFrame, KeysSendTheirCommandsAndPaneKeysDoNothing)
{
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::vector<int> commands;
    };
    const Case cases[] = {
        {Qt::Key_F9, Qt::NoModifier, {ID_ADD_QSO}},
        {Qt::Key_Plus, Qt::KeypadModifier, {ID_ADD_QSO}},
        {Qt::Key_Plus, Qt::NoModifier, {}}, // the main keyboard's plus is text
        {Qt::Key_Insert, Qt::ControlModifier, {ID_EDIT_COPY}},
        {Qt::Key_Insert, Qt::ShiftModifier, {ID_EDIT_PASTE}},
        {Qt::Key_Delete, Qt::ShiftModifier, {ID_EDIT_CUT}},
        {Qt::Key_Backspace, Qt::AltModifier, {ID_EDIT_UNDO}},
        {Qt::Key_N, Qt::ControlModifier, {ID_FILE_NEW}},
        {Qt::Key_F6, Qt::NoModifier, {}},
        {Qt::Key_F6, Qt::ShiftModifier, {}},
        {Qt::Key_A, Qt::ControlModifier, {}},
        {Qt::Key_F, Qt::ControlModifier, {}},
        {Qt::Key_H, Qt::ControlModifier, {}},
    };
    // Keys go to a widget without edit keys of its own, so only the frame's
    // shortcuts can act on them.
    auto* view = new QWidget;
    view->setFocusPolicy(Qt::StrongFocus);
    frame.SetView(view);
    view->setFocus();
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(QKeyCombination(c.modifiers, c.key)).toString().toStdString());
        CommandRecorder recorder(frame);
        QTest::keyClick(view, c.key, c.modifiers);
        EXPECT_EQ(recorder.commands, c.commands);
    }
    EXPECT_FALSE(frame.Action(ID_NEXT_PANE)->isEnabled());
    EXPECT_FALSE(frame.Action(ID_PREV_PANE)->isEnabled());
}

TEST(CMainFrame, ToolbarButtonsInOrderWithSeparatorsAndSizes)
{
    CMainFrame frame;
    const std::vector<int> expected = {ID_FILE_NEW, ID_FILE_OPEN,  ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY,
                                       ID_EDIT_PASTE, 0, ID_FILE_PRINT, 0, ID_APP_ABOUT, ID_ADD_QSO};
    QToolBar* bar = frame.ToolBar();
    std::vector<int> items;
    for (QAction* action : bar->actions())
        items.push_back(action->isSeparator() ? 0 : action->data().toInt());
    EXPECT_EQ(items, expected);

    EXPECT_EQ(bar->iconSize(), QSize(16, 15));
    EXPECT_TRUE(bar->isMovable());
    EXPECT_TRUE(bar->isFloatable());
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(frame.toolBarArea(bar), Qt::TopToolBarArea);
    for (QAction* action : bar->actions()) {
        if (action->isSeparator())
            continue;
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->size(), QSize(23, 22)) << action->data().toInt();
        EXPECT_TRUE(button->autoRaise());
    }
}

TEST(CMainFrame, ToolbarImagesExistAtBothSizesAndFollowThePalette)
{
    for (const char* name : {"new", "open", "save", "cut", "copy", "paste", "print", "about", "addqso"}) {
        SCOPED_TRACE(name);
        const QImage single(ToolbarImagePath(name, 1));
        const QImage twice(ToolbarImagePath(name, 2));
        ASSERT_EQ(single.size(), QSize(16, 15));
        ASSERT_EQ(twice.size(), QSize(32, 30));
        EXPECT_GT(OpaquePixels(single), 20);

        const QIcon icon = ToolbarIcon(name, QPalette());
        EXPECT_EQ(icon.pixmap(QSize(16, 15), 1.0).deviceIndependentSize(), QSizeF(16, 15));
        EXPECT_EQ(icon.pixmap(QSize(16, 15), 2.0).size(), QSize(32, 30));
    }

    // The four greys take the palette's colours; colours and transparency stay.
    QImage drawn(4, 1, QImage::Format_ARGB32);
    drawn.setPixel(0, 0, qRgb(0, 0, 0));
    drawn.setPixel(1, 0, qRgb(255, 255, 255));
    drawn.setPixel(2, 0, qRgb(200, 30, 30));
    drawn.setPixel(3, 0, qRgba(0, 0, 0, 0));
    const QPalette dark = DarkPalette();
    const QImage shown = RecolourToolbarImage(drawn, dark);
    EXPECT_EQ(shown.pixel(0, 0), dark.color(QPalette::ButtonText).rgb());
    EXPECT_EQ(shown.pixel(1, 0), dark.color(QPalette::Light).rgb());
    EXPECT_EQ(shown.pixel(2, 0), qRgb(200, 30, 30));
    EXPECT_EQ(qAlpha(shown.pixel(3, 0)), 0);
}

TEST(CMainFrame, ToolbarIconsAreRedrawnWhenThePaletteChanges)
{
    CMainFrame frame;
    // The blank page's outline starts at its top-left corner, drawn in black.
    const QPoint outline(3, 0);
    auto outlineColour = [&] {
        return frame.Action(ID_FILE_NEW)->icon().pixmap(QSize(16, 15), 1.0).toImage().pixel(outline);
    };
    frame.setPalette(DarkPalette());
    EXPECT_EQ(outlineColour(), QColor(Qt::white).rgb());
}

TEST_F(ShownFrame, ToolTipsAreTheSecondPartOfThePromptAndAddQsoHasNone)
{
    const std::vector<std::pair<int, QString>> cases = {
        {ID_FILE_NEW, "New"},     {ID_FILE_OPEN, "Open"},   {ID_FILE_SAVE, "Save"},
        {ID_EDIT_CUT, "Cut"},     {ID_EDIT_COPY, "Copy"},   {ID_EDIT_PASTE, "Paste"},
        {ID_FILE_PRINT, "Print"}, {ID_APP_ABOUT, "About"},  {ID_ADD_QSO, ""},
    };
    for (const auto& [id, tip] : cases) {
        SCOPED_TRACE(id);
        QToolTip::hideText();
        ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
        QToolButton* button = ButtonFor(id);
        ASSERT_NE(button, nullptr);
        const QPoint at = button->rect().center();
        QHelpEvent event(QEvent::ToolTip, at, button->mapToGlobal(at));
        QApplication::sendEvent(button, &event);
        EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), tip);
    }
    QToolTip::hideText();
}

TEST_F(ShownFrame, MessagePaneShowsReadyOrTheHoveredCommandsPrompt)
{
    EXPECT_EQ(frame.Message(), "Ready");

    // Mouse over a toolbar button and away again (on a real display the
    // enter and leave events arrive a little later).
    auto hover = [&](QWidget* widget, const QString& expected) {
        QTest::mouseMove(widget, widget->rect().center());
        return QTest::qWaitFor([&] { return frame.Message() == expected; });
    };
    EXPECT_TRUE(hover(ButtonFor(ID_ADD_QSO), "Add QSO")) << frame.Message().toStdString();
    EXPECT_TRUE(hover(frame.View(), "Ready")) << frame.Message().toStdString();
    EXPECT_TRUE(hover(ButtonFor(ID_FILE_SAVE), "Save the active document")) << frame.Message().toStdString();
    EXPECT_TRUE(hover(frame.View(), "Ready")) << frame.Message().toStdString();

    // An item highlighted in an open menu, then the menu closes.
    QMenu* edit = MenuNamed(frame, "&Edit");
    edit->popup(frame.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
    edit->setActiveAction(frame.Action(ID_EDIT_PASTE));
    EXPECT_EQ(frame.Message(), "Insert Clipboard contents");
    edit->setActiveAction(frame.Action(ID_ADD_QSO));
    EXPECT_EQ(frame.Message(), "Add QSO");
    edit->hide();
    EXPECT_EQ(frame.Message(), "Ready");

    // Status tips from anywhere in the window; an empty one means idle, and
    // so does a cleared message.
    QStatusTipEvent tip("Open this document");
    QApplication::sendEvent(frame.menuBar(), &tip);
    EXPECT_EQ(frame.Message(), "Open this document");
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(frame.menuBar(), &none);
    EXPECT_EQ(frame.Message(), "Ready");
    frame.statusBar()->clearMessage();
    EXPECT_EQ(frame.Message(), "Ready");
}

TEST(CMainFrame, StatusTipsAreTheFirstPartOfThePrompt)
{
    CMainFrame frame;
    const std::vector<std::pair<int, QString>> cases = {
        {ID_FILE_NEW, "Create a new document"},
        {ID_FILE_SEND_MAIL, "Send the active document through electronic mail"},
        {ID_FILE_MRU_FILE1, "Open this document"},
        {ID_APP_EXIT, "Quit the application; prompts to save documents"},
        {ID_ADD_QSO, "Add QSO"},
        {ID_VIEW_STATUS_BAR, "Show or hide the status bar"},
        {ID_PREV_PANE, "Switch back to the previous window pane"},
    };
    for (const auto& [id, prompt] : cases)
        EXPECT_EQ(frame.Action(id)->statusTip(), prompt) << id;
}

TEST(CommandPrompts, SplitIntoStatusPromptAndToolTip)
{
    struct Case {
        int id;
        QString status;
        QString tip;
    };
    const Case cases[] = {
        {ID_IDLE_MESSAGE, "Ready", ""},
        {ID_FILE_PRINT_PREVIEW, "Display full pages", "Print Preview"},
        {ID_APP_ABOUT, "Display program information, version number and copyright", "About"},
        {ID_VIEW_TOOLBAR, "Show or hide the toolbar", "Toggle ToolBar"},
        {ID_ADD_QSO, "Add QSO", ""},
        {57616, "Open this document", ""},
        {57631, "Open this document", ""},
        {57632, "", ""},
        {57615, "", ""},
        {ID_FILE_PRINT_DIRECT, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const CommandPrompt prompt = CommandPromptFor(c.id);
        EXPECT_EQ(prompt.statusPrompt, c.status);
        EXPECT_EQ(prompt.toolTip, c.tip);
    }
}

TEST(CMainFrame, CaptionIsTheDocumentTitleAndTheProgramName)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), "Untitled - Vorlisk");
    frame.SetDocumentTitle("contest.log");
    EXPECT_EQ(frame.windowTitle(), "contest.log - Vorlisk");

    // A title holding Qt's modified-marker placeholder is shown as it stands.
    frame.SetDocumentTitle("log[*].txt");
    frame.winId();
    EXPECT_EQ(frame.windowHandle()->title(), "log[*].txt - Vorlisk");
    EXPECT_EQ(frame.DocumentTitle(), "log[*].txt");
}

TEST_F(ShownFrame, ViewMenuHidesAndShowsTheBarsAndTheChecksFollow)
{
    struct Bar {
        int commandId;
        QWidget* widget;
    };
    for (const Bar& bar : {Bar{ID_VIEW_TOOLBAR, frame.ToolBar()}, Bar{ID_VIEW_STATUS_BAR, frame.statusBar()}}) {
        SCOPED_TRACE(bar.commandId);
        QAction* toggle = frame.Action(bar.commandId);
        ASSERT_TRUE(toggle->isCheckable());
        EXPECT_TRUE(toggle->isChecked());
        EXPECT_TRUE(bar.widget->isVisible());

        toggle->trigger();
        EXPECT_FALSE(bar.widget->isVisible());
        EXPECT_FALSE(toggle->isChecked());
        toggle->trigger();
        EXPECT_TRUE(bar.widget->isVisible());
        EXPECT_TRUE(toggle->isChecked());

        // Shown or hidden some other way, the check mark still follows.
        bar.widget->hide();
        EXPECT_FALSE(toggle->isChecked());
        bar.widget->show();
        EXPECT_TRUE(toggle->isChecked());
    }

    // Hiding the whole window is not hiding a bar.
    frame.hide();
    EXPECT_TRUE(frame.Action(ID_VIEW_TOOLBAR)->isChecked());
    EXPECT_TRUE(frame.Action(ID_VIEW_STATUS_BAR)->isChecked());
}

TEST_F(ShownFrame, LockPanesShowTheirTextOnlyWhileTheKeyIsOn)
{
    const QList<QLabel*> panes = frame.IndicatorPanes();
    ASSERT_EQ(panes.size(), 3);
    EXPECT_TRUE(frame.statusBar()->isSizeGripEnabled());

    std::optional<LockState> keyboard = LockState{};
    int reads = 0;
    frame.Locks()->SetReader([&] {
        ++reads;
        return keyboard;
    });
    std::vector<int> widths;
    for (QLabel* pane : panes) {
        EXPECT_EQ(pane->text(), "");
        widths.push_back(pane->width());
    }

    struct Case {
        LockState state;
        QStringList texts;
    };
    const Case cases[] = {
        {{true, false, false}, {"CAP", "", ""}},
        {{false, true, false}, {"", "NUM", ""}},
        {{false, false, true}, {"", "", "SCRL"}},
        {{true, true, true}, {"CAP", "NUM", "SCRL"}},
        {{false, false, false}, {"", "", ""}},
    };
    for (const Case& c : cases) {
        keyboard = c.state;
        frame.Locks()->Refresh();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(panes[i]->text(), c.texts[i]) << i;
            EXPECT_EQ(panes[i]->width(), widths[i]) << "a pane changed its width";
        }
    }

    // Each pane is wide enough for its text.
    for (QLabel* pane : panes) {
        const QString text = pane->property("indicatorText").toString();
        EXPECT_GE(pane->contentsRect().width(), pane->fontMetrics().horizontalAdvance(text));
    }

    // A key press makes the state be read again (once, after the key is handled).
    keyboard = LockState{true, false, false};
    reads = 0;
    QTest::keyClick(frame.View(), Qt::Key_CapsLock);
    QCoreApplication::processEvents();
    EXPECT_GE(reads, 1);
    EXPECT_LE(reads, 2); // press and release
    EXPECT_EQ(panes[0]->text(), "CAP");

    // So does the window becoming active again.
    keyboard = LockState{};
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&frame, &activate);
    QCoreApplication::processEvents();
    EXPECT_EQ(panes[0]->text(), "");

    // A platform that cannot tell leaves every pane empty.
    keyboard = LockState{true, true, true};
    frame.Locks()->Refresh();
    keyboard.reset();
    frame.Locks()->Refresh();
    for (QLabel* pane : panes)
        EXPECT_EQ(pane->text(), "");
}

TEST(CMainFrame, LockStateIsReadOnX11AndUnknownElsewhere)
{
    // On X11 the keyboard extension answers; offscreen (and on Wayland)
    // nothing can be read.
    EXPECT_EQ(LockIndicators::ReadPlatformState().has_value(), QGuiApplication::platformName() == "xcb");
}

TEST(CMainFrame, RecentFilesReplaceTheGrayedItemAndComeBackToIt)
{
    CMainFrame frame;
    QSignalSpy chosen(&frame, &CMainFrame::RecentFileChosen);
    const std::vector<MenuItem> original = FileMenu(frame);

    frame.SetRecentFiles({"&1 contest.log", "&2 /home/dl1abc/...&&/old.log"});
    frame.SetRecentFiles({"&1 new.log", "&2 contest.log", "&3 /home/dl1abc/...&&/old.log"});
    std::vector<MenuItem> expected = original;
    auto placeholder = std::find(expected.begin(), expected.end(), MenuItem{"Recent File", ID_FILE_MRU_FILE1, false});
    ASSERT_NE(placeholder, expected.end());
    placeholder = expected.erase(placeholder);
    expected.insert(placeholder, {{"&1 new.log", 57616}, {"&2 contest.log", 57617}, {"&3 /home/dl1abc/...&&/old.log", 57618}});
    EXPECT_EQ(FileMenu(frame), expected);

    EXPECT_EQ(frame.Action(57617)->text(), "&2 contest.log");
    EXPECT_EQ(frame.Action(57617)->statusTip(), "Open this document");
    EXPECT_EQ(frame.Action(57619), nullptr);
    frame.Action(57618)->trigger();
    frame.Action(57616)->trigger();
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen[0][0].toInt(), 2);
    EXPECT_EQ(chosen[1][0].toInt(), 0);

    // Choosing an entry typically moves it to the top of the list at once.
    QObject::connect(&frame, &CMainFrame::RecentFileChosen, &frame, [&frame](int index) {
        if (index == 1)
            frame.SetRecentFiles({"&1 contest.log", "&2 new.log"});
    });
    frame.Action(57617)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame.Action(57616)->text(), "&1 contest.log");
    EXPECT_EQ(frame.Action(57617)->text(), "&2 new.log");

    frame.SetRecentFiles({});
    EXPECT_EQ(FileMenu(frame), original);
    EXPECT_EQ(frame.Action(57616)->text(), "Recent File");
    EXPECT_FALSE(frame.Action(57616)->isEnabled());
    EXPECT_EQ(frame.Action(57617), nullptr);
}

TEST(CMainFrame, SendItemAndItsSeparatorComeAndGo)
{
    CMainFrame frame;
    const std::vector<MenuItem> original = FileMenu(frame);
    std::vector<MenuItem> withoutSend = original;
    auto send = std::find(withoutSend.begin(), withoutSend.end(), MenuItem{"Sen&d...", ID_FILE_SEND_MAIL});
    ASSERT_NE(send, withoutSend.end());
    ASSERT_EQ(*(send - 1), kSeparator);
    withoutSend.erase(send - 1, send + 1);

    frame.SetSendAvailable(false);
    frame.SetSendAvailable(false);
    EXPECT_EQ(FileMenu(frame), withoutSend);
    EXPECT_FALSE(frame.Action(ID_FILE_SEND_MAIL)->isVisible());

    // Recent files still land in their place while Send is gone, and Send
    // comes back above them.
    frame.SetRecentFiles({"&1 a.log"});
    frame.SetSendAvailable(true);
    frame.SetRecentFiles({});
    EXPECT_EQ(FileMenu(frame), original);
}

TEST_F(ShownFrame, ClosingAsksTheReceiverWhichMayKeepTheWindowOpen)
{
    bool keepOpen = true;
    int asked = 0;
    QObject::connect(&frame, &CMainFrame::CloseRequested, &frame, [&](QCloseEvent* event) {
        ++asked;
        if (keepOpen)
            event->ignore();
    });
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    keepOpen = false;
    EXPECT_TRUE(frame.close());
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(asked, 2);
}

TEST(CMainFrame, ClosesWhenNobodyListens)
{
    CMainFrame frame;
    frame.show();
    EXPECT_TRUE(frame.close());
    EXPECT_FALSE(frame.isVisible());
}

// Writes a picture of the window to the folder named by VORLISK_SCREENSHOT_DIR
// (for the documentation); skipped otherwise. VORLISK_SCREENSHOT_DARK=1 takes
// it with a dark palette.
TEST(CMainFrameScreenshot, GrabTheWindow)
{
    const QString folder = qEnvironmentVariable("VORLISK_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set VORLISK_SCREENSHOT_DIR to write the picture";
    CMainFrame frame;
    if (qEnvironmentVariableIntValue("VORLISK_SCREENSHOT_DARK"))
        frame.setPalette(DarkPalette());
    auto* view = new QPlainTextEdit;
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->setPlainText("START-OF-LOG: 3.0\r\nCALLSIGN: DL1ABC\r\nCONTEST: CQ-WW-CW\r\n"
                       "QSO: 14025 CW 2024-11-23 0001 DL1ABC        599 001    K1XYZ         599 005\r\n"
                       "QSO: 14025 CW 2024-11-23 0002 DL1ABC        599 002    W2AB          599 017\r\n"
                       "QSO:  7010 CW 2024-11-23 0004 DL1ABC        599 003    JA1QRZ        599 102\r\n");
    frame.SetView(view);
    frame.SetRecentFiles({"&1 cqww.log"});
    frame.Locks()->SetReader([] { return LockState{false, true, false}; });
    frame.resize(720, 300);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QToolButton* button =
        qobject_cast<QToolButton*>(frame.ToolBar()->widgetForAction(frame.Action(ID_ADD_QSO)));
    QTest::mouseMove(button, button->rect().center());
    QDir().mkpath(folder);
    const QString name = qEnvironmentVariable("VORLISK_SCREENSHOT_NAME", "main-window.png");
    ASSERT_TRUE(frame.grab().save(QDir(folder).filePath(name)));
}
