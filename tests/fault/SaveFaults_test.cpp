// Saving while the file system fails under the program: every failing call
// of a save, through the document's real save path in a separate process
// with a preloaded library that makes that call fail. After each failure the
// target holds exactly its old bytes (or still does not exist), the right
// message was shown, no temporary file is left, and the next save with the
// fault gone succeeds.
#include "Child.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace fault;

namespace {

const std::string kEnd = "END-OF-LOG:\r\n";

std::string Expand(const std::string& pattern, const std::string& path)
{
    std::string s = pattern;
    if (const auto at = s.find("%1"); at != std::string::npos)
        s.replace(at, 2, path);
    return s;
}

const std::string kDiskFull = "Disk full while accessing %1.";
const std::string kHardIo = "A hardware I/O error was reported while accessing %1.";
const std::string kDenied = "Access to %1 was denied.";
const std::string kTooMany = "%1 could not be opened because there are too many open files.";

struct Fault {
    const char* call;
    int err;
    std::size_t after; // bytes written before write fails
    std::string message;
};

struct HelperRun {
    int status = 0;
    std::vector<std::string> messages;   // shown before the retry
    std::vector<std::string> injected;   // calls the library made fail
    bool askedForName = false;
    std::string retry;                   // "ok", "failed" or "" without a retry
    std::vector<std::string> folderAfterFailure;
    std::string targetAfterFailure;
    std::string output;
};

// Runs the helper; when its save fails, looks at the folder before letting
// it try again.
HelperRun RunHelper(const std::string& mode, const std::string& folder, const std::string& target,
              const std::string& source, const ChildOptions& options)
{
    HelperRun run;
    Child child({VORLISK_SAVE_HELPER, mode, target, source}, options);
    if (child.ReadUntilLine("FAILED")) {
        run.folderAfterFailure = ListFolder(folder);
        run.targetAfterFailure = ReadBytes(target);
        run.messages = child.Lines("MESSAGE: ");
        child.Send("go\n");
    }
    run.status = child.Finish();
    if (run.messages.empty())
        run.messages = child.Lines("MESSAGE: ");
    run.injected = child.Lines("vorlisk-fault: ");
    run.askedForName = !child.Lines("ASKED-FOR-NAME").empty();
    const auto retry = child.Lines("RETRY: ");
    run.retry = retry.empty() ? "" : retry.back();
    run.output = child.Output();
    return run;
}

std::vector<std::string> Env(const std::string& folder, const Fault& f)
{
    return {std::string("LD_PRELOAD=") + VORLISK_FAULT_SHIM, "VORLISK_FAULT_DIR=" + folder,
            std::string("VORLISK_FAULT_CALL=") + f.call, "VORLISK_FAULT_ERRNO=" + std::to_string(f.err),
            "VORLISK_FAULT_AFTER=" + std::to_string(f.after)};
}

} // namespace

TEST(SaveFaults, EveryFailingCallLeavesTheOldFileOrNoneAndTheNextSaveWorks)
{
    // The new log is large enough to take several writes and lacks the
    // end-of-log line, so a good save adds it.
    const std::string newLog = AwkwardBytes(1, 700 * 1024);
    const std::string oldLog = AwkwardBytes(2, 5000) + kEnd;
    const Fault faults[] = {
        {"write", ENOSPC, 0, kDiskFull},
        {"write", ENOSPC, 4096, kDiskFull},       // full after the first block
        {"write", ENOSPC, 700 * 1024, kDiskFull}, // full just before the end-of-log line
        {"write", EDQUOT, 100, kDiskFull},
        {"write", EFBIG, 0, kDiskFull},
        {"write", EIO, 65536, kHardIo},
        {"fsync", EIO, 0, kHardIo},
        {"fsync", ENOSPC, 0, kDiskFull},
        {"close", EIO, 0, kHardIo},               // a late write error reported by close
        {"close", EDQUOT, 0, kDiskFull},
        {"rename", EIO, 0, kHardIo},
        {"rename", ENOSPC, 0, kDiskFull},
        {"rename", EACCES, 0, kDenied},
        {"rename", EROFS, 0, kDenied},
        {"create", ENOSPC, 0, kDiskFull},
        {"create", EMFILE, 0, kTooMany},
        {"create", EROFS, 0, kDenied},
        {"create", EIO, 0, kHardIo},
    };
    int injected = 0;
    for (const Fault& f : faults) {
        // Save over an existing log, and Save As to a name not there yet.
        for (const std::string mode : {"save", "saveas"}) {
            SCOPED_TRACE(std::string(f.call) + " errno " + std::to_string(f.err) + " after " +
                         std::to_string(f.after) + " (" + mode + ")");
            TempFolder folder;
            const std::string source = folder / "source.bin";
            WriteBytes(source, newLog);
            const std::string target = folder / "contest.log";
            if (mode == "save")
                WriteBytes(target, oldLog);
            const auto before = ListFolder(folder.Path());

            const HelperRun run = RunHelper(mode, folder.Path(), target, source, {Env(folder.Path(), f)});
            EXPECT_EQ(DescribeStatus(run.status), "exit 3") << run.output;
            ASSERT_FALSE(run.injected.empty()) << "the fault never fired:\n" << run.output;
            EXPECT_EQ(run.injected.front(), f.call);
            injected += static_cast<int>(run.injected.size());
            EXPECT_EQ(run.messages, std::vector<std::string>{Expand(f.message, target)});
            EXPECT_EQ(Difference(run.targetAfterFailure, mode == "save" ? oldLog : "<missing>"), "");
            EXPECT_EQ(run.folderAfterFailure, before) << "a temporary file was left behind";
            EXPECT_EQ(run.retry, "ok") << run.output;
            EXPECT_EQ(Difference(ReadBytes(target), newLog + kEnd), "");
            std::vector<std::string> after = before;
            if (mode == "saveas")
                after.push_back("contest.log");
            std::sort(after.begin(), after.end());
            EXPECT_EQ(ListFolder(folder.Path()), after);
        }
    }
    std::cout << "[ figures  ] save faults injected and survived: " << injected << std::endl;
}

