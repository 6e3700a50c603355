// The program as a whole: the command line, the recent-file list and the
// settings file, mailing a log, and entering contacts from the keyboard.
#include "AppFixture.h"

#include "frame/CMainFrame.h"
#include "framework/CommandIds.h"
#include "framework/SendMail.h"
#include "qso/CQsoDlg.h"

#include <QAction>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
class AppTest : public AppFixture {
protected:
    std::vector<std::string> MenuTexts() const
    {
        std::vector<std::string> texts;
        for (int id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE4; ++id) {
            const QAction* action = app.MainFrame()->Action(id);
            if (action && action->isEnabled())
                texts.push_back(action->text().toStdString());
        }
        return texts;
    }
};
} // namespace

TEST_F(AppTest, AFileNamedOnTheCommandLineOpensUnchanged)
{
    WriteFile(Path("day1.log"), "LOG\nas it is\r");
    ASSERT_TRUE(Start({Path("day1.log")}));
    EXPECT_EQ(Text(), "LOG\nas it is\r");
    EXPECT_EQ(app.MainFrame()->windowTitle(), "day1.log - Vorlisk");
    EXPECT_TRUE(app.MainFrame()->isVisible());
}

TEST_F(AppTest, AFileThatCannotBeOpenedAtStartEndsTheProgramAfterItsMessage)
{
    WriteFile(Path("huge.log"), std::string(1048576, 'x'));
    const struct {
        std::string argument;
        std::string message;
    } cases[] = {
        {"missing.log", "missing.log was not found."},
        {Path("huge.log"), "The file is too large to open."},
    };
    for (const auto& c : cases) {
        CVorliskApp program;
        messages.clear();
        program.SetFileDialogs(&dialogs);
        EXPECT_FALSE(program.InitInstance({c.argument}));
        EXPECT_EQ(messages, std::vector<std::string>{c.message});
    }
}

TEST_F(AppTest, SwitchesFollowTheirCaseRules)
{
    WriteFile(Path("a.log"), "A\r\n");
    // "P" is not the print switch: the file simply opens.
    ASSERT_TRUE(Start({"-P", Path("a.log")}));
    EXPECT_EQ(Text(), "A\r\n");
    EXPECT_TRUE(messages.empty());
}

TEST_F(AppTest, UnregisterRemovesTheSettingsAndWritesNothingBack)
{
    ProfileSettings::Save({"/some/log"}, 2);
    ASSERT_TRUE(QFile::exists(ProfileSettings::FilePath()));
    EXPECT_FALSE(Start({"/UNREGISTER"}));
    EXPECT_EQ(messages, std::vector<std::string>{
                            "System registry entries have been removed and the INI file (if any) was deleted."});
    app.ExitInstance();
    EXPECT_FALSE(QFile::exists(ProfileSettings::FilePath()));
    EXPECT_EQ(app.MainFrame(), nullptr) << "no window";

    ProfileSettings::Save({"/some/log"}, 2);
    CVorliskApp quiet;
    messages.clear();
    EXPECT_FALSE(quiet.InitInstance({"-Unregserver", "-Embedding"}));
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(QFile::exists(ProfileSettings::FilePath()));
}

TEST_F(AppTest, DdeEndsWithoutAWindow)
{
    EXPECT_FALSE(Start({"/dde"}));
    EXPECT_EQ(app.MainFrame(), nullptr);
    EXPECT_TRUE(messages.empty());
}

TEST_F(AppTest, RecentFilesShowOnTheMenuAndLiveInTheSettingsFile)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(MenuTexts().empty()) << "only the grayed placeholder";
    QDir().mkpath(QString::fromStdString(Path("sub")));
    for (const char* name : {"one.log", "sub/two&three.log"}) {
        WriteFile(Path(name), "LOG\r\n");
        dialogs.openAnswers.push_back(QString::fromStdString(Path(name)));
        app.OnFileOpen();
    }
    // The working folder is now "sub": its file shows by name alone.
    const std::string one = Path("one.log");
    const std::string shownOne = one.size() <= 30 ? one : "";
    const std::vector<std::string> texts = MenuTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "&1 two&&three.log");
    EXPECT_EQ(texts[1].substr(0, 3), "&2 ");
    EXPECT_NE(texts[1].find("one.log"), std::string::npos);

    app.ExitInstance();
    const ProfileValues saved = ProfileSettings::Load();
    EXPECT_EQ(saved.recentFiles, (std::vector<std::string>{Path("sub/two&three.log"), one}));

    // A recent file that no longer opens leaves the list.
    std::remove(one.c_str());
    app.OnFileRecent(1);
    EXPECT_EQ(messages.back(), one + " was not found.");
    EXPECT_EQ(app.RecentFiles().Entries(), std::vector<std::string>{Path("sub/two&three.log")});
    EXPECT_EQ(MenuTexts().size(), 1u);
}

