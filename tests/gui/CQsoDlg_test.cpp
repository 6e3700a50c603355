#include "qso/CQsoDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest/QTest>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "framework/DialogUnits.h"
#include "framework/MessageBox.h"
#include "log/LogLimits.h"
#include "log/MemoryTextHolder.h"

namespace {

constexpr int kAdd = 1;
constexpr int kClose = 2;

QWidget* Focused() { return QApplication::focusWidget(); }

int FocusedNumber()
{
    QWidget* focused = Focused();
    return focused ? focused->objectName().toInt() : 0;
}

QLineEdit* Edit(const CQsoDlg& dlg, int number) { return qobject_cast<QLineEdit*>(dlg.Control(number)); }
QComboBox* List(const CQsoDlg& dlg, int number) { return qobject_cast<QComboBox*>(dlg.Control(number)); }
QPushButton* Button(const CQsoDlg& dlg, int number) { return qobject_cast<QPushButton*>(dlg.Control(number)); }

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(Focused(), key, modifiers);
}

// Types text key by key; letters beyond ASCII come as the key events a
// keyboard layout with those letters would send.
void Type(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(Focused(), c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, Focused(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Puts the focus on a control as tabbing there would (an edit then has its
// text selected, so typing replaces it).
void FocusControl(const CQsoDlg& dlg, int number)
{
    QWidget* control = dlg.Control(number);
    ASSERT_NE(control, nullptr) << number;
    control->setFocus(Qt::TabFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
    ASSERT_EQ(Focused(), control);
}

// Waits for the delayed click of an access key to show in a field.
bool WaitForText(const QLineEdit* edit, const QString& text)
{
    return QTest::qWaitFor([&] { return edit->text() == text; });
}

// Opens the dialog modally, runs `operate` while it is up (the operator's
// part: it must end the dialog) and returns the dialog's result.
int RunModal(CQsoDlg& dlg, const std::function<void(CQsoDlg&)>& operate)
{
    bool operated = false;
    QTimer::singleShot(0, &dlg, [&] {
        operated = true;
        if (!QTest::qWaitForWindowActive(&dlg))
            ADD_FAILURE() << "the dialog did not become active";
        operate(dlg);
        if (dlg.isVisible()) {
            ADD_FAILURE() << "the dialog was left open";
            dlg.reject();
        }
    });
    const int result = dlg.DoModal();
    EXPECT_TRUE(operated) << "the dialog never ran its event loop";
    return result;
}

// The dialog template, control by control, in dialog units.
struct ControlCase {
    int number;
    const char* kind;
    const char* text;
    QRect units;
    const char* accessibleName;
};

const ControlCase kControlCases[] = {
    {1006, "edit", "", {32, 68, 44, 12}, "Rcvd call"},
    {1007, "edit", "", {82, 68, 23, 12}, "Rcvd Obl"},
    {1008, "edit", "", {111, 68, 40, 12}, "Rcvd serial nr"},
    {kClose, "button", "Close", {3, 89, 50, 14}, "Close"},
    {1009, "button", "&+", {58, 89, 18, 14}, nullptr},
    {1010, "button", "&-", {78, 89, 18, 14}, nullptr},
    {kAdd, "button", "Add", {101, 89, 50, 14}, "Add"},
    {1000, "edit", "", {3, 14, 50, 12}, "Date"},
    {1001, "edit", "", {54, 14, 26, 12}, "Time"},
    {1002, "list", "", {81, 14, 40, 0}, "Freq"},
    {1014, "list", "", {122, 14, 29, 0}, "Mode"},
    {1003, "edit", "", {32, 50, 44, 12}, "Sent call"},
    {1004, "edit", "", {82, 50, 24, 12}, "Sent Obl"},
    {1005, "edit", "", {111, 50, 40, 12}, "Sent serial nr"},
};

struct LabelCase {
    const char* text;
    QRect units;
};

const LabelCase kLabelCases[] = {
    {"Rcvd", {6, 69, 20, 8}},      {"Date", {23, 3, 18, 8}},  {"Time", {59, 3, 18, 8}},
    {"Freq:", {95, 3, 17, 8}},     {"Mode", {134, 3, 17, 8}}, {"CALL", {43, 39, 18, 8}},
    {"Obl", {88, 39, 12, 8}},      {"Serial nr", {119, 39, 26, 8}}, {"Sent:", {7, 52, 16, 8}},
};

QFont LargeFont()
{
    QFont font = CQsoDlg::DefaultDialogFont();
    font.setPointSize(14);
    return font;
}

TEST(CQsoDlg, TemplateControlsAtTheirGridPlaceAtAnyFontSize)
{
    {
        const CQsoDlg fresh;
        EXPECT_EQ(fresh.font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
        EXPECT_EQ(fresh.font().pointSize(), 8);
        EXPECT_EQ(static_cast<const QsoRecord&>(fresh), QsoRecord{});
    }
    for (const QFont& font : {CQsoDlg::DefaultDialogFont(), LargeFont()}) {
        SCOPED_TRACE(font.pointSize());
        CQsoDlg dlg;
        dlg.SetDialogFont(font);
        const DialogUnits units(font);

        EXPECT_EQ(dlg.windowTitle(), "QSO");
        EXPECT_EQ(dlg.size(), units.ToPixels(0, 0, 155, 106).size());
        EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize()) << "the dialog must not be resizable";
        EXPECT_TRUE(dlg.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(dlg.windowFlags() & Qt::WindowContextHelpButtonHint);
        // The system's fixed-pitch font (some report no fixed-pitch flag, so
        // the glyphs are measured).
        EXPECT_EQ(dlg.font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
        const QFontMetrics metrics(dlg.font());
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));

        for (const ControlCase& c : kControlCases) {
            SCOPED_TRACE(c.number);
            QWidget* control = dlg.Control(c.number);
            ASSERT_NE(control, nullptr);
            const QRect expected = units.ToPixels(c.units.x(), c.units.y(), c.units.width(), c.units.height());
            EXPECT_EQ(control->pos(), expected.topLeft());
            EXPECT_EQ(control->width(), expected.width());
            if (c.units.height() != 0) {
                EXPECT_EQ(control->height(), expected.height());
            }
            if (c.accessibleName) {
                EXPECT_EQ(control->accessibleName(), c.accessibleName);
            } else {
                EXPECT_FALSE(control->accessibleName().isEmpty());
            }
            const std::string kind = c.kind;
            if (kind == "edit") {
                EXPECT_NE(qobject_cast<QLineEdit*>(control), nullptr);
            } else if (kind == "button") {
                auto* button = qobject_cast<QPushButton*>(control);
                ASSERT_NE(button, nullptr);
                EXPECT_EQ(button->text(), c.text);
                EXPECT_EQ(button->isDefault(), c.number == kAdd);
            } else {
                auto* list = qobject_cast<QComboBox*>(control);
                ASSERT_NE(list, nullptr);
                EXPECT_FALSE(list->isEditable());
                EXPECT_EQ(list->lineEdit(), nullptr);
            }
        }

        for (const LabelCase& c : kLabelCases) {
            SCOPED_TRACE(c.text);
            QLabel* found = nullptr;
            for (QLabel* label : dlg.findChildren<QLabel*>())
                if (label->text() == c.text)
                    found = label;
            ASSERT_NE(found, nullptr);
            const QRect expected = units.ToPixels(c.units.x(), c.units.y(), c.units.width(), c.units.height());
            // A label may grow (and, at the dialog's edge, move left) to show
            // its whole text, but always covers its own place.
            EXPECT_EQ(found->y(), expected.y());
            EXPECT_EQ(found->height(), expected.height());
            EXPECT_LE(found->x(), expected.x());
            EXPECT_GE(found->geometry().right(), expected.right());
            EXPECT_EQ(found->textFormat(), Qt::PlainText);
        }
        EXPECT_EQ(dlg.findChildren<QLabel*>().size(), static_cast<qsizetype>(std::size(kLabelCases)));
    }
}

// Every opening: lists filled in order (the first frequency with its trailing
// blank), focus on the received call, and Tab walking the template order.
TEST(CQsoDlg, OpeningFillsTheListsAndTabFollowsTheTemplate)
{
    CQsoDlg dlg;
    QStringList freq;
    QStringList mode;
    QList<int> tabs;
    const int result = RunModal(dlg, [&](CQsoDlg& d) {
        for (int i = 0; i < List(d, IDC_FREQ)->count(); ++i)
            freq << List(d, IDC_FREQ)->itemText(i);
        for (int i = 0; i < List(d, IDC_MODE)->count(); ++i)
            mode << List(d, IDC_MODE)->itemText(i);
        tabs << FocusedNumber();
        for (int i = 0; i < 14; ++i) {
            Press(Qt::Key_Tab);
            tabs << FocusedNumber();
        }
        Press(Qt::Key_Escape);
    });
    EXPECT_EQ(result, CQsoDlg::IDCANCEL);
    EXPECT_EQ(freq, QStringList({" 1850 ", " 3500", " 7000", "14000", "21000", "28000"}));
    EXPECT_EQ(mode, QStringList({"CW", "PH", "RY", "TV"}));
    EXPECT_EQ(tabs, QList<int>({1006, 1007, 1008, kClose, 1009, 1010, kAdd, 1000, 1001, 1002, 1014, 1003,
                                1004, 1005, 1006}));
}

TEST(CQsoDlg, EveryOpeningStartsOnTheReceivedCallWithAddAsDefault)
{
    CQsoDlg dlg;
    // Each opening is left in a different way; the next must not remember it.
    struct Opening {
        const char* name;
        std::function<void(CQsoDlg&)> leave;
    };
    const Opening openings[] = {
        {"Close pressed with Enter", [](CQsoDlg& d) { FocusControl(d, kClose); Press(Qt::Key_Return); }},
        {"+ pressed with Enter, Esc from the mode list", [](CQsoDlg& d) {
             FocusControl(d, IDC_PLUS);
             Press(Qt::Key_Return);
             FocusControl(d, IDC_MODE);
             Press(Qt::Key_Escape);
         }},
        {"Alt++ then Add with Enter", [](CQsoDlg& d) {
             const QString before = Edit(d, IDC_TIME)->text();
             Press(Qt::Key_Plus, Qt::AltModifier);
             // The access key's click comes a moment later.
             EXPECT_TRUE(QTest::qWaitFor([&] { return Edit(d, IDC_TIME)->text() != before; }));
             Press(Qt::Key_Return);
         }},
        {"last", [](CQsoDlg&) { Press(Qt::Key_Escape); }},
    };
    const int expected[] = {CQsoDlg::IDCANCEL, CQsoDlg::IDCANCEL, CQsoDlg::IDOK, CQsoDlg::IDCANCEL};
    for (std::size_t i = 0; i < std::size(openings); ++i) {
        SCOPED_TRACE(openings[i].name);
        const int result = RunModal(dlg, [&](CQsoDlg& d) {
            EXPECT_EQ(FocusedNumber(), IDC_RCVD_CALL);
            EXPECT_TRUE(Button(d, kAdd)->isDefault());
            for (int other : {kClose, int{IDC_PLUS}, int{IDC_MINUS}})
                EXPECT_FALSE(Button(d, other)->isDefault()) << other;
            openings[i].leave(d);
        });
        EXPECT_EQ(result, expected[i]);
    }
}

TEST(CQsoDlg, UpperCaseFieldsCapitaliseTypedAndPastedLetters)
{
    for (int number : {IDC_RCVD_CALL, IDC_RCVD_OBL, IDC_DATE, IDC_SENT_CALL, IDC_SENT_OBL}) {
        SCOPED_TRACE(number);
        CQsoDlg dlg;
        dlg.m_strDate = "kept as set"; // the program's own text is not changed
        QString typed;
        QString pasted;
        QString programText;
        RunModal(dlg, [&](CQsoDlg& d) {
            programText = Edit(d, IDC_DATE)->text();
            FocusControl(d, number);
            Type("ok1ab/p-\u00e4");
            typed = Edit(d, number)->text();
            QApplication::clipboard()->setText("dl2xy");
            Press(Qt::Key_Home);
            Press(Qt::Key_V, Qt::ControlModifier);
            pasted = Edit(d, number)->text();
            Press(Qt::Key_Escape);
        });
        EXPECT_EQ(programText, "kept as set");
        EXPECT_EQ(typed, "OK1AB/P-\u00c4");
        EXPECT_EQ(pasted, "DL2XYOK1AB/P-\u00c4");
    }
}

TEST(CQsoDlg, DigitFieldsRefuseEverythingButDigits)
{
    for (int number : {IDC_RCVD_NR, IDC_TIME, IDC_SENT_NR}) {
        SCOPED_TRACE(number);
        CQsoDlg dlg;
        QString typed;
        QString afterBadPaste;
        QString afterGoodPaste;
        RunModal(dlg, [&](CQsoDlg& d) {
            FocusControl(d, number);
            Type("1a2-3 +x");
            typed = Edit(d, number)->text();
            QApplication::clipboard()->setText("45b");
            Press(Qt::Key_V, Qt::ControlModifier);
            afterBadPaste = Edit(d, number)->text();
            QApplication::clipboard()->setText("45");
            Press(Qt::Key_V, Qt::ControlModifier);
            afterGoodPaste = Edit(d, number)->text();
            Press(Qt::Key_Escape);
        });
        EXPECT_EQ(typed, "123");
        EXPECT_EQ(afterBadPaste, "123");
        EXPECT_EQ(afterGoodPaste, "12345");
    }
}

// A value the program writes may hold other characters (a serial "7a"): it
// shows as it is, can be edited, and the field still refuses typed letters.
TEST(CQsoDlg, DigitFieldKeepsItsRuleAfterTheProgramWroteOtherCharacters)
{
    CQsoDlg dlg;
    dlg.m_strSentNr = "7a";
    QStringList seen;
    RunModal(dlg, [&](CQsoDlg& d) {
        QLineEdit* nr = Edit(d, IDC_SENT_NR);
        seen << nr->text();
        nr->setFocus(Qt::TabFocusReason);
        Press(Qt::Key_End);
        Type("b5");
        seen << nr->text();
        Press(Qt::Key_Left);
        Press(Qt::Key_Backspace);
        seen << nr->text();
        Type("c");
        seen << nr->text();
        Press(Qt::Key_Return);
    });
    EXPECT_EQ(seen, QStringList({"7a", "7a5", "75", "75"}));
    EXPECT_EQ(dlg.m_strSentNr, "75");
}

TEST(CQsoDlg, ListsCannotBeTypedInto)
{
    CQsoDlg dlg;
    dlg.m_nBand = 2;
    dlg.m_nMode = 1;
    RunModal(dlg, [](CQsoDlg& d) {
        for (int number : {IDC_FREQ, IDC_MODE}) {
            FocusControl(d, number);
            const int count = List(d, number)->count();
            Type("xyz");
            EXPECT_EQ(List(d, number)->count(), count);
            EXPECT_FALSE(List(d, number)->isEditable());
        }
        Press(Qt::Key_Return);
    });
    EXPECT_EQ(dlg.m_nBand, 2);
    EXPECT_EQ(dlg.m_nMode, 1);
}

// Add reads every control into the members; the time is taken as typed
// (making 0930 of it is the log line's business).
TEST(CQsoDlg, AddReadsTheControlsAsTyped)
{
    CQsoDlg dlg;
    dlg.m_strDate = "2004-04-10";
    dlg.m_strTime = "2200";
    dlg.m_strSentNr = "001";
    const int result = RunModal(dlg, [](CQsoDlg& d) {
        Type("ok1ab");
        Press(Qt::Key_Tab);
        Type("c");
        Press(Qt::Key_Tab);
        Type("12");
        FocusControl(d, IDC_TIME);
        Type("930");
        FocusControl(d, IDC_FREQ);
        Press(Qt::Key_Down); // nothing chosen -> first item
        Press(Qt::Key_Down);
        FocusControl(d, IDC_SENT_CALL);
        Type("dl0xx");
        Press(Qt::Key_Return);
    });
    EXPECT_EQ(result, CQsoDlg::IDOK);
    EXPECT_EQ(static_cast<const QsoRecord&>(dlg),
              (QsoRecord{1, "OK1AB", "2004-04-10", "DL0XX", "12", "C", "001", "", "930", -1}));
}

// Lists: -1, or a position the list lacks, clears the selection; no
// selection reads back as -1.
TEST(CQsoDlg, ListPositionsWrittenAndReadBack)
{
    struct Case {
        int written;
        int shown;
        QString text;
    };
    struct ListCases {
        int number;
        std::vector<Case> cases;
    };
    const ListCases lists[] = {
        {IDC_FREQ, {{-1, -1, ""}, {0, 0, " 1850 "}, {5, 5, "28000"}, {6, -1, ""}, {-7, -1, ""}}},
        {IDC_MODE, {{-1, -1, ""}, {3, 3, "TV"}, {4, -1, ""}}},
    };
    CQsoDlg dlg;
    for (const auto& [number, cases] : lists) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << number << " written " << c.written);
            int& member = number == IDC_FREQ ? dlg.m_nBand : dlg.m_nMode;
            member = c.written;
            RunModal(dlg, [&](CQsoDlg& d) {
                EXPECT_EQ(List(d, number)->currentIndex(), c.shown);
                EXPECT_EQ(List(d, number)->currentText(), c.text);
                Press(Qt::Key_Return);
            });
            EXPECT_EQ(member, c.shown);
        }
    }
}

TEST(CQsoDlg, TextsCrossWholeAndByteExact)
{
    CQsoDlg dlg;
    const std::string longCall(40000, 'K'); // past a line edit's usual 32767
    const std::string accented = "SP9\xc5\x81\xc3\x93"; // UTF-8 letters
    dlg.m_strRcvdCall = longCall;
    dlg.m_strSentObl = accented;
    dlg.m_strDate = "";
    ASSERT_TRUE(dlg.UpdateData(false));
    EXPECT_EQ(Edit(dlg, IDC_RCVD_CALL)->text().size(), 40000);
    dlg.m_strRcvdCall.clear();
    dlg.m_strSentObl.clear();
    dlg.m_strDate = "x";
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_strRcvdCall, longCall);
    EXPECT_EQ(dlg.m_strSentObl, accented);
    EXPECT_EQ(dlg.m_strDate, "");
}

// Enter presses Add, or the push button that has the focus.
TEST(CQsoDlg, EnterPressesAddOrTheFocusedButton)
{
    struct Case {
        int focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool stillOpen;  // + and - keep the dialog up
        QString time;    // shown after Enter
        int result;
    };
    const Case cases[] = {
        {IDC_RCVD_CALL, Qt::Key_Return, Qt::NoModifier, false, "2200", CQsoDlg::IDOK},
        {IDC_SENT_NR, Qt::Key_Enter, Qt::KeypadModifier, false, "2200", CQsoDlg::IDOK},
        {IDC_MODE, Qt::Key_Return, Qt::NoModifier, false, "2200", CQsoDlg::IDOK},
        {kAdd, Qt::Key_Return, Qt::NoModifier, false, "2200", CQsoDlg::IDOK},
        {kClose, Qt::Key_Return, Qt::NoModifier, false, "2200", CQsoDlg::IDCANCEL},
        {IDC_PLUS, Qt::Key_Return, Qt::NoModifier, true, "2201", CQsoDlg::IDCANCEL},
        {IDC_MINUS, Qt::Key_Return, Qt::NoModifier, true, "2159", CQsoDlg::IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.focus);
        CQsoDlg dlg;
        dlg.m_strTime = "2200";
        bool open = false;
        QString time;
        const int result = RunModal(dlg, [&](CQsoDlg& d) {
            FocusControl(d, c.focus);
            Press(c.key, c.modifiers);
            open = d.isVisible();
            time = Edit(d, IDC_TIME)->text();
            if (open)
                Press(Qt::Key_Escape);
        });
        EXPECT_EQ(open, c.stillOpen);
        EXPECT_EQ(time, c.time);
        EXPECT_EQ(result, c.result);
    }
}

// Close, Esc and the close box end the dialog without reading the controls.
TEST(CQsoDlg, CloseEscAndCloseBoxCancelWithoutExchange)
{
    const std::pair<const char*, std::function<void(CQsoDlg&)>> ways[] = {
        {"Esc", [](CQsoDlg&) { Press(Qt::Key_Escape); }},
        {"Close clicked", [](CQsoDlg& d) { QTest::mouseClick(Button(d, kClose), Qt::LeftButton); }},
        {"close box", [](CQsoDlg& d) { d.close(); }},
    };
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        CQsoDlg dlg;
        dlg.m_strRcvdCall = "OLD";
        dlg.m_nMode = 1;
        const int result = RunModal(dlg, [&](CQsoDlg& d) {
            FocusControl(d, IDC_RCVD_CALL);
            Type("new");
            List(d, IDC_MODE)->setCurrentIndex(3);
            way(d);
        });
        EXPECT_EQ(result, CQsoDlg::IDCANCEL);
        EXPECT_EQ(dlg.m_strRcvdCall, "OLD");
        EXPECT_EQ(dlg.m_nMode, 1);
    }
}

