#include "components/hyperlinkrules.h"

namespace arcavio {

namespace {

std::string& customPrefix()
{
    static std::string prefix;
    return prefix;
}

std::string firstCharacters(std::string_view text, std::size_t count)
{
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size() && characters < count; ++characters) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    return std::string(text.substr(0, end));
}

} // namespace

std::string linkPrefix(HyperlinkType type)
{
    switch (type) {
    case HyperlinkType::ltEmail:
        return "mailto:";
    case HyperlinkType::ltFile:
        return "file://";
    case HyperlinkType::ltGopher:
        return "gopher://";
    case HyperlinkType::ltHttp:
        return "http://";
    case HyperlinkType::ltNews:
        return "news:";
    case HyperlinkType::ltWais:
        return "wais:";
    case HyperlinkType::ltTelnet:
        return "telnet:";
    case HyperlinkType::ltCustom:
        return customPrefix();
    }
    return {};
}

const std::string& sharedCustomPrefix()
{
    return customPrefix();
}

bool setSharedCustomPrefix(std::string_view prefix)
{
    if (prefix == customPrefix())
        return false;
    customPrefix() = firstCharacters(prefix, kCustomPrefixLength);
    return true;
}

std::string linkTarget(HyperlinkType type, std::string_view caption)
{
    return linkPrefix(type) + std::string(caption);
}

} // namespace arcavio
