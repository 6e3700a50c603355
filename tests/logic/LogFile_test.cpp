#include "log/LogFile.h"

#include "log/FileError.h"
#include "log/LogLimits.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <memory>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// --- plain POSIX helpers, independent of the code under test ---------------

void WriteRaw(const std::string& path, std::string_view bytes, mode_t mode = 0644)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    ASSERT_GE(fd, 0) << path << ": " << std::strerror(errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        ASSERT_GT(n, 0) << std::strerror(errno);
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    ::chmod(path.c_str(), mode); // exactly `mode`, whatever the umask
}

std::string ReadRaw(const std::string& path)
{
    std::string out;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return "<cannot open: " + std::string(std::strerror(errno)) + ">";
    char buf[65536];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0)
        out.append(buf, static_cast<std::size_t>(n));
    ::close(fd);
    return out;
}

std::vector<std::string> ListDir(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..")
                names.push_back(n);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

std::string Expand(std::string_view pattern, const std::string& path)
{
    std::string s(pattern);
    if (const auto at = s.find("%1"); at != std::string::npos)
        s.replace(at, 2, path);
    return s;
}

// Every byte value, so any conversion or truncation shows.
std::string AllBytes(std::size_t size)
{
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return s;
}

// --- running a piece of the test in a child process ------------------------

// Thrown inside a child body when the environment cannot provide what the
// check needs; the test is then skipped with the reason.
struct ChildSkip {
    std::string reason;
};

struct ChildOutcome {
    bool skipped = false;
    bool failed = false;  // crashed, hung or threw
    std::string text;     // the body's report, the skip reason or the failure
};

// Runs `body` in a forked child and returns what it reported. The child has a
// watchdog so that a call that blocks fails the test instead of hanging it.
ChildOutcome RunInChild(const std::function<std::string()>& body)
{
    ChildOutcome outcome;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        outcome.failed = true;
        outcome.text = "pipe failed";
        return outcome;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::alarm(30);
        int code = 0;
        std::string out;
        try {
            out = body();
        } catch (const ChildSkip& s) {
            out = s.reason;
            code = 77;
        } catch (const std::exception& e) {
            out = e.what();
            code = 1;
        }
        for (std::size_t done = 0; done < out.size();) {
            const ssize_t n = ::write(fds[1], out.data() + done, out.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(code);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        outcome.failed = true;
        outcome.text = "fork failed";
        return outcome;
    }
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0)
        outcome.text.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) {
        outcome.failed = true;
        outcome.text = "child ended by signal " + std::to_string(WTERMSIG(status)) +
            (WTERMSIG(status) == SIGALRM ? " (it blocked)" : "");
    } else if (WEXITSTATUS(status) == 77) {
        outcome.skipped = true;
    } else if (WEXITSTATUS(status) != 0) {
        outcome.failed = true;
    }
    return outcome;
}

#define EXPECT_CHILD_REPORT(outcome, expected)                       \
    do {                                                             \
        const ChildOutcome o_ = (outcome);                           \
        if (o_.skipped)                                              \
            GTEST_SKIP() << o_.text;                                 \
        ASSERT_FALSE(o_.failed) << o_.text;                          \
        EXPECT_EQ(o_.text, expected);                                \
    } while (0)

// Becomes the unprivileged user "nobody" when running as root.
void DropPrivilegesIfRoot()
{
    if (::geteuid() != 0)
        return;
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
        throw ChildSkip{"cannot become uid 65534: " + std::string(std::strerror(errno))};
}

// --- fixture: a fresh temporary folder per test ----------------------------

class LogFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vorlisk-logfile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr) << std::strerror(errno);
        m_dir = tmpl;
    }

    void TearDown() override
    {
        // Tests lock folders; open them up again so everything can go.
        std::error_code ec;
        ::chmod(m_dir.c_str(), 0700);
        for (auto it = std::filesystem::recursive_directory_iterator(m_dir, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec))
                ::chmod(it->path().c_str(), 0700);
        }
        std::filesystem::remove_all(m_dir, ec);
    }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }

    std::string m_dir;
};