// + and - step the time (and the date past midnight), keep what was typed
// just before, and keep the dialog open.
TEST(CQsoDlg, PlusAndMinusStepTheTimeAndKeepTypedText)
{
    CQsoDlg dlg;
    dlg.m_strTime = "2359";
    dlg.m_strDate = "2004-12-31";
    QStringList shown;
    const int result = RunModal(dlg, [&](CQsoDlg& d) {
        Type("dl1abc");
        Press(Qt::Key_Plus, Qt::AltModifier);
        ASSERT_TRUE(WaitForText(Edit(d, IDC_TIME), "0000"));
        shown << Edit(d, IDC_TIME)->text() << Edit(d, IDC_DATE)->text() << Edit(d, IDC_RCVD_CALL)->text();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(FocusedNumber(), IDC_RCVD_CALL);
        Press(Qt::Key_Minus, Qt::AltModifier);
        ASSERT_TRUE(WaitForText(Edit(d, IDC_TIME), "2359"));
        shown << Edit(d, IDC_TIME)->text() << Edit(d, IDC_DATE)->text();
        Press(Qt::Key_Return); // the access keys leave the focus where it was: Add
    });
    EXPECT_EQ(shown, QStringList({"0000", "2005-01-01", "DL1ABC", "2359", "2004-12-31"}));
    EXPECT_EQ(result, CQsoDlg::IDOK);
    EXPECT_EQ(dlg.m_strRcvdCall, "DL1ABC");
}

