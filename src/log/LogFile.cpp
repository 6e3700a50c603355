#include "log/LogFile.h"

#include "log/FileError.h"
#include "log/LogLimits.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <new>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Owns one file descriptor and closes it on the way out.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return m_fd; }
    // Gives up ownership without closing.
    int Release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void Reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

int OpenRetrying(const char* path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

LoadResult LoadFailure(LoadStatus status, std::string message)
{
    LoadResult r;
    r.status = status;
    r.message = std::move(message);
    return r;
}

// Reads until end of file. Returns 0, or the errno of a failed read, or
// EFBIG when the file holds more than kMaxLogBytes bytes.
int ReadAll(int fd, std::size_t expected, std::string& out)
{
    // One byte beyond the expected size (or the limit) lets a file that grew
    // since fstat be noticed without a second pass.
    std::size_t capacity = std::min(expected, kMaxLogBytes) + 1;
    out.resize(capacity);
    std::size_t filled = 0;
    for (;;) {
        if (filled == out.size()) {
            if (filled > kMaxLogBytes)
                return EFBIG;
            capacity = std::min(out.size() * 2, kMaxLogBytes + 1);
            out.resize(capacity);
        }
        const ssize_t n = ::read(fd, out.data() + filled, out.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    out.resize(filled);
    return 0;
}

} // namespace

LoadResult ReadLogFile(const std::string& path)
{
    if (path.empty())
        return LoadFailure(LoadStatus::CannotOpen, FileErrorText(FileErrorCause::BadPath, path));

    // O_NONBLOCK keeps the open itself from waiting on a FIFO without a
    // writer or on a device; it is cleared again once we know the file is a
    // regular one.
    UniqueFd fd(OpenRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0)
        return LoadFailure(LoadStatus::CannotOpen, FileErrorMessage(errno, path));

    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        return LoadFailure(LoadStatus::CannotOpen, FileErrorMessage(errno, path));
    if (!S_ISREG(st.st_mode))
        return LoadFailure(LoadStatus::CannotOpen, FileErrorText(FileErrorCause::AccessDenied, path));

    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return LoadFailure(LoadStatus::CannotOpen, FileErrorMessage(errno, path));

    if (st.st_size < 0 || static_cast<std::uintmax_t>(st.st_size) > kMaxLogBytes)
        return LoadFailure(LoadStatus::LoadFailed, std::string(kFileTooLargeText));
    const auto expected = static_cast<std::size_t>(st.st_size);

    LoadResult result;
    try {
        // Read even when the size is 0: some files (under /proc, for one)
        // report 0 and still have contents. A truly empty file simply ends at
        // once.
        const int err = ReadAll(fd.Get(), expected, result.bytes);
        if (err == EFBIG)
            return LoadFailure(LoadStatus::LoadFailed, std::string(kFileTooLargeText));
        if (err == ENOMEM)
            return LoadFailure(LoadStatus::LoadFailed, std::string(kFailedToOpenDocumentText));
        if (err != 0)
            return LoadFailure(LoadStatus::LoadFailed, FileErrorMessage(err, path));
    } catch (const std::bad_alloc&) {
        return LoadFailure(LoadStatus::LoadFailed, std::string(kFailedToOpenDocumentText));
    }
    if (result.bytes.size() < expected)
        return LoadFailure(LoadStatus::LoadFailed, std::string(kUnexpectedFileFormatText));

    result.status = LoadStatus::Ok;
    return result;
}

// ---------------------------------------------------------------------------
// Saving

const FileSystemCalls& FileSystemCalls::System()
{
    static const FileSystemCalls calls{
        [](int fd, const void* data, std::size_t size) { return ::write(fd, data, size); },
        [](int fd) { return ::fsync(fd); },
        [](int fd) { return ::fsync(fd); },
        [](int fd) { return ::close(fd); },
        [](const char* from, const char* to) { return ::rename(from, to); },
    };
    return calls;
}

namespace {

std::string DirName(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a save really writes: `path` with every symlink at its end
// followed, so that a linked log keeps its link. `exists` tells whether that
// file is there, and `st` holds its status when it is. Returns 0 or an errno.
int ResolveTarget(const std::string& path, std::string& resolved, bool& exists, struct stat& st)
{
    constexpr int kMaxLinks = 40; // as the kernel allows when it resolves a path
    std::string current = path;
    for (int links = 0;; ++links) {
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno != ENOENT)
                return errno;
            // A missing file (or a dangling link's target) becomes a new file.
            resolved = current;
            exists = false;
            return 0;
        }
        if (!S_ISLNK(st.st_mode)) {
            resolved = current;
            exists = true;
            return 0;
        }
        if (links == kMaxLinks)
            return ELOOP;

        std::string target(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) + PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0)
            return errno;
        target.resize(static_cast<std::size_t>(n));
        if (target.empty())
            return ENOENT;
        current = target.front() == '/' ? target : DirName(current) + "/" + target;
    }
}

// A file whose permission bits grant no write access to anyone is treated
// as read-only even for a user (root) whom the system would let write it.
bool WritableByUs(const std::string& path, const struct stat& st, int& err)
{
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        err = errno;
        return false;
    }
    if ((st.st_mode & 0222) == 0) {
        err = EACCES;
        return false;
    }
    return true;
}