// --- reading ----------------------------------------------------------------

struct Content {
    const char* name;
    std::string bytes;
};

std::vector<Content> OddContents()
{
    return {
        {"CR LF", "START-OF-LOG: 3.0\r\nQSO: 14000 CW\r\nEND-OF-LOG:\r\n"},
        {"LF only", "START-OF-LOG: 3.0\nQSO: 14000 CW\nEND-OF-LOG:\n"},
        {"lone CR", "START-OF-LOG: 3.0\rQSO: 14000 CW\rEND-OF-LOG:\r"},
        {"mixed line ends", "a\r\nb\nc\rd\n\re\r\r\n"},
        {"NUL bytes", std::string("QSO:\0 14000\0\0\r\n\0", 17)},
        {"invalid UTF-8", "CALLSIGN: OK1\xff\xfe\xc3(\xed\xa0\x80\r\n"},
        {"Ctrl-Z inside and at the end", "QSO: 1\r\n\x1a" "QSO: 2\r\n\x1a"},
        {"no final line end", "START-OF-LOG: 3.0\r\nQSO: 14000 CW"},
        {"empty", ""},
        {"all byte values", AllBytes(70000)},
    };
}

TEST_F(LogFileTest, ReadsAndWritesEveryByteUnchanged)
{
    for (const Content& c : OddContents()) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("log.txt");
        ::unlink(path.c_str());

        // Read a file written by someone else.
        WriteRaw(path, c.bytes);
        const LoadResult loaded = ReadLogFile(path);
        EXPECT_EQ(loaded.status, LoadStatus::Ok);
        EXPECT_EQ(loaded.bytes, c.bytes);
        EXPECT_EQ(loaded.message, "");

        // Write it back over a different old file, and as a new file.
        WriteRaw(path, "old contents\r\n");
        ASSERT_TRUE(WriteLogFileSafely(path, c.bytes).ok);
        EXPECT_EQ(ReadRaw(path), c.bytes);
        ::unlink(path.c_str());
        const SaveResult saved = WriteLogFileSafely(path, c.bytes);
        EXPECT_TRUE(saved.ok);
        EXPECT_EQ(saved.message, "");
        EXPECT_EQ(ReadRaw(path), c.bytes);
        EXPECT_EQ(ReadLogFile(path).bytes, c.bytes);
        EXPECT_EQ(ListDir(m_dir), std::vector<std::string>{"log.txt"});
    }
}

TEST_F(LogFileTest, SizeLimitIsOneByteBelowOneMebibyte)
{
    const std::string fits = AllBytes(kMaxLogBytes);
    WriteRaw(Path("fits.log"), fits);
    const LoadResult ok = ReadLogFile(Path("fits.log"));
    EXPECT_EQ(ok.status, LoadStatus::Ok);
    EXPECT_TRUE(ok.bytes == fits);

    WriteRaw(Path("big.log"), fits + "x");
    const LoadResult big = ReadLogFile(Path("big.log"));
    EXPECT_EQ(big.status, LoadStatus::LoadFailed);
    EXPECT_EQ(big.message, "The file is too large to open.");
    EXPECT_TRUE(big.bytes.empty());

    // A much larger sparse file is refused from its size alone.
    const int fd = ::open(Path("huge.log").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{1} << 40), 0);
    ::close(fd);
    EXPECT_EQ(ReadLogFile(Path("huge.log")).message, "The file is too large to open.");
}