// The access keys Alt++ and Alt+-, from the main keys and the keypad, and
// with the Shift that "+" needs on many layouts.
TEST(CQsoDlg, AccessKeysOfPlusAndMinus)
{
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString time;
    };
    const Case cases[] = {
        {"Alt++", Qt::Key_Plus, Qt::AltModifier, "2201"},
        {"Alt+-", Qt::Key_Minus, Qt::AltModifier, "2159"},
        {"Alt+keypad +", Qt::Key_Plus, Qt::AltModifier | Qt::KeypadModifier, "2201"},
        {"Alt+keypad -", Qt::Key_Minus, Qt::AltModifier | Qt::KeypadModifier, "2159"},
        {"Alt+Shift++", Qt::Key_Plus, Qt::AltModifier | Qt::ShiftModifier, "2201"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int focus : {IDC_RCVD_CALL, IDC_TIME, IDC_FREQ}) {
            SCOPED_TRACE(focus);
            CQsoDlg dlg;
            dlg.m_strTime = "2200";
            RunModal(dlg, [&](CQsoDlg& d) {
                FocusControl(d, focus);
                Press(c.key, c.modifiers);
                EXPECT_TRUE(WaitForText(Edit(d, IDC_TIME), c.time)) << Edit(d, IDC_TIME)->text().toStdString();
                EXPECT_EQ(Edit(d, IDC_RCVD_CALL)->text(), "") << "the sign must not be typed";
                Press(Qt::Key_Escape);
            });
            EXPECT_EQ(dlg.m_strTime, c.time.toStdString());
        }
    }
}

