#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/language.h"

namespace arcavio {

// The language lines of the message, each used when the language file holds it (a shorter
// file is complete all the same) and otherwise given by its English text.
inline constexpr int kFailureSummaryLine = 169;      // "MAME could not run %1 (exit code %2: %3)."
inline constexpr int kFailureMissingFilesLine = 170; // "Missing files: %1 (%2 in all)"
inline constexpr int kFailureLastLinesLine = 171;    // "The last lines MAME wrote:"
inline constexpr int kFailureUnknownCodeLine = 172;  // an exit code MAME does not document
inline constexpr int kFailureFirstMeaningLine = 173; // 173 to 182: exit codes 1 to 10

// The message that tells why the emulator did not run a game, from its exit code and the last of
// what it wrote on standard error; nothing when it ended well or wrote nothing.
std::optional<std::string> emulatorFailureMessage(const Language& language, std::string_view game,
                                                  int exitCode, std::string_view errorOutput);

} // namespace arcavio