std::string RandomSuffix()
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static unsigned counter = 0;
    unsigned char raw[6];
    if (::getrandom(raw, sizeof raw, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof raw)) {
        // Without random bytes, a mix of the time, the process and a counter
        // still gives distinct names; O_EXCL settles any clash.
        std::uint64_t v = static_cast<std::uint64_t>(::time(nullptr)) * 2654435761u
            ^ (static_cast<std::uint64_t>(::getpid()) << 20) ^ ++counter * 40503u;
        for (auto& b : raw) {
            b = static_cast<unsigned char>(v);
            v = (v >> 8) | (v << 56);
            v *= 6364136223846793005u;
        }
    }
    std::string s;
    for (unsigned char b : raw)
        s += kAlphabet[b % (sizeof kAlphabet - 1)];
    return s;
}

// Creates the hidden temporary file ".<name>.XXXXXX" beside `target`.
// Returns the descriptor, or -1 with errno set.
int CreateTemporary(const std::string& target, mode_t mode, std::string& tempPath)
{
    std::string name = BaseName(target);
    // Keep the temporary's own name within the file-name limit even when the
    // target's name nearly fills it.
    constexpr std::size_t kDecoration = 1 + 1 + 6; // ".", ".", suffix
    if (name.size() > NAME_MAX - kDecoration)
        name.resize(NAME_MAX - kDecoration);
    const std::string prefix = DirName(target) + "/." + name + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = prefix + RandomSuffix();
        const int fd = OpenRetrying(tempPath.c_str(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

SaveResult SaveFailure(int err, const std::string& path)
{
    SaveResult r;
    r.errorNumber = err;
    r.message = err != 0 ? FileErrorMessage(err, path) : std::string(kFailedToSaveDocumentText);
    return r;
}

// Removes the temporary file unless it has been renamed into place.
class TemporaryGuard {
public:
    explicit TemporaryGuard(const std::string& path) : m_path(path) {}
    TemporaryGuard(const TemporaryGuard&) = delete;
    TemporaryGuard& operator=(const TemporaryGuard&) = delete;
    ~TemporaryGuard()
    {
        if (m_armed)
            ::unlink(m_path.c_str());
    }
    void Disarm() { m_armed = false; }

private:
    const std::string& m_path;
    bool m_armed = true;
};

SaveResult WriteSafely(const std::string& path, std::string_view bytes, const FileSystemCalls& calls)
{
    if (path.empty())
        return SaveFailure(EINVAL, path);

    std::string target;
    bool exists = false;
    struct stat st {};
    if (const int err = ResolveTarget(path, target, exists, st))
        return SaveFailure(err, path);
    if (BaseName(target).empty())
        return SaveFailure(exists ? EISDIR : EINVAL, path);

    if (exists) {
        // Renaming over a folder, FIFO or device would replace it with a
        // plain file; a read-only log must not be replaced behind its back.
        if (!S_ISREG(st.st_mode))
            return SaveFailure(EACCES, path);
        int err = 0;
        if (!WritableByUs(target, st, err))
            return SaveFailure(err, path);
    }

    // A new file is created as open() would create it: 0666 less the umask.
    // For an existing one, start private and copy its permissions below.
    std::string tempPath;
    UniqueFd fd(CreateTemporary(target, exists ? 0600 : 0666, tempPath));
    if (fd.Get() < 0)
        return SaveFailure(errno, path);
    TemporaryGuard guard(tempPath);

    if (exists) {
        // Owner and group first: changing them may clear set-id bits, which
        // fchmod then puts back. Only the owner or a privileged user may give
        // the file away; anyone else keeps their own ownership.
        if (::fchown(fd.Get(), st.st_uid, st.st_gid) != 0 && errno != EPERM)
            return SaveFailure(errno, path);
        if (::fchmod(fd.Get(), st.st_mode & 07777) != 0)
            return SaveFailure(errno, path);
    }

    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = calls.write(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return SaveFailure(errno, path);
        }
        if (n == 0) // no progress and no reason given
            return SaveFailure(0, path);
        done += static_cast<std::size_t>(n);
    }

    int rc;
    do {
        rc = calls.fsync(fd.Get());
    } while (rc != 0 && errno == EINTR);
    if (rc != 0)
        return SaveFailure(errno, path);

    // close() may report a late write error; the descriptor is gone either way.
    if (calls.close(fd.Release()) != 0)
        return SaveFailure(errno, path);

    if (calls.rename(tempPath.c_str(), target.c_str()) != 0)
        return SaveFailure(errno, path);
    guard.Disarm();

    // Make the rename itself durable. A folder we may not open for reading,
    // or a file system that cannot sync folders, leaves nothing to do; an I/O
    // error here is reported although the new bytes are already in place.
    UniqueFd dir(OpenRetrying(DirName(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) {
        do {
            rc = calls.fsyncDirectory(dir.Get());
        } while (rc != 0 && errno == EINTR);
        if (rc != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP)
            return SaveFailure(errno, path);
    }

    SaveResult ok;
    ok.ok = true;
    return ok;
}

} // namespace

SaveResult WriteLogFileSafely(const std::string& path, std::string_view bytes)
{
    return WriteLogFileSafely(path, bytes, FileSystemCalls::System());
}

SaveResult WriteLogFileSafely(const std::string& path, std::string_view bytes,
                              const FileSystemCalls& calls)
{
    try {
        return WriteSafely(path, bytes, calls);
    } catch (const std::bad_alloc&) {
        return SaveFailure(0, path);
    }
}

bool IsWritableRegularFile(const std::string& path)
{
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    int err = 0;
    return WritableByUs(path, st, err);
}