TEST(CQsoDlg, DialogThatCannotBePreparedFailsWithoutShowing)
{
    QsoDialogEntry entry;
    CQsoDlg& dlg = entry.Dialog();
    delete dlg.Control(IDC_MODE); // the mode list can no longer be filled
    bool shown = false;
    QTimer::singleShot(0, &dlg, [&] {
        shown = dlg.isVisible();
        dlg.reject();
    });
    EXPECT_EQ(dlg.DoModal(), CQsoDlg::Failed);

    // The Add QSO command then ends instead of reopening it.
    MemoryTextHolder log("HEADER\r\nEND-OF-LOG:\r\n");
    RunAddQsoCommand(log, entry);
    EXPECT_EQ(log.Str(), "HEADER\r\n");
    QTest::qWait(0);
    EXPECT_FALSE(shown);
}

// The whole command with the real dialog: one contact, then Close.
TEST(CQsoDlg, AddQsoCommandWithTheDialog)
{
    MemoryTextHolder log("HEADER\r\nEND-OF-LOG:\r\n");
    QsoDialogEntry entry;
    CQsoDlg& dlg = entry.Dialog();
    int opening = 0;
    std::function<void()> operate = [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
        ++opening;
        if (opening == 1) {
            Type("ok1ab");
            Press(Qt::Key_Return);
        } else {
            EXPECT_EQ(FocusedNumber(), IDC_RCVD_CALL);
            EXPECT_EQ(Edit(dlg, IDC_RCVD_CALL)->text(), "");
            EXPECT_EQ(Edit(dlg, IDC_SENT_NR)->text(), "002");
            EXPECT_EQ(Edit(dlg, IDC_DATE)->text(), "2004-04-10");
            Press(Qt::Key_Escape);
        }
    };
    // Each opening schedules the operator's part of the next one.
    QObject::connect(&dlg, &QDialog::finished, &dlg, [&] {
        if (opening < 2)
            QTimer::singleShot(0, &dlg, operate);
    });
    QTimer::singleShot(0, &dlg, operate);

    RunAddQsoCommand(log, entry);

    EXPECT_EQ(opening, 2);
    EXPECT_EQ(log.Str(), "HEADER\r\nQSO:  ????  ?? 2004-04-10 2200                   001    OK1AB"
                         "                    0\r\n");
}

