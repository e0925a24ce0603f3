// Paths in both styles, and the masks that choose files. The input's fields, cut at zero
// bytes, are a path, a mask and a name.
#include <string>
#include <vector>

#include "fuzzing.h"
#include "platform/filesystem.h"
#include "text/paths.h"

using namespace arcavio;

namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Matching by the table of every prefix of the name against every prefix of the mask.
bool plainMatch(std::string_view name, std::string_view mask)
{
    std::vector<std::vector<bool>> match(mask.size() + 1, std::vector<bool>(name.size() + 1, false));
    match[0][0] = true;
    for (std::size_t m = 1; m <= mask.size(); ++m) {
        const char c = mask[m - 1];
        match[m][0] = c == '*' && match[m - 1][0];
        for (std::size_t n = 1; n <= name.size(); ++n) {
            if (c == '*')
                match[m][n] = match[m - 1][n] || match[m][n - 1];
            else
                match[m][n] = match[m - 1][n - 1] && (c == '?' || lower(c) == lower(name[n - 1]));
        }
    }
    return match[mask.size()][name.size()];
}

void checkPath(std::string_view path, std::string_view other, PathStyle style)
{
    const char separator = arcavio::separator(style);
    const auto isSeparator = [&](char c) {
        return c == separator || (style == PathStyle::Windows && c == ':');
    };

    const std::string file = fileNamePart(path, style);
    FUZZ_CHECK(path.ends_with(file));
    for (char c : file)
        FUZZ_CHECK(!isSeparator(c));
    const std::string directory = directoryPart(path, style);
    FUZZ_CHECK(path.starts_with(directory));
    FUZZ_CHECK(hasDirectoryPart(path, style) == (file.size() < path.size()));
    if (!hasDirectoryPart(path, style))
        FUZZ_CHECK(directory.empty());

    const std::string extension = extensionOf(path, style);
    const std::string stem = removeExtension(path, style);
    FUZZ_CHECK(path.starts_with(stem));
    if (stem.size() < path.size())
        FUZZ_CHECK(stem + "." + extension == path);
    else
        FUZZ_CHECK(extension.empty());
    FUZZ_CHECK(extension.find('.') == std::string::npos);

    const std::string joined = joinPath(path, other, style);
    FUZZ_CHECK(joined.starts_with(path) && joined.ends_with(other));
}

} // namespace

ARCAVIO_FUZZ_TARGET
{
    const auto parts = fuzz::fields(input, 3);
    const std::string_view path = parts[0], mask = parts[1], name = parts[2];
    checkPath(path, name, PathStyle::Windows);
    checkPath(path, name, PathStyle::Posix);
    if (name.size() * mask.size() <= 1 << 20) {
        FUZZ_CHECK(matchesMask(name, mask) == plainMatch(name, mask));
        FUZZ_CHECK(matchesMask(path, mask) == plainMatch(path, mask));
    }
    FUZZ_CHECK(matchesMask(name, "*"));
    if (name.find_first_of("*?") == std::string_view::npos)
        FUZZ_CHECK(matchesMask(name, name));
}
