#include "config/configuration.h"

#include "platform/filesystem.h"
#include "platform/readlimits.h"
#include "platform/textfiles.h"
#include "text/boundedtext.h"
#include "text/errors.h"
#include "text/integers.h"
#include "text/paths.h"

namespace arcavio {

const std::array<ConfigurationLine, kConfigurationLineCount> kConfigurationLines = {{
    {0, "emulator executable, full path", "mame", ValueForm::Text, ""},
    {1, "picture file of the configuration", "Image", ValueForm::Picture, ""},
    {2, "about text", "Edit1", ValueForm::Text, ""},
    {3, "run a specified game", "c21", ValueForm::Flag, "0"},
    {4, "the specified game's ROM archive", "game", ValueForm::Text, ""},
    {5, "ROMs directory", "dir1", ValueForm::Directory, "ROMS"},
    {6, "samples directory", "dir2", ValueForm::Directory, "samples"},
    {7, "cfg directory", "dir3", ValueForm::Directory, "cfg"},
    {8, "NVRAM directory", "dir4", ValueForm::Directory, "nvram"},
    {9, "memory cards directory", "dir5", ValueForm::Directory, "memcard"},
    {10, "input recordings directory", "dir6", ValueForm::Directory, "inp"},
    {11, "hi-score directory", "dir7", ValueForm::Directory, "hi"},
    {12, "states directory", "dir8", ValueForm::Directory, "sta"},
    {13, "artwork directory", "dir9", ValueForm::Directory, "artwork"},
    {14, "snapshot directory", "dir10", ValueForm::Directory, "snap"},
    {15, "cheat file", "file1", ValueForm::Text, "cheat.dat"},
    {16, "history file", "file2", ValueForm::Text, "history.dat"},
    {17, "MAME info file", "file3", ValueForm::Text, "mameinfo.dat"},
    {18, "auto frame skip", "c55", ValueForm::Flag, "1"},
    {19, "frame skip", "frameskip", ValueForm::Integer, "0"},
    {20, "wait for vertical sync", "c57", ValueForm::Flag, "0"},
    {21, "triple buffer", "c58", ValueForm::Flag, "0"},
    {22, "run in a window", "c59", ValueForm::Flag, "0"},
    {23, "use DirectDraw", "c60", ValueForm::Flag, "1"},
    {24, "hardware stretch", "c61", ValueForm::Flag, "1"},
    {25, "select the resolution automatically", "c62", ValueForm::Flag, "1"},
    {26, "resolution: width", "resolution1", ValueForm::Integer, "0"},
    {27, "resolution: height", "resolution2", ValueForm::Integer, "0"},
    {28, "resolution: colour depth", "resolution3", ValueForm::Integer, "0"},
    {29, "refresh rate", "refresh", ValueForm::Integer, "0"},
    {30, "scanlines", "c65", ValueForm::Flag, "0"},
    {31, "switch resolution", "c66", ValueForm::Flag, "1"},
    {32, "switch colour depth", "c67", ValueForm::Flag, "1"},
    {33, "keep aspect", "c68", ValueForm::Flag, "1"},
    {34, "match refresh", "c69", ValueForm::Flag, "0"},
    {35, "sync refresh", "c70", ValueForm::Flag, "0"},
    {36, "dirty", "c71", ValueForm::Flag, "1"},
    {37, "throttle", "c72", ValueForm::Flag, "0"},
    {38, "maximize", "c130", ValueForm::Flag, "0"},
    {39, "brightness in full screen", "brightness", ValueForm::NumberText, " 0.000000"},
    {40, "frames to run", "framestorun", ValueForm::Integer, "0"},
    {41, "use joystick", "c75", ValueForm::Flag, "0"},
    {42, "use mouse", "c76", ValueForm::Flag, "0"},
    {43, "use hot rod", "c77", ValueForm::Flag, "0"},
    {44, "use hot rod SE", "c78", ValueForm::Flag, "0"},
    {45, "bitmap depth", "bitmapdepth", ValueForm::Integer, "0"},
    {46, "no rotate", "c86", ValueForm::Flag, "0"},
    {47, "rotate left", "c87", ValueForm::Flag, "0"},
    {48, "rotate right", "c88", ValueForm::Flag, "0"},
    {49, "flip horizontally", "c89", ValueForm::Flag, "0"},
    {50, "flip vertically", "c90", ValueForm::Flag, "0"},
    {51, "select the debug resolution automatically", "c91", ValueForm::Flag, "1"},
    {52, "debug resolution: width", "dresolution1", ValueForm::Integer, "0"},
    {53, "debug resolution: height", "dresolution2", ValueForm::Integer, "0"},
    {54, "debug resolution: colour depth", "dresolution3", ValueForm::Integer, "0"},
    {55, "antialiasing (vector games)", "c94", ValueForm::Flag, "0"},
    {56, "translucency (vector games)", "c95", ValueForm::Flag, "0"},
    {57, "beam width (vector games)", "beam", ValueForm::NumberText, " 1.000000"},
    {58, "flicker (vector games)", "flicker", ValueForm::NumberText, " 0.000000"},
    {59, "sample rate", "samplerate", ValueForm::Integer, "44100"},
    {60, "use samples", "c99", ValueForm::Flag, "1"},
    {61, "resample filter", "c100", ValueForm::Flag, "1"},
    {62, "sound", "c101", ValueForm::Flag, "1"},
    {63, "volume, -32 to 0", "volume", ValueForm::Integer, "0"},
    {64, "artwork", "c103", ValueForm::Flag, "0"},
    {65, "cheats", "c104", ValueForm::Flag, "0"},
    {66, "debugger", "c105", ValueForm::Flag, "0"},
    {67, "log file", "c106", ValueForm::Flag, "0"},
    {68, "gamma correction", "gamma", ValueForm::NumberText, " 1.000000"},
}};

LineList defaultConfiguration()
{
    LineList lines;
    for (const auto& entry : kConfigurationLines)
        lines.append(std::string(entry.defaultValue));
    return lines;
}

std::int32_t integerValue(std::string_view value)
{
    return parseInteger(value);
}

std::string configurationPath(std::string_view directory, std::string_view name)
{
    return joinPath(directory, std::string(name) + std::string(kConfigurationExtension));
}

LineList readConfiguration(const std::string& path)
{
    return platform::readLines(path, platform::kConfigurationFileLimit);
}

std::string configurationText(const LineList& lines)
{
    LineList exact;
    for (int i = 0; i < kConfigurationLineCount; ++i) {
        const std::string& value = lines.at(i);
        if (breaksLine(value))
            throw RefusedValueError(
                "The value \"" + visibleValue(value) + "\" (line " + std::to_string(i) + ", " +
                std::string(kConfigurationLines[static_cast<std::size_t>(i)].meaning) +
                ") cannot be written into a configuration: it holds a line break or a zero byte");
        exact.append(value);
    }
    return exact.toText();
}

void writeConfiguration(const std::string& path, const LineList& lines)
{
    platform::replaceFile(path, configurationText(lines));
}

} // namespace arcavio