TEST_F(LogFileTest, FilesWhoseSizeDoesNotMatchTheirContents)
{
    // Kernel files give real cases: under /proc a file may report size 0 and
    // hold plenty; under /sys one may report 4096 and hold a few bytes.
    const LoadResult status = ReadLogFile("/proc/self/status");
    EXPECT_EQ(status.status, LoadStatus::Ok);
    EXPECT_NE(status.bytes.find("Pid:"), std::string::npos);

    if (ReadRaw("/proc/kallsyms").size() > kMaxLogBytes) {
        const LoadResult grown = ReadLogFile("/proc/kallsyms");
        EXPECT_EQ(grown.status, LoadStatus::LoadFailed);
        EXPECT_EQ(grown.message, "The file is too large to open.");
    } else {
        std::printf("note: /proc/kallsyms is not larger than the limit here; growth check not run\n");
    }

    struct stat st {};
    const std::string sysfs = "/sys/kernel/uevent_seqnum";
    if (::stat(sysfs.c_str(), &st) == 0 && static_cast<std::size_t>(st.st_size) > ReadRaw(sysfs).size()) {
        const LoadResult shorter = ReadLogFile(sysfs);
        EXPECT_EQ(shorter.status, LoadStatus::LoadFailed);
        EXPECT_EQ(shorter.message, "Unexpected file format.");
    } else {
        std::printf("note: no sysfs file shorter than its size here; short-read check not run\n");
    }
}

TEST_F(LogFileTest, ReadFollowsSymlinks)
{
    WriteRaw(Path("real.log"), "QSO: 1\r\n");
    ASSERT_EQ(::symlink("real.log", Path("link.log").c_str()), 0);
    const LoadResult r = ReadLogFile(Path("link.log"));
    EXPECT_EQ(r.status, LoadStatus::Ok);
    EXPECT_EQ(r.bytes, "QSO: 1\r\n");
}

TEST_F(LogFileTest, ReadRefusesWhatCannotBeOpenedAndNamesThePathAsGiven)
{
    WriteRaw(Path("plain.log"), "x");
    ASSERT_EQ(::mkdir(Path("folder").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("nowhere.log", Path("dangling.log").c_str()), 0);
    ASSERT_EQ(::symlink("loop.log", Path("loop.log").c_str()), 0);

    struct Case {
        std::string path;
        std::string pattern;
    };
    const Case cases[] = {
        {Path("missing.log"), "%1 was not found."},
        {m_dir + "/./folder/../missing.log", "%1 was not found."}, // not tidied up
        {Path("no-such-folder/a.log"), "%1 was not found."},
        {Path("dangling.log"), "%1 was not found."},
        {Path("plain.log/a.log"), "%1 contains an invalid path."},
        {Path("loop.log"), "%1 contains an invalid path."},
        {Path(std::string(300, 'n')), "%1 contains an invalid path."},
        {"", "%1 contains an invalid path."},
        {Path("folder"), "Access to %1 was denied."},
        {Path("folder/"), "Access to %1 was denied."},
        {"/dev/null", "Access to %1 was denied."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const LoadResult r = ReadLogFile(c.path);
        EXPECT_EQ(r.status, LoadStatus::CannotOpen);
        EXPECT_EQ(r.message, Expand(c.pattern, c.path));
        EXPECT_TRUE(r.bytes.empty());
    }
}

TEST_F(LogFileTest, ReadRefusesAFifoWithoutWaitingForAWriter)
{
    const std::string fifo = Path("pipe.log");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // A blocking open of a FIFO without a writer would never return; the
    // child's watchdog turns that into a failure.
    EXPECT_CHILD_REPORT(RunInChild([&] {
                            const LoadResult r = ReadLogFile(fifo);
                            return std::to_string(static_cast<int>(r.status)) + " " + r.message;
                        }),
                        std::to_string(static_cast<int>(LoadStatus::CannotOpen)) + " " +
                            Expand("Access to %1 was denied.", fifo));
}

// --- saving -----------------------------------------------------------------

TEST_F(LogFileTest, SaveKeepsPermissionsOwnerAndGivesNewFilesTheUmask)
{
    const std::string path = Path("log.txt");
    WriteRaw(path, "old\r\n", 0604);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }

    ASSERT_TRUE(WriteLogFileSafely(path, "new\r\n").ok);
    EXPECT_EQ(ReadRaw(path), "new\r\n");
    EXPECT_EQ(ModeOf(path), 0604u);
    if (root) {
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 65534u);
        EXPECT_EQ(st.st_gid, 65534u);
    }

    const mode_t old = ::umask(027);
    const SaveResult fresh = WriteLogFileSafely(Path("new.log"), "QSO:\r\n");
    ::umask(old);
    ASSERT_TRUE(fresh.ok);
    EXPECT_EQ(ModeOf(Path("new.log")), 0640u);
}

