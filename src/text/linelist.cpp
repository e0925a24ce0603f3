#include "text/linelist.h"

#include "text/encoding.h"
#include "text/errors.h"

namespace arcavio {

LineList LineList::fromText(std::string_view text)
{
    if (const auto zero = text.find('\0'); zero != std::string_view::npos)
        text = text.substr(0, zero);
    LineList list;
    std::size_t start = 0;
    const std::size_t size = text.size();
    while (start < size) {
        const LineSpan line = lineAt(text, start);
        list.lines_.emplace_back(text.substr(start, line.end - start));
        start = line.next;
    }
    return list;
}

LineList LineList::fromBytes(std::string_view bytes)
{
    if (const auto zero = bytes.find('\0'); zero != std::string_view::npos)
        bytes = bytes.substr(0, zero);
    return fromText(decodeText(bytes));
}

std::string LineList::toText() const
{
    std::string text;
    std::size_t size = 3;
    for (const auto& line : lines_)
        size += line.size() + 2;
    text.reserve(size);
    // Reading skips a byte-order mark at the start: a first line that begins with that
    // character (a file read with two marks) keeps it only behind a mark of its own.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (!lines_.empty() && lines_.front().starts_with(kByteOrderMark))
        text += kByteOrderMark;
    for (const auto& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

const std::string& LineList::at(long long index) const
{
    if (index < 0 || index >= count())
        throw ListIndexError(index);
    return lines_[static_cast<std::size_t>(index)];
}

void LineList::set(long long index, std::string value)
{
    if (index < 0 || index >= count())
        throw ListIndexError(index);
    lines_[static_cast<std::size_t>(index)] = std::move(value);
}

LineSpan lineAt(std::string_view text, std::size_t start)
{
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    std::size_t next = end;
    if (next < text.size() && text[next] == '\r')
        ++next;
    if (next < text.size() && text[next] == '\n')
        ++next;
    return {end, next};
}

bool breaksLine(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

} // namespace arcavio
