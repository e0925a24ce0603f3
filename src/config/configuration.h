#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/linelist.h"

namespace arcavio {

inline constexpr int kConfigurationLineCount = 69;
inline constexpr std::string_view kConfigurationExtension = ".av2";
inline constexpr std::string_view kConfigurationMask = "*.av2";

enum class ValueForm { Text, Picture, Flag, Integer, NumberText, Directory };

// One line of a configuration file: what it means, which editor control shows it, its form
// and the value a new configuration holds.
struct ConfigurationLine {
    int line;
    std::string_view meaning;
    std::string_view control; // objectName of the editor's control
    ValueForm form;
    std::string_view defaultValue;
};

// The 69 lines, in file order. The editor, Run and the tests all read this one table.
extern const std::array<ConfigurationLine, kConfigurationLineCount> kConfigurationLines;

// Named lines that commands read by number.
namespace line {
inline constexpr int Emulator = 0;
inline constexpr int Picture = 1;
inline constexpr int AboutText = 2;
inline constexpr int FixedGameFlag = 3;
inline constexpr int Game = 4;
inline constexpr int RomDirectory = 5;
inline constexpr int AutoFrameSkip = 18;
inline constexpr int AutoResolution = 25;
inline constexpr int AutoDebugResolution = 51;
inline constexpr int Volume = 63;
} // namespace line

inline constexpr int kVolumeMin = -32;
inline constexpr int kVolumeMax = 0;

// The 69 default lines of a new configuration.
LineList defaultConfiguration();

// Only an exact "1" is on.
inline bool flagOn(std::string_view value)
{
    return value == "1";
}
inline std::string flagText(bool on)
{
    return on ? "1" : "0";
}

// Signed 32-bit decimal; throws ConvertError.
std::int32_t integerValue(std::string_view value);
inline std::string integerText(std::int32_t value)
{
    return std::to_string(value);
}

// Directory, one separator, name, ".av2".
std::string configurationPath(std::string_view directory, std::string_view name);

// The lines of a configuration file; throws FileOpenError for a file that cannot be read or is
// larger than a configuration may be.
LineList readConfiguration(const std::string& path);

// Exactly 69 lines with CR LF, replacing the file; throws FileCreateError.
// Lines past 68 are dropped; a shorter list is an error of the caller (ListIndexError). A value
// with CR, LF or a zero byte would shift every later line: it throws RefusedValueError naming
// the value and its line, and nothing is written.
void writeConfiguration(const std::string& path, const LineList& lines);
// The bytes writeConfiguration writes, refusing the same values.
std::string configurationText(const LineList& lines);

} // namespace arcavio
