#include "app/RecentFileList.h"

#include <algorithm>
#include <string_view>

void RecentFileList::Add(const std::string& fullPath)
{
    if (fullPath.empty())
        return;
    auto it = std::find(m_entries.begin(), m_entries.end(), fullPath);
    if (it != m_entries.end()) {
        std::rotate(m_entries.begin(), it, it + 1);
        return;
    }
    m_entries.insert(m_entries.begin(), fullPath);
    if (m_entries.size() > kCapacity)
        m_entries.resize(kCapacity);
}

void RecentFileList::Remove(std::size_t index)
{
    if (index < m_entries.size())
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
}

void RecentFileList::SetEntries(std::vector<std::string> entries)
{
    m_entries.clear();
    for (auto& e : entries) {
        if (m_entries.size() == kCapacity)
            break;
        if (e.empty() || std::find(m_entries.begin(), m_entries.end(), e) != m_entries.end())
            continue;
        m_entries.push_back(std::move(e));
    }
}

namespace {

bool IsValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra;
        unsigned min;
        unsigned cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (s.size() - i <= extra)
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

// Characters in `s`: code points when counting UTF-8, bytes otherwise.
std::size_t Length(std::string_view s, bool utf8)
{
    if (!utf8)
        return s.size();
    return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

std::string RecentFileDisplayName(const std::string& fullPath, const std::string& currentDir,
                                  std::size_t maxLength)
{
    const auto lastSlash = fullPath.rfind('/');
    if (lastSlash == std::string::npos)
        return fullPath;
    const std::string title = fullPath.substr(lastSlash + 1);

    std::string_view dir(fullPath.data(), lastSlash == 0 ? 1 : lastSlash);
    std::string_view cwd(currentDir);
    while (cwd.size() > 1 && cwd.back() == '/')
        cwd.remove_suffix(1);
    if (!cwd.empty() && dir == cwd)
        return title;

    const bool utf8 = IsValidUtf8(fullPath);
    if (Length(fullPath, utf8) <= maxLength)
        return fullPath;
    if (Length(title, utf8) > maxLength)
        return title;

    // The part that always stays: the root and the first folder ("/home"),
    // or just the first folder of a relative path.
    const auto volumeEnd = fullPath.find('/', fullPath.front() == '/' ? 1 : 0);
    if (volumeEnd == std::string::npos || volumeEnd >= lastSlash)
        return title; // no folders between the first one and the file to drop
    const std::string_view volume(fullPath.data(), volumeEnd);
    constexpr std::string_view kEllipsis = "/...";

    // Drop the folders after the first one, one at a time from the left,
    // until the shortened form fits in the limit.
    for (auto cut = fullPath.find('/', volumeEnd + 1); cut != std::string::npos;
         cut = fullPath.find('/', cut + 1)) {
        const std::string_view rest(fullPath.data() + cut, fullPath.size() - cut);
        if (Length(volume, utf8) + kEllipsis.size() + Length(rest, utf8) <= maxLength) {
            std::string shown(volume);
            shown += kEllipsis;
            shown += rest;
            return shown;
        }
    }
    return title;
}

std::string RecentFileMenuText(int number, const std::string& displayName)
{
    std::string text = "&" + std::to_string(number) + " ";
    for (char c : displayName) {
        text += c;
        if (c == '&')
            text += '&';
    }
    return text;
}
