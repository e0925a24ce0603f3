#pragma once

#include <string>
#include <string_view>

#include "text/linelist.h"

namespace arcavio {

// The lines of a complete language file: 0 to 165.
inline constexpr int kLanguageLineCount = 166;
// The caption of "Import Game Names…", added after the file's lines were fixed: a file without
// it is complete all the same, so it is read only when the file holds it. The lines after it
// follow the same rule.
inline constexpr int kImportNamesLine = 166;
// "Check ROM Sets…", by the same rule.
inline constexpr int kCheckSetsLine = 167;
// The select-game list's menu item "Only sets that will run", by the same rule.
inline constexpr int kOnlyRunnableSetsLine = 183;
// "Check ROM Sets…" without a selected configuration.
inline constexpr int kCheckSetsNeedsConfigurationLine = 184;
// The hint of an editor setting that the configuration's emulator has no counterpart for: "Not
// used by %1", the emulator's name and version. (167 names the menu item of the set check.)
inline constexpr int kNotTakenByEmulatorLine = 168;

// The built-in English text of language line N (the text a window keeps when no language
// file is loaded), for lines 0 to 166. Lines that are never read give the empty text.
std::string_view builtinText(int line);

// Lines 132 and 152 have a second built-in text by use.
inline constexpr std::string_view kBuiltinNameDialogCaption = "Save As"; // line 132
inline constexpr std::string_view kBuiltinEditorExeWarning =
    "WARNING: MAME Exe file does not exists."; // line 152

// The lines of language.ini, as the main window holds them in `lang`.
class Language {
  public:
    Language() = default;
    explicit Language(LineList lines) : lines_(std::move(lines)) {}

    // Loaded when at least one line is held; only then do windows take their texts from it.
    bool loaded() const { return !lines_.empty(); }
    // Throws ListIndexError when the file is too short.
    const std::string& line(int number) const { return lines_.at(number); }
    // The language line when a file is loaded, otherwise the given built-in text.
    std::string text(int number, std::string_view builtin) const
    {
        return loaded() ? line(number) : std::string(builtin);
    }
    std::string text(int number) const { return text(number, builtinText(number)); }
    // Whether the file has line N: for a line a complete file may lack (kImportNamesLine).
    bool holds(int number) const { return number >= 0 && number < lines_.count(); }

    const LineList& lines() const { return lines_; }
    void setLines(LineList lines) { lines_ = std::move(lines); }

  private:
    LineList lines_;
};

} // namespace arcavio

namespace arcavio {

// The main window's lines in the order its creation reads them: caption, menus, button hints,
// the title of its open-file dialog. A short file applies what comes before the first gap.
inline constexpr int kMainWindowLanguageOrder[] = {0,  1,  2,  148, 15, 16,  4,   5,   6,   7,   8,   9,
                                                   10, 11, 12, 13,  14, 142, 143, 144, 145, 146, 147, 113};

} // namespace arcavio
