#include "launch/optionfile.h"

#include "text/boundedtext.h"
#include "text/errors.h"

namespace arcavio {

// The order is the emulator's, not the configuration's: maximize follows switchbpp, the
// input devices run backwards, ror precedes rol and gamma precedes antialias.
const std::array<OptionLine, kOptionFileLineCount> kOptionFileLines = {{
    {"rompath", {5, -1, -1}},
    {"samplepath", {6, -1, -1}},
    {"cfg_directory", {7, -1, -1}},
    {"nvram_directory", {8, -1, -1}},
    {"memcard_directory", {9, -1, -1}},
    {"input_directory", {10, -1, -1}},
    {"hiscore_directory", {11, -1, -1}},
    {"state_directory", {12, -1, -1}},
    {"artwork_directory", {13, -1, -1}},
    {"snapshot_directory", {14, -1, -1}},
    {"cheat_file", {15, -1, -1}},
    {"history_file", {16, -1, -1}},
    {"mameinfo_file", {17, -1, -1}},
    {"autoframeskip", {18, -1, -1}},
    {"frameskip", {19, -1, -1}},
    {"waitvsync", {20, -1, -1}},
    {"triplebuffer", {21, -1, -1}},
    {"window", {22, -1, -1}},
    {"ddraw", {23, -1, -1}},
    {"hwstretch", {24, -1, -1}},
    {"resolution", {26, 27, 28}},
    {"refresh", {29, -1, -1}},
    {"scanlines", {30, -1, -1}},
    {"switchres", {31, -1, -1}},
    {"switchbpp", {32, -1, -1}},
    {"maximize", {38, -1, -1}},
    {"keepaspect", {33, -1, -1}},
    {"matchrefresh", {34, -1, -1}},
    {"syncrefresh", {35, -1, -1}},
    {"dirty", {36, -1, -1}},
    {"throttle", {37, -1, -1}},
    {"full_screen_brightness", {39, -1, -1}},
    {"frames_to_run", {40, -1, -1}},
    {"hotrod", {43, -1, -1}},
    {"hotrodse", {44, -1, -1}},
    {"mouse", {42, -1, -1}},
    {"joystick", {41, -1, -1}},
    {"bpp", {45, -1, -1}},
    {"norotate", {46, -1, -1}},
    {"ror", {48, -1, -1}},
    {"rol", {47, -1, -1}},
    {"flipx", {49, -1, -1}},
    {"flipy", {50, -1, -1}},
    {"debug_resolution", {52, 53, 54}},
    {"gamma", {68, -1, -1}},
    {"antialias", {55, -1, -1}},
    {"translucency", {56, -1, -1}},
    {"beam", {57, -1, -1}},
    {"flicker", {58, -1, -1}},
    {"samplerate", {59, -1, -1}},
    {"samples", {60, -1, -1}},
    {"resamplefilter", {61, -1, -1}},
    {"sound", {62, -1, -1}},
    {"volume", {63, -1, -1}},
    {"artwork", {64, -1, -1}},
    {"cheat", {65, -1, -1}},
    {"debug", {66, -1, -1}},
    {"log", {67, -1, -1}},
    {"readconfig 1", {-1, -1, -1}},
}};

void requireOptionLine(std::string_view option, std::string_view value)
{
    if (breaksLine(value))
        throw RefusedValueError("The value \"" + visibleValue(value) + "\" of " + std::string(option) +
                                " cannot be written into mame.ini: it holds a line break or a zero byte");
}

void buildOptionFile(const LineList& configuration, LineList& optionFile)
{
    optionFile.clear();
    for (const OptionLine& option : kOptionFileLines) {
        if (option.lines[0] < 0) {
            optionFile.append(std::string(option.name));
            continue;
        }
        const auto value = [&](int line) -> const std::string& {
            const std::string& text = configuration.at(line);
            requireOptionLine(option.name, text);
            return text;
        };
        std::string text = std::string(option.name) + " " + value(option.lines[0]);
        for (std::size_t i = 1; i < option.lines.size() && option.lines[i] >= 0; ++i)
            text += "x" + value(option.lines[i]);
        optionFile.append(std::move(text));
    }
}

} // namespace arcavio
