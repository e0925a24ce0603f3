#include "text/visibletext.h"

namespace arcavio {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";    // U+2026

// The length of a well-formed UTF-8 sequence at text[i], or 0.
std::size_t sequenceLength(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the allowed range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

void appendControlPicture(std::string& out, unsigned char c)
{
    // U+2400 + c for the C0 controls, U+2421 for DEL.
    const unsigned picture = c == 0x7F ? 0x2421 : 0x2400 + c;
    out += static_cast<char>(0xE0 | (picture >> 12));
    out += static_cast<char>(0x80 | ((picture >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (picture & 0x3F));
}

} // namespace

bool breaksLine(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string visibleValue(std::string_view text, std::size_t limit)
{
    std::string out;
    std::size_t shown = 0, i = 0;
    for (; i < text.size() && shown < limit; ++shown) {
        const std::size_t length = sequenceLength(text, i);
        const auto c = static_cast<unsigned char>(text[i]);
        if (length == 0)
            out += kReplacement;
        else if (c < 0x20 || c == 0x7F)
            appendControlPicture(out, c);
        else
            out.append(text.substr(i, length));
        i += length == 0 ? 1 : length;
    }
    if (i < text.size())
        out += kEllipsis;
    return out;
}

} // namespace arcavio
