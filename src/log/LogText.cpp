#include "log/LogText.h"

#include <string>

#include "log/LogLimits.h"

// The marker is plain ASCII, and no UTF-8 multibyte sequence contains an
// ASCII byte, so a byte search finds exactly the character-level occurrences.
std::size_t FindEndOfLog(std::string_view text)
{
    return text.find(kEndOfLogMarker);
}

bool StripEndOfLog(TextHolder& holder)
{
    const std::string_view text = holder.Text();
    const std::size_t at = FindEndOfLog(text);
    if (at == std::string_view::npos)
        return false;
    // Copy first: the view into the holder dies when its text changes.
    const std::string kept(text.substr(0, at));
    holder.ReplaceAll(kept);
    return true;
}

void AppendQsoLine(TextHolder& holder, std::string_view line)
{
    holder.AppendAtEnd(line);
}

bool EnsureEndOfLog(TextHolder& holder)
{
    const std::string_view text = holder.Text();
    if (FindEndOfLog(text) != std::string_view::npos)
        return false;
    std::string stored;
    stored.reserve(text.size() + kEndOfLogLine.size());
    stored.append(text);
    stored.append(kEndOfLogLine);
    holder.ReplaceAll(stored);
    return true;
}