// A full log refuses the contact with a message and the dialog comes back
// with the contact still in it.
TEST(CQsoDlg, FullLogReportsAndKeepsTheContact)
{
    std::string text(kMaxLogBytes - kEndOfLogLine.size() - 10, 'x');
    MemoryTextHolder log(text);
    QStringList messages;
    const MessageHandler previous = SetMessageHandler([&](const QString& message, MessageButtons) {
        messages << message;
        return MessageAnswer::Ok;
    });
    QsoDialogEntry entry;
    CQsoDlg& dlg = entry.Dialog();
    int opening = 0;
    QString keptCall;
    std::function<void()> operate = [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
        ++opening;
        if (opening == 1) {
            Type("sp2xyz");
            Press(Qt::Key_Return);
        } else {
            keptCall = Edit(dlg, IDC_RCVD_CALL)->text();
            Press(Qt::Key_Escape);
        }
    };
    QObject::connect(&dlg, &QDialog::finished, &dlg, [&] {
        if (opening < 2)
            QTimer::singleShot(0, &dlg, operate);
    });
    QTimer::singleShot(0, &dlg, operate);

    RunAddQsoCommand(log, entry);
    SetMessageHandler(previous);

    EXPECT_EQ(opening, 2);
    EXPECT_EQ(keptCall, "SP2XYZ");
    EXPECT_EQ(log.Str(), text);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("1,048,575")) << messages[0].toStdString();
}

