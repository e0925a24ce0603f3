#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "base/language.h"
#include "config/configuration.h"
#include "text/paths.h"

namespace arcavio {

// A spin field's range. Both ends 0 means unbounded; the lower end is still what a text that
// is not an integer stands for.
struct SpinBounds {
    std::int32_t min = 0;
    std::int32_t max = 0;
    bool bounded() const { return min != max; }
};

inline constexpr SpinBounds kUnbounded{};
inline constexpr SpinBounds kVolumeBounds{kVolumeMin, kVolumeMax};

// The value kept within the bounds (and within 32 bits when unbounded).
std::int32_t clampToBounds(std::int64_t value, SpinBounds bounds);
// What a spin field's text is worth: the integer it holds, clamped, or the lower bound.
std::int32_t spinValueOfText(std::string_view text, SpinBounds bounds);
// Typing into a spin field: digits, "+", "-" and the decimal separator, plus control
// characters other than Enter. Anything else is refused with a beep.
bool spinFieldAcceptsCharacter(char32_t c, char32_t decimalSeparator);

// The directory the game search lists: the ROMs field when it has a directory part, else the
// emulator's directory, a separator and the ROMs field.
std::string gameSearchDirectory(std::string_view romsField, std::string_view emulatorField,
                                PathStyle style = kNativeStyle);
// The message when that directory is missing: lines 140 and 141 around the path, or the
// built-in text. Throws ListIndexError when a loaded language file lacks either line.
std::string missingDirectoryMessage(const Language& language, std::string_view path);

// The language lines an editor takes at creation, in the order read.
std::span<const int> editorLanguageLines();
// Hands each of those lines to apply, in order, when a language file is loaded; the first
// missing line throws ListIndexError and ends it.
void applyEditorLanguage(const Language& language,
                         const std::function<void(int line, const std::string& text)>& apply);

// The name filters of the executable and DAT file dialogs.
std::string executableDialogFilter();
std::string datDialogFilter();

} // namespace arcavio