TEST_F(LogFileTest, SaveThroughSymlinksKeepsTheLinks)
{
    ASSERT_EQ(::mkdir(Path("store").c_str(), 0755), 0);
    WriteRaw(Path("store/real.log"), "old\r\n", 0640);
    ASSERT_EQ(::symlink("store/real.log", Path("relative.log").c_str()), 0);
    ASSERT_EQ(::symlink(Path("relative.log").c_str(), Path("chain.log").c_str()), 0);
    ASSERT_EQ(::symlink("store/later.log", Path("dangling.log").c_str()), 0);

    ASSERT_TRUE(WriteLogFileSafely(Path("chain.log"), "new\r\n").ok);
    struct stat st {};
    ASSERT_EQ(::lstat(Path("chain.log").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::lstat(Path("relative.log").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadRaw(Path("store/real.log")), "new\r\n");
    EXPECT_EQ(ModeOf(Path("store/real.log")), 0640u);

    // A link to a file not there yet creates that file and stays a link.
    ASSERT_TRUE(WriteLogFileSafely(Path("dangling.log"), "first\r\n").ok);
    ASSERT_EQ(::lstat(Path("dangling.log").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadRaw(Path("store/later.log")), "first\r\n");

    // The temporary files lived beside the target and are gone.
    EXPECT_EQ(ListDir(Path("store")), (std::vector<std::string>{"later.log", "real.log"}));
    EXPECT_EQ(ListDir(m_dir), (std::vector<std::string>{"chain.log", "dangling.log", "relative.log", "store"}));
}

TEST_F(LogFileTest, SaveRefusesTargetsItMustNotReplace)
{
    ASSERT_EQ(::mkdir(Path("folder").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(Path("pipe.log").c_str(), 0644), 0);
    WriteRaw(Path("readonly.log"), "keep me\r\n", 0444);
    WriteRaw(Path("plain.log"), "x");
    ASSERT_EQ(::symlink("readonly.log", Path("link-to-readonly.log").c_str()), 0);

    struct Case {
        std::string path;
        std::string pattern;
    };
    const Case cases[] = {
        {Path("folder"), "Access to %1 was denied."},
        {Path("folder/"), "Access to %1 was denied."},
        {Path("pipe.log"), "Access to %1 was denied."},
        // Read-only even for root: the rename would otherwise replace it.
        {Path("readonly.log"), "Access to %1 was denied."},
        {Path("link-to-readonly.log"), "Access to %1 was denied."},
        {Path("no-such-folder/a.log"), "%1 was not found."},
        {Path("plain.log/a.log"), "%1 contains an invalid path."},
        {Path("missing/"), "%1 contains an invalid path."},
        {"", "%1 contains an invalid path."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const SaveResult r = WriteLogFileSafely(c.path, "new\r\n");
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, Expand(c.pattern, c.path));
    }
    EXPECT_EQ(ReadRaw(Path("readonly.log")), "keep me\r\n");
    struct stat st {};
    ASSERT_EQ(::lstat(Path("pipe.log").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(ListDir(m_dir), (std::vector<std::string>{"folder", "link-to-readonly.log", "pipe.log",
                                                         "plain.log", "readonly.log"}));
}

TEST_F(LogFileTest, SaveOfANameNearTheLengthLimitWorks)
{
    // The hidden temporary name adds characters; it must still be a valid name.
    const std::string path = Path(std::string(250, 'L') + ".log");
    WriteRaw(path, "old");
    ASSERT_TRUE(WriteLogFileSafely(path, "new").ok);
    EXPECT_EQ(ReadRaw(path), "new");
    EXPECT_EQ(ListDir(m_dir).size(), 1u);
}

// A write that takes a few bytes at a time and is now and then interrupted;
// records the order of the calls.
struct Recorder {
    std::vector<std::string> events;
    std::size_t calls = 0;
};

TEST_F(LogFileTest, SaveWritesEverythingThroughShortAndInterruptedWritesInASafeOrder)
{
    auto rec = std::make_shared<Recorder>();
    FileSystemCalls calls = FileSystemCalls::System();
    calls.write = [rec](int fd, const void* data, std::size_t size) -> ssize_t {
        if (rec->calls++ % 3 == 1) {
            errno = EINTR;
            return -1;
        }
        if (rec->events.empty() || rec->events.back() != "write")
            rec->events.push_back("write");
        return ::write(fd, data, std::min<std::size_t>(size, 997));
    };
    calls.fsync = [rec](int fd) {
        rec->events.push_back("fsync");
        return ::fsync(fd);
    };
    calls.close = [rec](int fd) {
        rec->events.push_back("close");
        return ::close(fd);
    };
    calls.rename = [rec](const char* from, const char* to) {
        rec->events.push_back("rename");
        return ::rename(from, to);
    };
    calls.fsyncDirectory = [rec](int fd) {
        rec->events.push_back("fsync folder");
        return ::fsync(fd);
    };

    const std::string bytes = AllBytes(100000);
    WriteRaw(Path("log.txt"), "old");
    const SaveResult r = WriteLogFileSafely(Path("log.txt"), bytes, calls);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(ReadRaw(Path("log.txt")) == bytes);
    EXPECT_EQ(rec->events,
              (std::vector<std::string>{"write", "fsync", "close", "rename", "fsync folder"}));
}

TEST_F(LogFileTest, FailedSaveLeavesTheOldFileAndNoTemporary)
{
    struct Fault {
        const char* name;
        std::function<void(FileSystemCalls&)> inject;
        std::string pattern; // the expected message; %1 is the path
    };
    auto failAfter = [](std::size_t limit, int err) {
        return [limit, err](FileSystemCalls& c) {
            auto written = std::make_shared<std::size_t>(0);
            c.write = [=](int fd, const void* data, std::size_t size) -> ssize_t {
                if (*written >= limit) {
                    errno = err;
                    return -1;
                }
                const ssize_t n = ::write(fd, data, std::min({size, limit - *written, std::size_t{4096}}));
                if (n > 0)
                    *written += static_cast<std::size_t>(n);
                return n;
            };
        };
    };
    const Fault faults[] = {
        {"disk full after 10000 bytes", failAfter(10000, ENOSPC), "Disk full while accessing %1."},
        {"quota exceeded at once", failAfter(0, EDQUOT), "Disk full while accessing %1."},
        {"I/O error while writing", failAfter(5000, EIO),
         "A hardware I/O error was reported while accessing %1."},
        {"write makes no progress",
         [](FileSystemCalls& c) { c.write = [](int, const void*, std::size_t) -> ssize_t { return 0; }; },
         "Failed to save document."},
        {"fsync reports an I/O error",
         [](FileSystemCalls& c) {
             c.fsync = [](int) {
                 errno = EIO;
                 return -1;
             };
         },
         "A hardware I/O error was reported while accessing %1."},
        {"close reports a late error",
         [](FileSystemCalls& c) {
             c.close = [](int fd) {
                 ::close(fd);
                 errno = ENOSPC;
                 return -1;
             };
         },
         "Disk full while accessing %1."},
        {"rename is refused",
         [](FileSystemCalls& c) {
             c.rename = [](const char*, const char*) {
                 errno = EPERM;
                 return -1;
             };
         },
         "Access to %1 was denied."},
        {"rename fails for an unusual reason",
         [](FileSystemCalls& c) {
             c.rename = [](const char*, const char*) {
                 errno = EXDEV;
                 return -1;
             };
         },
         "An unknown error occurred while accessing %1."},
    };

    const std::string old = "START-OF-LOG: 3.0\r\nQSO: 14000 CW\r\nEND-OF-LOG:\r\n";
    // The message shows the path as it was handed over, "./" and all.
    const std::string given = m_dir + "/./log.txt";
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.name);
        WriteRaw(Path("log.txt"), old, 0640);
        FileSystemCalls calls = FileSystemCalls::System();
        f.inject(calls);
        const SaveResult r = WriteLogFileSafely(given, AllBytes(50000), calls);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, Expand(f.pattern, given));
        EXPECT_EQ(ReadRaw(Path("log.txt")), old);
        EXPECT_EQ(ModeOf(Path("log.txt")), 0640u);
        EXPECT_EQ(ListDir(m_dir), std::vector<std::string>{"log.txt"});
    }
}

TEST_F(LogFileTest, TemporaryIsHiddenBesideTheTarget)
{
    std::string from;
    std::string to;
    FileSystemCalls calls = FileSystemCalls::System();
    calls.rename = [&](const char* f, const char* t) {
        from = f;
        to = t;
        return ::rename(f, t);
    };
    WriteRaw(Path("log.txt"), "old");
    ASSERT_TRUE(WriteLogFileSafely(Path("log.txt"), "new", calls).ok);
    EXPECT_EQ(to, Path("log.txt"));
    EXPECT_EQ(from.rfind(Path(".log.txt."), 0), 0u) << from;
    EXPECT_EQ(from.size(), to.size() + 8);
}

TEST_F(LogFileTest, AFailedFolderSyncIsNotReportedAsSuccess)
{
    struct Case {
        int err;
        bool ok;
    };
    // EINVAL: the file system cannot sync folders at all, nothing was lost.
    for (const Case c : {Case{EIO, false}, Case{EINVAL, true}}) {
        SCOPED_TRACE(c.err);
        WriteRaw(Path("log.txt"), "old");
        FileSystemCalls calls = FileSystemCalls::System();
        calls.fsyncDirectory = [err = c.err](int) {
            errno = err;
            return -1;
        };
        const SaveResult r = WriteLogFileSafely(Path("log.txt"), "new", calls);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.message, c.ok ? "" : Expand("A hardware I/O error was reported while accessing %1.", Path("log.txt")));
        EXPECT_EQ(ReadRaw(Path("log.txt")), "new");
        EXPECT_EQ(ListDir(m_dir), std::vector<std::string>{"log.txt"});
    }
}

TEST_F(LogFileTest, IsWritableRegularFile)
{
    WriteRaw(Path("rw.log"), "x", 0644);
    WriteRaw(Path("ro.log"), "x", 0444);
    ASSERT_EQ(::mkdir(Path("folder").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(Path("pipe.log").c_str(), 0666), 0);
    ASSERT_EQ(::symlink("rw.log", Path("link.log").c_str()), 0);
    ASSERT_EQ(::symlink("gone.log", Path("dangling.log").c_str()), 0);

    struct Case {
        std::string path;
        bool expected;
    };
    const Case cases[] = {
        {Path("rw.log"), true},        {Path("link.log"), true},      {Path("ro.log"), false},
        {Path("missing.log"), false},  {Path("dangling.log"), false}, {Path("folder"), false},
        {Path("pipe.log"), false},     {"/dev/null", false},          {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsWritableRegularFile(c.path), c.expected) << c.path;
}

TEST_F(LogFileTest, UnprivilegedUserMeetsLockedFoldersAndFiles)
{
    // Run as an ordinary user even when the tests run as root, who would
    // pass every permission check.
    ASSERT_EQ(::chmod(m_dir.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(Path("locked").c_str(), 0755), 0);
    const std::string inLocked = Path("locked/log.txt");
    WriteRaw(inLocked, "old\r\n", 0666);
    ASSERT_EQ(::chmod(Path("locked").c_str(), 0555), 0);
    WriteRaw(Path("secret.log"), "private\r\n", 0000);
    WriteRaw(Path("theirs.log"), "x", 0644);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(Path("theirs.log").c_str(), 0, 0), 0);
    }

    const std::string expected = "writable:1\n"
        "save:" + Expand("Access to %1 was denied.", inLocked) + "\n"
        "new:" + Expand("Access to %1 was denied.", Path("locked/new.log")) + "\n"
        "read:" + Expand("Access to %1 was denied.", Path("secret.log")) + "\n"
        "secret writable:0\n";
    EXPECT_CHILD_REPORT(RunInChild([&] {
                            DropPrivilegesIfRoot();
                            std::string out;
                            // The file itself is writable, so Save will try...
                            out += "writable:" + std::to_string(IsWritableRegularFile(inLocked)) + "\n";
                            // ...and the folder refuses the temporary file.
                            out += "save:" + WriteLogFileSafely(inLocked, "new\r\n").message + "\n";
                            out += "new:" + WriteLogFileSafely(Path("locked/new.log"), "new").message + "\n";
                            out += "read:" + ReadLogFile(Path("secret.log")).message + "\n";
                            out += "secret writable:" + std::to_string(IsWritableRegularFile(Path("secret.log"))) + "\n";
                            return out;
                        }),
                        expected);
    EXPECT_EQ(ReadRaw(inLocked), "old\r\n");
    EXPECT_EQ(ListDir(Path("locked")), std::vector<std::string>{"log.txt"});

    if (::geteuid() == 0) {
        EXPECT_CHILD_REPORT(RunInChild([&] {
                                DropPrivilegesIfRoot();
                                return std::to_string(IsWritableRegularFile(Path("theirs.log")));
                            }),
                            "0");
    }
}

// Mounts a 64 KiB tmpfs at `dir` in a private mount namespace of this
// (child) process: directly when allowed, else inside a new user namespace.
void MountSmallFileSystem(const std::string& dir)
{
    const auto mountIt = [&] {
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            ::mount("tmpfs", dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
    };
    if (::unshare(CLONE_NEWNS) == 0 && mountIt())
        return;
    std::string why = std::strerror(errno);

    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        throw ChildSkip{"cannot mount a small tmpfs (" + why + ") nor make a user namespace (" +
                        std::strerror(errno) + ")"};
    const auto put = [](const char* file, const std::string& text) {
        const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
        const bool ok = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        if (fd >= 0)
            ::close(fd);
        return ok;
    };
    put("/proc/self/setgroups", "deny");
    if (!put("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !put("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
        throw ChildSkip{"cannot map ids in a user namespace: " + std::string(std::strerror(errno))};
    if (!mountIt())
        throw ChildSkip{"the kernel refuses a tmpfs mount: " + std::string(std::strerror(errno))};
}

TEST_F(LogFileTest, SaveOnARealFullFileSystem)
{
    const std::string mnt = Path("small");
    ASSERT_EQ(::mkdir(mnt.c_str(), 0755), 0);
    const std::string log = mnt + "/log.txt";
    const std::string old = AllBytes(8000);
    EXPECT_CHILD_REPORT(RunInChild([&] {
                            MountSmallFileSystem(mnt);
                            WriteRaw(log, old, 0600);
                            const SaveResult big = WriteLogFileSafely(log, AllBytes(200000));
                            std::string out = "big:" + big.message + "\n";
                            out += std::string("old kept:") + (ReadRaw(log) == old ? "yes" : "no") + "\n";
                            for (const std::string& n : ListDir(mnt))
                                out += "entry:" + n + "\n";
                            // The space is back: a small save still works.
                            out += "small ok:" + std::to_string(WriteLogFileSafely(log, "QSO:\r\n").ok) + "\n";
                            out += "small:" + ReadRaw(log) + "\n";
                            return out;
                        }),
                        "big:" + Expand("Disk full while accessing %1.", log) + "\n" +
                            "old kept:yes\nentry:log.txt\nsmall ok:1\nsmall:QSO:\r\n\n");
}

} // namespace
