#pragma once
// Starting the save helper as a separate process: with extra environment
// (the preloaded fault library), optionally as the unprivileged user
// "nobody", with a watchdog so that a hang fails the test instead of
// blocking it.

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fault {

inline constexpr uid_t kNobody = 65534;

struct ChildOptions {
    std::vector<std::string> extraEnv;  // "NAME=value"
    bool asNobody = false;              // drop to uid/gid 65534 before exec
    unsigned watchdogSeconds = 120;
};

class Child {
public:
    // Starts `argv[0]` with `argv`; its standard output and error come
    // through one pipe.
    Child(const std::vector<std::string>& argv, const ChildOptions& options = {})
    {
        int out[2], in[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(in, O_CLOEXEC) != 0)
            return;
        // Everything the child needs is built before fork: only exec-safe
        // calls happen in between.
        std::vector<std::string> env;
        bool sawAsan = false;
        for (char** e = environ; *e; ++e) {
            std::string v = *e;
            if (v.rfind("ASAN_OPTIONS=", 0) == 0) {
                v += ":verify_asan_link_order=0";
                sawAsan = true;
            }
            env.push_back(v);
        }
        if (!sawAsan)
            env.push_back("ASAN_OPTIONS=verify_asan_link_order=0");
        env.insert(env.end(), options.extraEnv.begin(), options.extraEnv.end());
        std::vector<char*> envp, args;
        for (auto& v : env)
            envp.push_back(v.data());
        envp.push_back(nullptr);
        std::vector<std::string> argCopy = argv;
        for (auto& a : argCopy)
            args.push_back(a.data());
        args.push_back(nullptr);

        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::dup2(out[1], 2);
            ::alarm(options.watchdogSeconds); // survives exec
            if (::chdir("/") != 0)
                ::_exit(126);
            if (options.asNobody && ::geteuid() == 0 &&
                (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
                ::_exit(125);
            ::execve(args[0], args.data(), envp.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(in[0]);
        m_out = out[0];
        m_in = in[1];
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child()
    {
        if (m_pid > 0 && !m_reaped) {
            ::kill(m_pid, SIGKILL);
            Wait();
        }
        CloseInput();
        if (m_out >= 0)
            ::close(m_out);
    }

    pid_t Pid() const { return m_pid; }

    // Reads output until a line equal to `line` has arrived (true) or the
    // output ends (false). Everything read is kept in Output().
    bool ReadUntilLine(const std::string& line)
    {
        for (;;) {
            const std::string want = line + "\n";
            const auto at = m_output.find(want, m_scanned);
            if (at != std::string::npos && (at == 0 || m_output[at - 1] == '\n')) {
                m_scanned = at + want.size();
                return true;
            }
            if (!ReadMore())
                return false;
        }
    }

    void Send(const std::string& text)
    {
        if (m_in >= 0 && ::write(m_in, text.data(), text.size()) < 0) {
            // The child has gone; its exit status tells the test why.
        }
    }
    void CloseInput()
    {
        if (m_in >= 0)
            ::close(m_in);
        m_in = -1;
    }

    // Reads the rest of the output and waits for the child; returns its
    // wait status.
    int Finish()
    {
        CloseInput();
        while (ReadMore()) {
        }
        return Wait();
    }

    int Wait()
    {
        if (!m_reaped) {
            while (::waitpid(m_pid, &m_status, 0) < 0 && errno == EINTR) {
            }
            m_reaped = true;
        }
        return m_status;
    }

    const std::string& Output() const { return m_output; }

    // The lines that start with `prefix`, without it.
    std::vector<std::string> Lines(const std::string& prefix) const
    {
        std::vector<std::string> found;
        std::size_t pos = 0;
        while (pos < m_output.size()) {
            auto end = m_output.find('\n', pos);
            if (end == std::string::npos)
                end = m_output.size();
            if (m_output.compare(pos, prefix.size(), prefix) == 0)
                found.push_back(m_output.substr(pos + prefix.size(), end - pos - prefix.size()));
            pos = end + 1;
        }
        return found;
    }

private:
    bool ReadMore()
    {
        if (m_out < 0)
            return false;
        char buf[4096];
        ssize_t n;
        do {
            n = ::read(m_out, buf, sizeof buf);
        } while (n < 0 && errno == EINTR);
        if (n <= 0)
            return false;
        m_output.append(buf, static_cast<std::size_t>(n));
        return true;
    }

    pid_t m_pid = -1;
    int m_out = -1;
    int m_in = -1;
    int m_status = 0;
    bool m_reaped = false;
    std::string m_output;
    std::size_t m_scanned = 0;
};

// "exit 3", "signal 9", ... for failure messages.
inline std::string DescribeStatus(int status)
{
    if (WIFSIGNALED(status))
        return "signal " + std::to_string(WTERMSIG(status));
    return "exit " + std::to_string(WEXITSTATUS(status));
}

} // namespace fault
