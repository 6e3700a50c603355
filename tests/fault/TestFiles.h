#pragma once
// Plain POSIX file helpers for the fault tests, independent of the code
// under test.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fault {

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Compares large byte strings without printing them whole: the size and
// the first difference say enough.
inline std::string Difference(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return "";
    std::size_t i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i])
        ++i;
    return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size()) +
        ", first difference at byte " + std::to_string(i);
}

inline std::vector<std::string> ListFolder(const std::string& dir)
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

// A fresh folder with its real path (no symlinks in it), removed at the end.
class TempFolder {
public:
    TempFolder()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vorlisk-fault-XXXXXX").string();
        if (::mkdtemp(tmpl.data()))
            m_path = std::filesystem::canonical(tmpl).string();
    }
    ~TempFolder()
    {
        std::error_code ec;
        for (auto& e : std::filesystem::recursive_directory_iterator(m_path, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Awkward bytes: NUL, lone CR and LF, CR LF, Ctrl-Z, bytes that are not
// UTF-8, and plain text, in random runs.
inline std::string AwkwardBytes(std::uint64_t seed, std::size_t size)
{
    std::uint64_t x = seed * 0x9E3779B97F4A7C15ull + 0x1234567;
    const auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        return x;
    };
    static const std::string kPieces[] = {
        std::string(1, '\0'), "\r", "\n", "\r\n", "\x1a", "\xff", "\xc0\xaf", "\x80", "\xe2\x82",
        "\xed\xa0\x80", "\xc3\xa9", "QSO: 14000 CW ", "\t", "END-OF-LOG ", "END-OF-LOG\r\n"}; // never the marker itself
    std::string s;
    s.reserve(size);
    while (s.size() < size) {
        const std::uint64_t r = next();
        if ((r & 1) == 0)
            s += kPieces[(r >> 1) % std::size(kPieces)];
        else
            s.push_back(static_cast<char>(r >> 8));
    }
    s.resize(size);
    return s;
}

} // namespace fault
