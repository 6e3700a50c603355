#include "log/HeaderTemplate.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kCtrlZ = '\x1A';

// Closes a file descriptor on every way out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// The file's bytes up to the cap, or the empty string when it cannot be read.
// A read error part-way through drops the whole template: a half header is
// worse than none, because the operator would not notice what is missing.
std::string ReadRegularFile(const char* name, std::size_t cap)
{
    // O_NONBLOCK: opening a FIFO with no writer must not hang the program.
    const FileDescriptor file(::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return {};
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};

    std::string bytes;
    std::size_t expected = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
    if (expected > cap)
        expected = cap;
    // One more byte than the size says, so a file that grew meanwhile is
    // still read to its end (up to the cap) without a second allocation.
    bytes.resize(expected < cap ? expected + 1 : cap);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() >= cap)
                break;
            bytes.resize(std::min(cap, bytes.size() * 2 + 4096));
        }
        const ssize_t n = ::read(file.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return {};
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

} // namespace

std::string ParseHeaderTemplate(std::string_view fileBytes)
{
    const std::size_t end = fileBytes.find(kCtrlZ);
    if (end != std::string_view::npos)
        fileBytes = fileBytes.substr(0, end);

    std::string result;
    result.reserve(fileBytes.size() + fileBytes.size() / 16 + 2);
    while (!fileBytes.empty()) {
        const std::size_t lf = fileBytes.find('\n');
        std::string_view line = fileBytes.substr(0, lf);
        // CR LF reads as one line end; a CR anywhere else is part of the line.
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        result.append(line);
        result.append("\r\n");
        if (lf == std::string_view::npos)
            break;
        fileBytes.remove_prefix(lf + 1);
    }
    return result;
}

std::string LoadHeaderTemplate()
{
    return ParseHeaderTemplate(ReadRegularFile(kHeaderTemplateFileName, kMaxHeaderTemplateBytes));
}
