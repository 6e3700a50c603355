// The open log's file changes under the program between Open and Save: it
// vanishes, a folder or a FIFO takes its name, or its whole folder goes.
// Save never writes into something that is not the log's file, never hangs,
// tells the operator, keeps the changes, and saves once given a usable name.
#include "AppFixture.h"
#include "TestFiles.h"

#include <sys/stat.h>

using namespace fault;

class ReplacedFileTest : public AppFixture {};

TEST_F(ReplacedFileTest, SaveAfterTheFileWasReplacedKeepsTheLogAndTellsWhy)
{
    const std::string kLine = "QSO: 14000 CW 2004-04-10 2200 DL0XX         B   042    OK1AB         C   17     0\r\n";
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> replace;
        std::string message; // shown when saving to the old name anyway; %1 is the path
    } cases[] = {
        {"vanished", [](const std::string& p) { std::remove(p.c_str()); }, ""},
        {"replaced by a folder",
         [](const std::string& p) {
             std::remove(p.c_str());
             ::mkdir(p.c_str(), 0755);
         },
         "Access to %1 was denied."},
        {"replaced by a FIFO",
         [](const std::string& p) {
             std::remove(p.c_str());
             ::mkfifo(p.c_str(), 0644);
         },
         "Access to %1 was denied."},
        {"its folder removed",
         [](const std::string& p) {
             std::remove(p.c_str());
             ::rmdir(p.substr(0, p.rfind('/')).c_str());
         },
         "%1 was not found."},
    };
    ASSERT_TRUE(Start());
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dir = Path("case" + std::to_string(n++));
        ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
        const std::string path = dir + "/contest.log";
        WriteBytes(path, "START-OF-LOG: 3.0\r\n");
        dialogs.openAnswers.push_back(QString::fromStdString(path));
        app.OnFileOpen();
        ASSERT_EQ(Doc().GetPathName(), path);
        app.View()->AppendAtEnd(kLine);
        Doc().SetModifiedFlag(true);

        c.replace(path);
        // Save finds no writable file there and asks for a name; the
        // operator gives the same name again.
        messages.clear();
        dialogs.saveProposals.clear();
        dialogs.saveAnswers.push_back(QString::fromStdString(path));
        app.OnFileSave();
        ASSERT_EQ(dialogs.saveProposals.size(), 1u);
        const std::string expectedText = "START-OF-LOG: 3.0\r\n" + kLine + "END-OF-LOG:\r\n";
        if (c.message.empty()) {
            // The file is simply written again.
            EXPECT_EQ(messages, std::vector<std::string>{});
            EXPECT_EQ(ReadBytes(path), expectedText);
            EXPECT_FALSE(Doc().IsModified());
            continue;
        }
        std::string message = c.message;
        message.replace(message.find("%1"), 2, path);
        EXPECT_EQ(messages, std::vector<std::string>{message});
        EXPECT_TRUE(Doc().IsModified()) << "the changes must stay unsaved";
        EXPECT_EQ(Text(), expectedText);
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0) {
            EXPECT_FALSE(S_ISREG(st.st_mode)) << "what took the name was replaced";
        }
        if (::stat(dir.c_str(), &st) == 0) {
            // Nothing else was left in the folder: no temporary file.
            const auto names = ListFolder(dir);
            EXPECT_EQ(names, std::vector<std::string>{"contest.log"});
        }

        // A usable name saves everything.
        messages.clear();
        const std::string other = Path("saved-" + std::to_string(n) + ".log");
        dialogs.saveAnswers.push_back(QString::fromStdString(other));
        app.OnFileSave();
        EXPECT_EQ(messages, std::vector<std::string>{});
        EXPECT_EQ(ReadBytes(other), expectedText);
        EXPECT_FALSE(Doc().IsModified());
        EXPECT_EQ(Doc().GetPathName(), other);
    }
}
