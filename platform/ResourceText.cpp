#include "platform/ResourceText.h"

#include <algorithm>

namespace platform {

namespace {

constexpr std::string_view Blanks = " \t\r\n";

/** The text with continued lines joined, each line ending in a newline. */
std::string joinedLines(std::string_view text)
{
    std::string joined;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.back() == '\\') {
            joined.append(line.substr(0, line.size() - 1));
            continue;
        }
        joined.append(line).push_back('\n');
    }
    // A continued last line still ends the text.
    if (!joined.empty() && joined.back() != '\n')
        joined.push_back('\n');
    return joined;
}

} // namespace

std::string_view trimmedResource(std::string_view text)
{
    const auto first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

ResourceText::ResourceText(std::string_view text) : joined_(joinedLines(text))
{
    const std::string_view joined = joined_;
    for (std::size_t at = 0; at < joined.size();) {
        const std::size_t end = joined.find('\n', at);
        const std::string_view line = trimmedResource(joined.substr(at, end - at));
        at = end + 1;
        const auto colon = line.find(':');
        if (line.empty() || line.front() == '!' || line.front() == '#' || colon == line.npos)
            continue;
        entries_.push_back({trimmedResource(line.substr(0, colon)), line.substr(colon + 1)});
    }
}

std::optional<std::string_view> ResourceText::closest(const std::function<int(std::string_view)>& fit) const
{
    int best = 0;
    std::optional<std::string_view> value;
    for (const ResourceEntry& entry : entries_)
        if (const int closeness = fit(entry.name); closeness > 0 && closeness >= best) {
            best = closeness;
            value = entry.value;
        }
    return value;
}

} // namespace platform
