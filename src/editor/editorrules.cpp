#include "editor/editorrules.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "text/errors.h"
#include "text/integers.h"

namespace arcavio {

std::int32_t clampToBounds(std::int64_t value, SpinBounds bounds)
{
    std::int64_t low = std::numeric_limits<std::int32_t>::min();
    std::int64_t high = std::numeric_limits<std::int32_t>::max();
    if (bounds.bounded()) {
        low = bounds.min;
        high = bounds.max;
    }
    return static_cast<std::int32_t>(std::clamp(value, low, high));
}

std::int32_t spinValueOfText(std::string_view text, SpinBounds bounds)
{
    try {
        return clampToBounds(parseInteger(text), bounds);
    } catch (const ConvertError&) {
        return bounds.min;
    }
}

bool spinFieldAcceptsCharacter(char32_t c, char32_t decimalSeparator)
{
    if (c < 32)
        return c != '\r';
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == decimalSeparator;
}

std::string gameSearchDirectory(std::string_view romsField, std::string_view emulatorField, PathStyle style)
{
    if (hasDirectoryPart(romsField, style))
        return std::string(romsField);
    return directoryPart(emulatorField, style) + separator(style) + std::string(romsField);
}

std::string missingDirectoryMessage(const Language& language, std::string_view path)
{
    const std::string before = language.text(140);
    const std::string after = language.text(141);
    return before + std::string(path) + after;
}

namespace {

std::vector<int> buildLanguageOrder()
{
    std::vector<int> order;
    auto range = [&order](int first, int last) {
        for (int n = first; n <= last; ++n)
            order.push_back(n);
    };
    range(17, 78);
    range(85, 106);
    order.push_back(112);
    range(115, 124);
    range(126, 128);
    order.push_back(130);
    range(79, 84);
    range(107, 109);
    order.push_back(159);
    for (int n : {111, 113, 114, 131})
        order.push_back(n);
    return order;
}

} // namespace

std::span<const int> editorLanguageLines()
{
    static const std::vector<int> order = buildLanguageOrder();
    return order;
}

void applyEditorLanguage(const Language& language, const std::function<void(int, const std::string&)>& apply)
{
    if (!language.loaded())
        return;
    for (int n : editorLanguageLines())
        apply(n, language.line(n));
}

std::string executableDialogFilter()
{
    if constexpr (kNativeStyle == PathStyle::Windows)
        return "MAME Exe Files (*mame*.exe);;Exe Files (*.exe);;All Files (*.*)";
    else
        return "MAME Exe Files (*mame*);;Exe Files (*);;All Files (*)";
}

std::string datDialogFilter()
{
    if constexpr (kNativeStyle == PathStyle::Windows)
        return "DAT Files (*.dat);;All Files (*.*)";
    else
        return "DAT Files (*.dat);;All Files (*)";
}

} // namespace arcavio
