#include "text/boundedtext.h"

#include <algorithm>

#include "text/encoding.h"

namespace arcavio {
namespace {

bool continuesACharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// U+2400 + c for the C0 controls, U+2421 for DEL.
char32_t controlPicture(unsigned char c)
{
    return c == 0x7F ? 0x2421 : 0x2400 + c;
}

} // namespace

std::string boundedText(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return std::string(text);
    // A character is at most four bytes long; a longer run of continuation bytes is not
    // UTF-8 and is cut where it stands.
    std::size_t cut = maxBytes;
    for (int back = 0; back < 3 && cut > 0 && continuesACharacter(text[cut]); ++back)
        --cut;
    if (continuesACharacter(text[cut]))
        cut = maxBytes;
    std::string bounded(text.substr(0, cut));
    bounded += kEllipsis;
    return bounded;
}

std::string visibleValue(std::string_view text, std::size_t limit)
{
    std::string out;
    std::size_t shown = 0, i = 0;
    for (; i < text.size() && shown < limit; ++shown) {
        const std::size_t length = utf8CharacterLength(text, i);
        const auto c = static_cast<unsigned char>(text[i]);
        if (length == 0)
            out += kReplacement;
        else if (c < 0x20 || c == 0x7F)
            appendUtf8(out, controlPicture(c));
        else
            out.append(text.substr(i, length));
        i += length == 0 ? 1 : length;
    }
    if (i < text.size())
        out += kEllipsis;
    return out;
}

std::string firstLinesShown(std::string_view text, std::size_t count)
{
    std::string lines;
    std::size_t shown = 0;
    for (std::size_t start = 0; start < text.size() && shown < count;) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos)
            continue;
        line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
        lines += '\n';
        lines += visibleValue(line, kQuotedValueLimit);
        ++shown;
    }
    return lines;
}

} // namespace arcavio