TEST_F(AppTest, PrintingFromTheCommandLineKeepsTheWindowHidden)
{
    WriteFile(Path("print.log"), "LOG\r\n");
    EXPECT_FALSE(Start({"-p", Path("print.log")}));
    EXPECT_FALSE(app.MainFrame()->isVisible());
    ASSERT_FALSE(app.RecentFiles().Entries().empty());
    EXPECT_EQ(app.RecentFiles().Entries()[0], Path("print.log")) << "the printed log joins the recent files";
}

TEST_F(AppTest, SendingAnUnsavedLogAttachesACopyAndKeepsTheLogAsItWas)
{
    // A stand-in mail client that records what it was given.
    const std::string script = Path("mailer.sh");
    WriteFile(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + Path("mail-args") + "\"\ncp \"$2\" \"" +
                          Path("mail-copy") + "\"\n");
    QFile::setPermissions(QString::fromStdString(script), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(Start());
    app.Mail().SetMailProgram(QString::fromStdString(script));
    app.View()->AppendAtEnd("QSO: one\r\n");

    QSignalSpy done(&app.Mail(), &SendMail::Finished);
    app.OnFileSendMail();
    ASSERT_TRUE(done.wait(5000));
    EXPECT_TRUE(done.at(0).at(0).toBool());
    const std::string args = ReadFile(Path("mail-args"));
    EXPECT_EQ(args.substr(0, 9), "--attach\n");
    EXPECT_NE(args.find("/Untitled\n"), std::string::npos);
    EXPECT_EQ(ReadFile(Path("mail-copy")), "QSO: one\r\nEND-OF-LOG:\r\n");
    EXPECT_EQ(Text(), "QSO: one\r\nEND-OF-LOG:\r\n") << "the view shows the end-of-log line";
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(Doc().GetPathName().empty());
    EXPECT_TRUE(messages.empty());

    // A client that fails, and one that is not there.
    WriteFile(script, "#!/bin/sh\nexit 4\n");
    app.OnFileSendMail();
    ASSERT_TRUE(done.wait(5000));
    EXPECT_EQ(messages, std::vector<std::string>{"Send Mail failed to send message."});
    messages.clear();
    app.Mail().SetMailProgram(QString::fromStdString(Path("no-such-mailer")));
    app.OnFileSendMail();
    ASSERT_TRUE(done.count() == 3 || done.wait(5000));
    EXPECT_EQ(messages, std::vector<std::string>{"Unable to load mail system support."});
}

TEST_F(AppTest, F9EntersContactsAtTheEndOfTheLog)
{
    WriteFile(Path("cabrhdr.txt"), "HEADER\nEND-OF-LOG:\n");
    ASSERT_TRUE(Start());
    app.MainFrame()->show();
    app.MainFrame()->activateWindow();
    app.View()->setFocus();
    QApplication::processEvents();

    int passes = 0;
    std::function<void()> operate = [&] {
        auto* dialog = qobject_cast<CQsoDlg*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(10, operate);
            return;
        }
        if (passes++ < 2) {
            QTest::keyClicks(QApplication::focusWidget(), passes == 1 ? "dl1xyz" : "ok2aaa");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), "599");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            return;
        }
        QTimer::singleShot(10, operate);
    };
    QTimer::singleShot(10, operate);
    QTest::keyClick(app.View(), Qt::Key_F9);

    EXPECT_EQ(Text(), "HEADER\r\n"
                      "QSO:  ????  ?? 2004-04-10 2200                   001    DL1XYZ        599        0\r\n"
                      "QSO:  ????  ?? 2004-04-10 2200                   002    OK2AAA        599        0\r\n");
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(AppTest, EditCommandsAreEnabledOnlyWhenTheyCanAct)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *app.MainFrame();
    const auto enabled = [&](int id) { return frame.Action(id)->isEnabled(); };
    app.View()->ReplaceAll("abc");
    QApplication::processEvents();
    EXPECT_FALSE(enabled(ID_EDIT_CUT));
    EXPECT_FALSE(enabled(ID_EDIT_COPY));
    EXPECT_FALSE(enabled(ID_EDIT_UNDO));

    QTest::keyClick(app.View(), Qt::Key_Right, Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_TRUE(enabled(ID_EDIT_CUT));
    EXPECT_TRUE(enabled(ID_EDIT_COPY));

    frame.Action(ID_EDIT_CUT)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Text(), "bc");
    EXPECT_TRUE(enabled(ID_EDIT_PASTE));
    EXPECT_TRUE(enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(enabled(ID_EDIT_COPY));
    EXPECT_TRUE(Doc().IsModified());

    frame.Action(ID_EDIT_UNDO)->trigger();
    EXPECT_EQ(Text(), "abc");
}
