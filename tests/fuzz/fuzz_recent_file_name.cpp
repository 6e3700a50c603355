// The recent-file names on the File menu: whatever the path and working
// folder, the name shown ends with the file's own name, is the whole path,
// the file's name alone or a shortened path within the length, and its menu
// text doubles every "&".
#include "FuzzCheck.h"
#include "app/RecentFileList.h"

#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

bool ValidUtf8(const std::string& s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

// Code points when the whole path is UTF-8, bytes otherwise; a loose count
// (lead bytes) is enough for a bound.
std::size_t Length(const std::string& s, bool utf8)
{
    if (!utf8)
        return s.size();
    return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::size_t maxLength = in.ConsumeIntegralInRange<std::size_t>(0, 64);
    const std::string currentDir = in.ConsumeRandomLengthString(48);
    const std::string path = in.ConsumeRemainingBytesAsString();

    const std::string shown = RecentFileDisplayName(path, currentDir, maxLength);
    const auto slash = path.rfind('/');
    const std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    FUZZ_CHECK(shown.size() >= title.size() && shown.compare(shown.size() - title.size(), title.size(), title) == 0);
    if (shown != path && shown != title) {
        // A shortened path: the first folder, "/...", the last folders and the name.
        FUZZ_CHECK(shown.find("/...") != std::string::npos);
        FUZZ_CHECK(Length(shown, ValidUtf8(path)) <= maxLength);
        FUZZ_CHECK(shown.size() < path.size());
    }

    const std::string menu = RecentFileMenuText(1, shown);
    FUZZ_CHECK(menu.compare(0, 3, "&1 ") == 0);
    FUZZ_CHECK(std::count(menu.begin(), menu.end(), '&') == 1 + 2 * std::count(shown.begin(), shown.end(), '&'));
    return 0;
}
