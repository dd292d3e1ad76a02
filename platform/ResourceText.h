#pragma once
// The text of an X resource database (what xrdb loads, an app-defaults file,
// ~/.xscreensaver): "name: value" lines, read the way the X toolkit does.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/** The text without blanks (spaces, tabs, line ends) at either end. */
std::string_view trimmedResource(std::string_view text);

/** One "name: value" line: the name with blanks trimmed, the value as written. */
struct ResourceEntry {
    std::string_view name;
    std::string_view value;
};

/** A resource text's entries in order, lines continued with a final backslash
 *  joined first, comments ("!" or "#") and lines without a colon left out.
 *  The entries point into the text they were read from. */
class ResourceText {
public:
    explicit ResourceText(std::string_view text);

    const std::vector<ResourceEntry>& entries() const { return entries_; }

    /** The value of the entry whose name fits best (fit gives 0 for no fit, more
     *  for a closer one), the later line among equals; none when nothing fits. */
    std::optional<std::string_view> closest(const std::function<int(std::string_view)>& fit) const;

private:
    std::string joined_;
    std::vector<ResourceEntry> entries_;
};

} // namespace platform