TEST(SaveFaults, AFailedFolderSyncIsReportedThoughTheNewBytesAreInPlace)
{
    // Once the rename is done the new log is complete on disk; only its
    // durability is in doubt, and the operator is told.
    TempFolder folder;
    const std::string source = folder / "source.bin";
    const std::string newLog = AwkwardBytes(3, 1000) + kEnd;
    WriteBytes(source, newLog);
    const std::string target = folder / "contest.log";
    WriteBytes(target, "old\r\n" + kEnd);
    const HelperRun run = RunHelper("save", folder.Path(), target, source, {Env(folder.Path(), {"fsyncdir", EIO, 0, ""})});
    EXPECT_EQ(run.injected, std::vector<std::string>{"fsyncdir"});
    EXPECT_EQ(run.messages, std::vector<std::string>{Expand(kHardIo, target)});
    EXPECT_EQ(Difference(run.targetAfterFailure, newLog), "");
    EXPECT_EQ(run.folderAfterFailure, (std::vector<std::string>{"contest.log", "source.bin"}));
    EXPECT_EQ(run.retry, "ok");
}

TEST(SaveFaults, FaultsOutsideTheChosenFolderAreNotInjected)
{
    // The library must leave every other file alone, so that it can never
    // disturb anything but the save under test.
    TempFolder folder, elsewhere;
    const std::string source = folder / "source.bin";
    WriteBytes(source, "QSO\r\n");
    const HelperRun run = RunHelper("saveas", folder.Path(), folder / "contest.log", source,
                              {Env(elsewhere.Path(), {"write", EIO, 0, ""})});
    EXPECT_EQ(DescribeStatus(run.status), "exit 0") << run.output;
    EXPECT_TRUE(run.injected.empty());
    EXPECT_EQ(ReadBytes(folder / "contest.log"), "QSO\r\n" + kEnd);
}

// --- read-only folders and files, as an ordinary user -----------------------

TEST(SaveFaults, AnOrdinaryUserCannotReplaceWhatIsNotTheirs)
{
    TempFolder root;
    ASSERT_EQ(::chmod(root.Path().c_str(), 0755), 0);
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to set up files for another user";

    const std::string oldLog = "OLD LOG\r\n" + kEnd;
    const std::string newLog = "NEW LOG\x1a\r\n";
    struct Case {
        const char* name;
        mode_t folderMode;
        bool folderIsTheirs;
        mode_t fileMode;
        bool fileIsTheirs;
        const char* mode;        // helper mode
        bool expectAskForName;   // Save turns into Save As
        bool expectDenied;       // "Access to ... was denied."
    } cases[] = {
        // The file may be written but the folder takes no temporary file.
        {"read-only folder", 0555, true, 0644, true, "save", false, true},
        {"folder of another user", 0755, false, 0666, true, "save", false, true},
        // Read-only files: Save asks for a name; Save As to the name is refused.
        {"read-only file, save", 0755, true, 0444, true, "save", true, false},
        {"read-only file, save as", 0755, true, 0444, true, "saveas", false, true},
        // Another user's file in our own folder: the rename would succeed,
        // but the file is not ours to replace.
        {"file of another user, save", 0755, true, 0644, false, "save", true, false},
        {"file of another user, save as", 0755, true, 0644, false, "saveas", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = root / c.name;
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
        const std::string target = folder + "/contest.log";
        WriteBytes(target, oldLog);
        const std::string source = root / (std::string(c.name) + ".src");
        WriteBytes(source, newLog);
        ASSERT_EQ(::chmod(source.c_str(), 0644), 0);
        ASSERT_EQ(::chown(folder.c_str(), c.folderIsTheirs ? kNobody : 0, c.folderIsTheirs ? kNobody : 0), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        // "Theirs" means owned by the ordinary user who saves.
        ASSERT_EQ(::chown(target.c_str(), c.fileIsTheirs ? kNobody : 0, c.fileIsTheirs ? kNobody : 0), 0);
        ASSERT_EQ(::chmod(target.c_str(), c.fileMode), 0);

        ChildOptions asNobody;
        asNobody.asNobody = true;
        const HelperRun run = RunHelper(c.mode, folder, target, source, asNobody);
        if (WIFEXITED(run.status) && WEXITSTATUS(run.status) >= 125)
            GTEST_SKIP() << "cannot run the helper as uid 65534: " << DescribeStatus(run.status);
        EXPECT_EQ(DescribeStatus(run.status), "exit 3") << run.output;
        EXPECT_EQ(run.askedForName, c.expectAskForName) << run.output;
        EXPECT_EQ(run.messages, c.expectDenied ? std::vector<std::string>{Expand(kDenied, target)}
                                               : std::vector<std::string>{});
        EXPECT_EQ(run.targetAfterFailure, oldLog);
        EXPECT_EQ(run.folderAfterFailure, std::vector<std::string>{"contest.log"});
        EXPECT_EQ(ReadBytes(target), oldLog);

        // With the permissions put right, the same save succeeds.
        ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
        ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
        const HelperRun again = RunHelper(c.mode, folder, target, source, asNobody);
        EXPECT_EQ(DescribeStatus(again.status), "exit 0") << again.output;
        EXPECT_EQ(Difference(ReadBytes(target), newLog + kEnd), "");
        EXPECT_EQ(ListFolder(folder), std::vector<std::string>{"contest.log"});
    }
}
