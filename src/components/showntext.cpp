#include "components/showntext.h"

#include "text/boundedtext.h"

namespace arcavio {
namespace {

QString shown(std::string_view text, std::size_t limit)
{
    const std::string bounded = boundedText(text, limit);
    return QString::fromUtf8(bounded.data(), static_cast<qsizetype>(bounded.size()));
}

} // namespace

QString shownLine(std::string_view text)
{
    return shown(text, kShownLineLimit);
}

QString shownMessage(std::string_view text)
{
    return shown(text, kShownMessageLimit);
}

} // namespace arcavio
