// A preloaded library that makes chosen file calls fail, for the save tests.
//
// It acts only on what the environment names, so that a process it is
// loaded into behaves normally everywhere else:
//   VORLISK_FAULT_DIR    the folder whose files are affected (required)
//   VORLISK_FAULT_CALL   write | fsync | fsyncdir | close | rename | create
//   VORLISK_FAULT_ERRNO  the error number the call reports
//   VORLISK_FAULT_AFTER  for write: how many bytes in all still go through
//                        before writes fail (a disk that fills up mid-file)
// The settings are read on every call, so a process may unset them to let
// its next save run without the fault. Each injected failure is reported on
// standard error as "vorlisk-fault: <call>" so a test can see that it fired.
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <unistd.h>

namespace {

template <typename F>
F Next(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

using WriteFn = ssize_t (*)(int, const void*, size_t);
using IntFn = int (*)(int);
using RenameFn = int (*)(const char*, const char*);
using OpenFn = int (*)(const char*, int, ...);

WriteFn RealWrite() { static WriteFn f = Next<WriteFn>("write"); return f; }

bool Armed(const char* call)
{
    const char* dir = std::getenv("VORLISK_FAULT_DIR");
    const char* which = std::getenv("VORLISK_FAULT_CALL");
    return dir && *dir && which && std::strcmp(which, call) == 0;
}

int InjectedErrno()
{
    const char* e = std::getenv("VORLISK_FAULT_ERRNO");
    return e ? std::atoi(e) : EIO;
}

void Report(const char* call)
{
    std::string line = std::string("vorlisk-fault: ") + call + "\n";
    RealWrite()(2, line.data(), line.size());
}

// The path a descriptor stands for.
std::string FdPath(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char buf[4096];
    const ssize_t n = ::readlink(link, buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// True for a file directly or indirectly inside the chosen folder.
bool InsideFolder(const std::string& path)
{
    const std::string dir = std::getenv("VORLISK_FAULT_DIR");
    return path.size() > dir.size() + 1 && path.compare(0, dir.size(), dir) == 0 && path[dir.size()] == '/';
}

bool IsFolder(const std::string& path) { return path == std::getenv("VORLISK_FAULT_DIR"); }

// Bytes written into the folder's files so far (for VORLISK_FAULT_AFTER).
size_t g_written = 0;

} // namespace

extern "C" {

ssize_t write(int fd, const void* data, size_t size)
{
    const int saved = errno;
    if (Armed("write") && InsideFolder(FdPath(fd))) {
        const char* after = std::getenv("VORLISK_FAULT_AFTER");
        const size_t allowed = after ? std::strtoull(after, nullptr, 10) : 0;
        if (g_written < allowed) {
            // Let part of it through, as a filling disk does.
            const size_t room = allowed - g_written;
            const ssize_t n = RealWrite()(fd, data, size < room ? size : room);
            if (n > 0)
                g_written += static_cast<size_t>(n);
            return n;
        }
        Report("write");
        errno = InjectedErrno();
        return -1;
    }
    errno = saved;
    return RealWrite()(fd, data, size);
}

int fsync(int fd)
{
    static IntFn real = Next<IntFn>("fsync");
    const std::string path = FdPath(fd);
    if ((Armed("fsync") && InsideFolder(path)) || (Armed("fsyncdir") && IsFolder(path))) {
        Report(Armed("fsync") ? "fsync" : "fsyncdir");
        errno = InjectedErrno();
        return -1;
    }
    return real(fd);
}

int close(int fd)
{
    static IntFn real = Next<IntFn>("close");
    if (Armed("close") && InsideFolder(FdPath(fd))) {
        // As on Linux: the descriptor is gone even though an error is reported.
        real(fd);
        Report("close");
        errno = InjectedErrno();
        return -1;
    }
    return real(fd);
}

int rename(const char* from, const char* to)
{
    static RenameFn real = Next<RenameFn>("rename");
    if (Armed("rename") && InsideFolder(to)) {
        Report("rename");
        errno = InjectedErrno();
        return -1;
    }
    return real(from, to);
}

static int OpenWithFault(const char* name, const char* path, int flags, mode_t mode)
{
    if ((flags & O_CREAT) && Armed("create") && InsideFolder(path)) {
        Report("create");
        errno = InjectedErrno();
        return -1;
    }
    static OpenFn realOpen = Next<OpenFn>("open");
    static OpenFn realOpen64 = Next<OpenFn>("open64");
    return (std::strcmp(name, "open") == 0 ? realOpen : realOpen64)(path, flags, mode);
}

int open(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list ap;
        va_start(ap, flags);
        mode = static_cast<mode_t>(va_arg(ap, int));
        va_end(ap);
    }
    return OpenWithFault("open", path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list ap;
        va_start(ap, flags);
        mode = static_cast<mode_t>(va_arg(ap, int));
        va_end(ap);
    }
    return OpenWithFault("open64", path, flags, mode);
}

} // extern "C"