// At the normal and a large font nothing overlaps, everything stays inside
// the dialog, and every text has room. With VORLISK_SCREENSHOT_DIR set, the
// open dialogs are saved there as pictures.
TEST(CQsoDlg, LayoutHoldsAtNormalAndLargeFont)
{
    const std::pair<QFont, const char*> fonts[] = {
        {CQsoDlg::DefaultDialogFont(), "qso-dialog.png"},
        {LargeFont(), "qso-dialog-large-font.png"},
    };
    const char* shotDir = std::getenv("VORLISK_SCREENSHOT_DIR");
    for (const auto& [font, file] : fonts) {
        SCOPED_TRACE(file);
        CQsoDlg dlg;
        dlg.SetDialogFont(font);
        static_cast<QsoRecord&>(dlg) = QsoRecord{3, "", "2004-04-10", "DL0XX", "", "B", "042", "B", "2200", 0};
        RunModal(dlg, [&](CQsoDlg& d) {
            Type("ok1ab");
            Press(Qt::Key_Tab);
            Type("c");
            Press(Qt::Key_Tab);
            Type("17");
            const QFontMetrics metrics(d.font());
            const QList<QWidget*> controls = d.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            EXPECT_EQ(controls.size(), 23);
            for (QWidget* a : controls) {
                EXPECT_TRUE(d.rect().contains(a->geometry())) << a->objectName().toStdString();
                for (QWidget* b : controls) {
                    if (a != b) {
                        EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                            << a->objectName().toStdString() << " / " << b->objectName().toStdString();
                    }
                }
                if (auto* label = qobject_cast<QLabel*>(a)) {
                    EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text())) << label->text().toStdString();
                    EXPECT_GE(label->height(), metrics.height());
                } else if (auto* button = qobject_cast<QPushButton*>(a)) {
                    EXPECT_GE(button->width(), metrics.horizontalAdvance(button->text()));
                    EXPECT_GE(button->height(), metrics.height());
                } else {
                    // An edit or closed list keeps its grid height; the text
                    // line must fit inside its frame.
                    const int frame = a->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, a);
                    EXPECT_GE(a->height() - 2 * frame, metrics.height()) << a->objectName().toStdString();
                }
            }
            for (int number : {IDC_FREQ, IDC_MODE}) {
                QComboBox* list = List(d, number);
                EXPECT_GE(list->width(), list->minimumSizeHint().width()) << number;
            }
            if (shotDir) {
                EXPECT_TRUE(d.grab().save(QDir(QString::fromLocal8Bit(shotDir)).filePath(file)));
            }
            Press(Qt::Key_Escape);
        });
    }
}

} // namespace
