#include "hack/DesktopImages.h"
#include "platform/ResourceText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string lowered(std::string_view text)
{
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

constexpr std::string_view Setting = "grabdesktopimages";

/** How closely a resource name fits XScreenSaver's grabDesktopImages: from
 *  its name ("xscreensaver.") down to any program ("*"); 0 when it does not. */
int closeness(std::string_view name)
{
    const std::string lower = lowered(name);
    if (!lower.ends_with(Setting))
        return 0;
    const std::string_view prefix = std::string_view(name).substr(0, name.size() - Setting.size());
    // Resource names are case-sensitive, bar the setting's own (its class
    // GrabDesktopImages fits as well as its name).
    static constexpr std::array<std::string_view, 6> Fits = {
        "*", "XScreenSaver*", "xscreensaver*", "?.", "XScreenSaver.", "xscreensaver."};
    const auto fit = std::ranges::find(Fits, prefix);
    return fit == Fits.end() ? 0 : int(fit - Fits.begin()) + 1;
}

/** What a resource text says of the setting; the closest fit wins, the later line among equals. */
std::optional<bool> inResources(std::string_view text)
{
    const platform::ResourceText resources(text); // what value points into
    const auto value = resources.closest(closeness);
    return value ? std::optional<bool>(resourceIsTrue(*value)) : std::nullopt;
}

/** What ~/.xscreensaver says: XScreenSaver writes its settings there by their bare names. */
std::optional<bool> inUserSettings(std::string_view text)
{
    std::optional<bool> said;
    const platform::ResourceText resources(text);
    for (const platform::ResourceEntry& entry : resources.entries())
        if (lowered(entry.name) == Setting)
            said = resourceIsTrue(entry.value);
    return said;
}

std::string fileText(const std::string& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

/** One entry of a file search path with its substitutions made: %N the
 *  class, %T the type, every other (language, suffix, customisation) empty. */
std::string expanded(std::string_view pattern)
{
    std::string path;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            path.push_back(pattern[i]);
            continue;
        }
        switch (pattern[++i]) {
        case 'N': path += "XScreenSaver"; break;
        case 'T': path += "app-defaults"; break;
        case '%': path += '%'; break;
        case ':': path += ':'; break;
        default: break;
        }
    }
    return path;
}

} // namespace

bool resourceIsTrue(std::string_view value)
{
    const std::string word = lowered(platform::trimmedResource(value));
    return word == "true" || word == "on" || word == "yes";
}

bool desktopImagesAllowed(const DesktopImageSources& sources)
{
    if (const auto said = inUserSettings(sources.userSettings))
        return *said;
    if (const auto said = inResources(sources.resources))
        return *said;
    return inResources(sources.appDefaults).value_or(true);
}

std::string appDefaultsFile(std::string_view searchPath)
{
    if (searchPath.empty())
        searchPath = "/etc/X11/%T/%N:/usr/share/X11/%T/%N:/usr/lib/X11/%T/%N";
    for (std::size_t at = 0; at <= searchPath.size();) {
        // A colon after a percent sign is part of the entry.
        std::size_t end = at;
        while (end < searchPath.size() && !(searchPath[end] == ':' && (end == at || searchPath[end - 1] != '%')))
            ++end;
        const std::string path = expanded(searchPath.substr(at, end - at));
        if (!path.empty() && std::ifstream(path).good())
            return path;
        at = end + 1;
    }
    return {};
}

DesktopImageSources desktopImageSources(platform::Platform& platform, const std::string& home)
{
    const char* searchPath = std::getenv("XFILESEARCHPATH");
    const std::string appDefaults = appDefaultsFile(searchPath ? searchPath : "");
    return {fileText(home + "/.xscreensaver"), platform.resourceDatabase(),
            appDefaults.empty() ? std::string() : fileText(appDefaults)};
}
