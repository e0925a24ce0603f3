#include "text/boundedtext.h"

namespace arcavio {
namespace {

bool continuesACharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
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

} // namespace arcavio
