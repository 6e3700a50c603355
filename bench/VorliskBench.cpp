// The Vorlisk benchmark. Runs the program's own code paths offscreen and
// prints a Markdown table: every figure is the median of several runs and
// stands beside its floor, measured in the same run, with the ratio.
//
//   vorlisk_bench [--runs N] [--work DIR] [--only startup|open|add|save]
//
// --only runs one group of measures (for profiling one path);
// Start-up and peak memory are measured in child processes: this program
// started again with a child mode, and vorlisk_bench_bare (a bare Qt window
// with a plain text editor) beside it. Progress goes to stderr, the table to
// stdout.

#include "BenchLogs.h"
#include "FirstPaint.h"

#include "app/CVorliskApp.h"
#include "frame/CMainFrame.h"
#include "framework/FileDialogs.h"
#include "framework/MessageBox.h"
#include "log/CVorliskDoc.h"
#include "log/LogLimits.h"
#include "qso/AddQsoCommand.h"
#include "view/CAboutDlg.h"
#include "view/CVorliskView.h"

#include <Qsci/qsciglobal.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

using bench::MonotonicNs;

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr int kContactsPerRun = 100;
constexpr std::size_t kQsoLineBytes = 83;

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ExecutableDir()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        throw std::runtime_error("cannot find the benchmark's own path");
    std::string path(buffer, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/'));
}

// ---------------------------------------------------------------- children

// The program's start-up as main() does it, with the window at the
// benchmark's size; reports its first paint and peak memory.
int RunAppChild(int argc, char** argv, const std::vector<std::string>& args)
{
    QApplication app(argc, argv);
    CVorliskApp::SetUpApplication();
    CVorliskApp theApp;
    if (!theApp.InitInstance(args))
        return 2;
    theApp.MainFrame()->resize(kWindowWidth, kWindowHeight);
    new bench::FirstPaintReporter(theApp.View(), bench::kChildIdleMs);
    return app.exec();
}

struct ChildResult {
    double startupMs = 0;
    double rssMb = 0;
};

ChildResult RunChild(const std::vector<std::string>& argv, const std::string& folder)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    const long long startNs = MonotonicNs();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) {
        close(pipeFds[0]);
        throw std::runtime_error("cannot start " + argv[0]);
    }
    std::string out;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long paintNs = 0;
    long rssKb = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(out.c_str(), "paint_ns=%lld rss_kb=%ld", &paintNs, &rssKb) != 2)
        throw std::runtime_error("child " + argv[0] + " failed: " + out);
    return {static_cast<double>(paintNs - startNs) / 1e6, static_cast<double>(rssKb) / 1024.0};
}

// ------------------------------------------------------- in-process helpers

class ScriptedFileDialogs : public FileDialogs {
public:
    std::optional<QString> AskOpenPath(QWidget*) override { return next; }
    std::optional<QString> AskSavePath(QWidget*, const QString&) override { return next; }
    std::optional<QString> next;
};

// Types the contacts into the Add QSO command: each Run() is the next pass of
// the entry dialog. The time of one contact runs from the press of Add (Run
// returning OK) to the line standing in the repainted view as the next pass
// starts; filling in the fields and the events handled between contacts
// (the operator typing) are outside it.
class ScriptedEntry : public QsoEntryDialog {
public:
    ScriptedEntry(QWidget& view, int contacts) : m_view(view), m_contacts(contacts) {}

    QsoRecord& Record() override { return m_record; }
    void ReportLogFull() override { ++logFull; }

    int Run() override
    {
        if (m_pass > 0) {
            m_view.repaint();
            times.push_back(static_cast<double>(MonotonicNs() - m_addNs) / 1e3);
            QCoreApplication::processEvents();
        }
        if (m_pass == m_contacts)
            return kQsoDialogCancel;
        const QsoRecord contact = bench::Contact(m_pass);
        m_record.m_nBand = contact.m_nBand;
        m_record.m_nMode = contact.m_nMode;
        m_record.m_strSentCall = contact.m_strSentCall;
        m_record.m_strSentObl = contact.m_strSentObl;
        m_record.m_strRcvdCall = contact.m_strRcvdCall;
        m_record.m_strRcvdObl = contact.m_strRcvdObl;
        m_record.m_strRcvdNr = contact.m_strRcvdNr;
        ++m_pass;
        m_addNs = MonotonicNs();
        return kQsoDialogOk;
    }

    std::vector<double> times; // microseconds per contact
    int logFull = 0;

private:
    QWidget& m_view;
    QsoRecord m_record;
    int m_contacts;
    int m_pass = 0;
    long long m_addNs = 0;
};

constexpr int kIdleWrapMs = 1500;

void IdleFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// The floor of a safe save: the same bytes to a temporary file beside the
// target, fsync, rename.
// With `syncFolder` the folder is synced after the rename as well, as the
// program's safe save does so that the rename itself survives a crash.
void WriteFsyncRename(const std::string& folder, const std::string& target, std::string_view bytes,
                      bool syncFolder)
{
    const std::string temp = folder + "/.floor.tmp";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + temp);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            throw std::runtime_error("write failed");
        done += static_cast<std::size_t>(n);
    }
    if (fsync(fd) != 0 || close(fd) != 0 || rename(temp.c_str(), target.c_str()) != 0)
        throw std::runtime_error("fsync, close or rename failed");
    if (syncFolder) {
        const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        if (dir < 0 || fsync(dir) != 0 || close(dir) != 0)
            throw std::runtime_error("cannot sync " + folder);
    }
}

std::string Machine()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line, model = "unknown CPU";
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    }
    return model + ", " + std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " cores, Qt " + qVersion() +
           ", QScintilla " + QSCINTILLA_VERSION_STR;
}

std::string Fmt(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

struct Row {
    std::string what, value, floor, ratio, target, met;
};

std::string Verdict(bool met) { return met ? "yes" : "**no**"; }

// ------------------------------------------------------------------- main

int RunBenchmark(int argc, char** argv, int runs, const std::string& workArg, const std::string& only)
{
    const auto wanted = [&only](const char* group) { return only.empty() || only == group; };
    QTemporaryDir tempDir(QDir::currentPath() + QStringLiteral("/bench-work-XXXXXX"));
    const std::string work = workArg.empty() ? tempDir.path().toStdString() : workArg;
    QDir().mkpath(QString::fromStdString(work + "/config"));
    setenv("XDG_CONFIG_HOME", (work + "/config").c_str(), 1);
    WriteFile(work + "/cabrhdr.txt", "START-OF-LOG: 3.0\r\nCONTEST: BENCH-TEST\r\nCALLSIGN: DL0XX\r\n");

    struct OpenCase {
        const char* label;
        std::size_t size;
        std::string path;
    };
    std::vector<OpenCase> opens = {{"64 KiB", 64 * 1024, {}}, {"256 KiB", 256 * 1024, {}},
                                   {"1,048,575 B", kMaxLogBytes, {}}};
    for (OpenCase& c : opens) {
        c.path = work + "/open-" + std::to_string(c.size) + ".log";
        WriteFile(c.path, bench::MakeLog(c.size));
    }
    const std::string fullLog = opens.back().path;
    // The Add QSO logs: 1 KiB, and one that the contacts fill exactly to the
    // size limit (its end-of-log line included).
    const std::string smallAddLog = work + "/add-small.log";
    const std::string largeAddLog = work + "/add-large.log";
    const std::size_t largeAddSize = kMaxLogBytes - kContactsPerRun * kQsoLineBytes;
    WriteFile(smallAddLog, bench::MakeLog(1024));
    WriteFile(largeAddLog, bench::MakeLog(largeAddSize));
    const std::string saveLog = work + "/save.log";
    const std::string saveFloorTarget = work + "/save-floor.log";

    // Start-up and memory, each kind in its own fresh processes, in turn.
    const std::string self = ExecutableDir() + "/vorlisk_bench";
    const std::string bare = ExecutableDir() + "/vorlisk_bench_bare";
    std::vector<double> bareStart, newStart, fullStart, bareRss, newRss, fullRss;
    for (int r = 0; r < runs && wanted("startup"); ++r) {
        std::fprintf(stderr, "start-up run %d/%d\n", r + 1, runs);
        const ChildResult b = RunChild({bare}, work);
        const ChildResult n = RunChild({self, "--child-app"}, work);
        const ChildResult f = RunChild({self, "--child-app", fullLog}, work);
        bareStart.push_back(b.startupMs);
        newStart.push_back(n.startupMs);
        fullStart.push_back(f.startupMs);
        bareRss.push_back(b.rssMb);
        newRss.push_back(n.rssMb);
        fullRss.push_back(f.rssMb);
    }

    QApplication qapp(argc, argv);
    std::vector<std::string> problems;
    SetMessageHandler([&problems](const QString& text, MessageButtons buttons) {
        if (buttons == MessageButtons::Ok) {
            problems.push_back(text.toStdString());
            return MessageAnswer::Ok;
        }
        return MessageAnswer::No; // the save prompt: the benchmark's logs stay as they are
    });
    ScriptedFileDialogs dialogs;
    CVorliskApp app;
    app.SetFileDialogs(&dialogs);
    if (!app.InitInstance({}))
        throw std::runtime_error("the program did not start");
    app.MainFrame()->resize(kWindowWidth, kWindowHeight);
    CVorliskView& view = *app.View();
    const auto openLog = [&](const std::string& path) {
        dialogs.next = QString::fromStdString(path);
        app.OnFileOpen();
    };

    QMainWindow plainWindow;
    auto* plain = new QPlainTextEdit(&plainWindow);
    plain->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    plainWindow.setCentralWidget(plain);
    plainWindow.resize(kWindowWidth, kWindowHeight);
    plainWindow.show();
    Settle();

    std::vector<std::vector<double>> openMs(opens.size()), plainMs(opens.size());
    std::vector<double> addSmallUs, addLargeUs, saveMs, floorMs, floorDirMs;
    for (int r = 0; r < runs; ++r) {
        std::fprintf(stderr, "in-process run %d/%d\n", r + 1, runs);
        for (std::size_t i = 0; i < opens.size() && wanted("open"); ++i) {
            app.OnFileNew();
            Settle();
            QElapsedTimer timer;
            timer.start();
            openLog(opens[i].path);
            // To the end as a new contact line goes there: caret to the end,
            // scrolled into view.
            const unsigned long end = view.Text().size();
            view.SendScintilla(QsciScintillaBase::SCI_SETSEL, end, static_cast<long>(end));
            view.SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
            view.repaint();
            openMs[i].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            if (view.Text().size() != opens[i].size)
                throw std::runtime_error("the log did not open: " + opens[i].path);
            Settle();

            plain->clear();
            Settle();
            timer.start();
            QFile file(QString::fromStdString(opens[i].path));
            if (!file.open(QIODevice::ReadOnly))
                throw std::runtime_error("cannot read " + opens[i].path);
            plain->setPlainText(QString::fromUtf8(file.readAll()));
            plain->moveCursor(QTextCursor::End);
            plain->viewport()->repaint();
            plainMs[i].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            Settle();
        }
        plain->clear();

        for (const std::string* path : {&smallAddLog, &largeAddLog}) {
            if (!wanted("add"))
                break;
            app.OnFileNew();
            openLog(*path);
            // The steady state: the editor has wrapped the opened log in its
            // idle steps before the first contact.
            IdleFor(kIdleWrapMs);
            ScriptedEntry entry(view, kContactsPerRun);
            RunAddQsoCommand(view, entry);
            if (entry.logFull != 0 || entry.times.size() != kContactsPerRun)
                throw std::runtime_error("contacts were refused: " + *path);
            double total = 0;
            for (double t : entry.times)
                total += t;
            (path == &smallAddLog ? addSmallUs : addLargeUs).push_back(total / kContactsPerRun);
        }
        if (wanted("add") && view.Text().size() != kMaxLogBytes - kEndOfLogLine.size())
            throw std::runtime_error("the contacts did not fill the log to its limit");

        if (!wanted("save"))
            continue;
        app.OnFileNew();
        WriteFile(saveLog, bench::MakeLog(kMaxLogBytes));
        openLog(saveLog);
        Settle();
        const std::string bytes(view.Text());
        // Alternate which goes first, so neither always meets a cold cache.
        for (int k = 0; k < 3; ++k) {
            const int which = (r + k) % 3;
            if (which == 0) {
                QElapsedTimer timer;
                timer.start();
                app.OnFileSave();
                saveMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            } else {
                QElapsedTimer timer;
                timer.start();
                WriteFsyncRename(work, saveFloorTarget, bytes, which == 2);
                (which == 2 ? floorDirMs : floorMs).push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            }
        }
        if (!problems.empty())
            throw std::runtime_error("the program reported: " + problems.front());
    }
    SetMessageHandler(nullptr);

    std::vector<Row> rows;
    if (!bareStart.empty()) {
        const double bs = Median(bareStart), ns = Median(newStart), fs = Median(fullStart);
        rows.push_back({"Start-up to first paint, new log", Fmt("%.0f ms", ns), Fmt("%.0f ms bare window", bs),
                        Fmt("%.2f×", ns / bs), "≤ 1.3×", Verdict(ns <= 1.3 * bs)});
        rows.push_back({"Start-up to first paint, 1,048,575 B log", Fmt("%.0f ms", fs),
                        Fmt("%.0f ms bare window", bs), Fmt("%.2f×", fs / bs), "", ""});
        const double br = Median(bareRss), nr = Median(newRss), fr = Median(fullRss);
        rows.push_back({"Peak memory, new log", Fmt("%.1f MB", nr), Fmt("%.1f MB bare window", br),
                        Fmt("+%.1f MB", nr - br), "", ""});
        rows.push_back({"Peak memory, 1,048,575 B log", Fmt("%.1f MB", fr), Fmt("%.1f MB bare window", br),
                        Fmt("+%.1f MB", fr - br), "≤ +15 MB", Verdict(fr - br <= 15)});
    }
    if (!openMs.front().empty()) {
        std::vector<double> openMedian;
        for (std::size_t i = 0; i < opens.size(); ++i) {
            const double o = Median(openMs[i]), p = Median(plainMs[i]);
            openMedian.push_back(o);
            const bool last = i + 1 == opens.size();
            rows.push_back({std::string("Open ") + opens[i].label + ", wrapped, to first paint at the end",
                            Fmt("%.1f ms", o), Fmt("%.1f ms QPlainTextEdit", p), Fmt("%.2f×", o / p),
                            last ? "≤ 30 ms" : "", last ? Verdict(o <= 30) : ""});
        }
        const double sizeRatio = static_cast<double>(opens.back().size) / static_cast<double>(opens.front().size);
        const double openGrowth = openMedian.back() / openMedian.front();
        rows.push_back({"Open time growth, 64 KiB to 1,048,575 B", Fmt("%.1f×", openGrowth),
                        Fmt("%.1f× the size", sizeRatio), Fmt("%.2f", openGrowth / sizeRatio), "≤ size growth",
                        Verdict(openGrowth <= sizeRatio)});
    }
    if (!addSmallUs.empty()) {
        const double as = Median(addSmallUs), al = Median(addLargeUs);
        rows.push_back({"Add QSO per contact, 1 KiB log", Fmt("%.0f µs", as), "", "", "", ""});
        rows.push_back({"Add QSO per contact, log filled to 1,048,575 B", Fmt("%.0f µs", al),
                        Fmt("%.0f µs at 1 KiB", as), Fmt("%.2f×", al / as), "≤ 1 ms, ≤ 1.2×",
                        Verdict(al <= 1000 && al <= 1.2 * as)});
    }
    if (!saveMs.empty()) {
        const double sv = Median(saveMs), sf = Median(floorMs);
        rows.push_back({"Save 1,048,575 B (safe save)", Fmt("%.1f ms", sv), Fmt("%.1f ms write, fsync, rename", sf),
                        Fmt("%.2f×", sv / sf), "≤ 2×", Verdict(sv <= 2 * sf)});
        const double sd = Median(floorDirMs);
        rows.push_back({"Save 1,048,575 B (safe save), against a floor that also syncs the folder",
                        Fmt("%.1f ms", sv), Fmt("%.1f ms write, fsync, rename, fsync folder", sd),
                        Fmt("%.2f×", sv / sd), "", ""});
    }
    std::printf("Machine: %s. Medians of %d runs, offscreen (`QT_QPA_PLATFORM=offscreen`).\n\n",
                Machine().c_str(), runs);
    std::printf("| Measure | Vorlisk | Floor (same run) | Ratio | Target | Met |\n");
    std::printf("| --- | ---: | ---: | ---: | --- | --- |\n");
    for (const Row& row : rows)
        std::printf("| %s | %s | %s | %s | %s | %s |\n", row.what.c_str(), row.value.c_str(), row.floor.c_str(),
                    row.ratio.c_str(), row.target.c_str(), row.met.c_str());
    std::printf("\nStart-up runs from launching the process to the end of the window's first paint "
                "(800×600); memory is the peak resident size after a further %d ms idle. "
                "Open runs from File > Open to the end of a repaint scrolled to the last line; the "
                "editor wraps the lines on screen at once and the rest in idle steps afterwards. "
                "Add QSO runs from Add to the new line painted in the view (entry dialog not "
                "painted), starting %d ms after the log was opened; the large log is filled by the %d "
                "contacts exactly to its limit.\n",
                bench::kChildIdleMs, kIdleWrapMs, kContactsPerRun);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        if (!args.empty() && args[0] == "--child-app")
            return RunAppChild(argc, argv, std::vector<std::string>(args.begin() + 1, args.end()));
        int runs = 7;
        std::string work, only;
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (args[i] == "--runs" && i + 1 < args.size())
                runs = std::max(1, std::atoi(args[++i].c_str()));
            else if (args[i] == "--work" && i + 1 < args.size())
                work = args[++i];
            else if (args[i] == "--only" && i + 1 < args.size())
                only = args[++i];
            else {
                std::fprintf(stderr, "usage: vorlisk_bench [--runs N] [--work DIR] [--only startup|open|add|save]\n");
                return 2;
            }
        }
        return RunBenchmark(argc, argv, runs, work, only);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorlisk_bench: %s\n", e.what());
        return 1;
    }
}
