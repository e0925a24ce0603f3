#include "emulator/mameoptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "config/configuration.h"
#include "text/boundedtext.h"
#include "text/errors.h"

namespace arcavio {
namespace {

using T = MameTurn;
constexpr std::array<int, 3> one(int line)
{
    return {line, -1, -1};
}
constexpr std::array<int, 3> kNoLines = {-1, -1, -1};

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool parsedInteger(std::string_view text, long long& value)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool parsedNumber(std::string_view text, double& value)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    // The editor's own number fields may hold a decimal comma.
    std::string copy(text);
    for (char& c : copy)
        if (c == ',')
            c = '.';
    const auto [end, error] = std::from_chars(copy.data(), copy.data() + copy.size(), value);
    return error == std::errc() && end == copy.data() + copy.size() && !copy.empty() && std::isfinite(value);
}

std::string numberText(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    std::string text = buffer;
    if (text.find_first_of(".e") == std::string::npos)
        text += ".0";
    return text;
}

} // namespace

// Ranges are those MAME 0.251 reports when a value falls outside ("must be between ...").
const std::array<MameOptionRow, kMameOptionRowCount> kMameOptionRows = {{
    {"rompath", one(5), {"rompath", {}}, T::Text},
    {"samplepath", one(6), {"samplepath", {}}, T::Text},
    {"cfg_directory", one(7), {"cfg_directory", {}}, T::Text},
    {"nvram_directory", one(8), {"nvram_directory", {}}, T::Text},
    {"memcard_directory", one(9), {}, T::None},
    {"input_directory", one(10), {"input_directory", {}}, T::Text},
    {"hiscore_directory", one(11), {}, T::None},
    {"state_directory", one(12), {"state_directory", {}}, T::Text},
    {"artwork_directory", one(13), {"artpath", {}}, T::Text},
    {"snapshot_directory", one(14), {"snapshot_directory", {}}, T::Text},
    {"cheat_file", one(15), {}, T::None},
    {"history_file", one(16), {}, T::None},
    {"mameinfo_file", one(17), {}, T::None},
    {"autoframeskip", one(18), {"autoframeskip", {}}, T::Flag},
    {"frameskip", one(19), {"frameskip", {}}, T::Integer, 0, 10},
    {"waitvsync", one(20), {"waitvsync", {}}, T::Flag},
    {"triplebuffer", one(21), {}, T::None},
    {"window", one(22), {"window", {}}, T::Flag},
    {"ddraw", one(23), {}, T::None},
    {"hwstretch", one(24), {}, T::None},
    {"resolution", {26, 27, 29}, {"resolution", {}}, T::Resolution},
    {"refresh", one(29), {}, T::None}, // goes with the resolution, as its "@rate"
    {"scanlines", one(30), {}, T::None},
    {"switchres", one(31), {"switchres", {}}, T::Flag},
    {"switchbpp", one(32), {}, T::None},
    {"maximize", one(38), {"maximize", {}}, T::Flag},
    {"keepaspect", one(33), {"keepaspect", {}}, T::Flag},
    {"matchrefresh", one(34), {}, T::None},
    {"syncrefresh", one(35), {"syncrefresh", {}}, T::Flag},
    {"dirty", one(36), {}, T::None},
    {"throttle", one(37), {"throttle", {}}, T::Flag},
    {"full_screen_brightness", one(39), {"brightness", {}}, T::Number, 0.1, 2.0},
    {"frames_to_run", one(40), {}, T::None},
    {"hotrod", one(43), {"ctrlr", {}}, T::Controller, 0, 0, "hotrod"},
    {"hotrodse", one(44), {"ctrlr", {}}, T::Controller, 0, 0, "hotrodse"},
    {"mouse", one(42), {"mouse", {}}, T::Flag},
    {"joystick", one(41), {"joystick", {}}, T::Flag},
    {"bpp", one(45), {}, T::None},
    {"norotate", one(46), {"rotate", {}}, T::NotFlag},
    {"ror", one(48), {"ror", {}}, T::Flag},
    {"rol", one(47), {"rol", {}}, T::Flag},
    {"flipx", one(49), {"flipx", {}}, T::Flag},
    {"flipy", one(50), {"flipy", {}}, T::Flag},
    {"debug_resolution", {52, 53, 54}, {}, T::None},
    {"gamma", one(68), {"gamma", {}}, T::Number, 0.1, 3.0},
    {"antialias", one(55), {}, T::None},
    {"translucency", one(56), {}, T::None},
    {"beam", one(57), {"beam_width_min", "beam_width_max"}, T::Number, 0.0001, 100},
    {"flicker", one(58), {"flicker", {}}, T::Number, 0, 100},
    {"samplerate", one(59), {"samplerate", {}}, T::Integer, 1000, 1000000},
    {"samples", one(60), {"samples", {}}, T::Flag},
    {"resamplefilter", one(61), {}, T::None},
    {"sound", one(62), {"sound", {}}, T::Sound},
    {"volume", one(63), {"volume", {}}, T::Integer, -32, 0},
    {"artwork", one(64), {}, T::None},
    {"cheat", one(65), {"cheat", {}}, T::Flag},
    {"debug", one(66), {"debug", {}}, T::Flag},
    {"log", one(67), {"log", {}}, T::Flag},
    {"readconfig 1", kNoLines, {"readconfig", {}}, T::Fixed, 0, 0, "1"},
}};

bool recentMameTakesLine(int configurationLine)
{
    // The two boxes for an automatic resolution feed no row: they zero the sizes beside them.
    constexpr int kAutomaticResolution = 25, kAutomaticDebugResolution = 51;
    // A resolution's colour depth has no place in MAME's resolution.
    constexpr int kColourDepth = 28;
    if (configurationLine == kAutomaticResolution)
        return true;
    if (configurationLine == kColourDepth)
        return false;
    bool optionLine = configurationLine == kAutomaticDebugResolution;
    for (const MameOptionRow& row : kMameOptionRows)
        for (const int line : row.lines)
            if (line == configurationLine) {
                if (!row.names[0].empty())
                    return true;
                optionLine = true;
            }
    // Lines that reach no option (the emulator, the picture, the game) are not settings of MAME.
    return !optionLine;
}

bool holdsEveryMameOption(const OptionList& options)
{
    for (const MameOptionRow& row : kMameOptionRows)
        for (const std::string_view name : row.names)
            if (!name.empty() && options.find(name) == nullptr)
                return false;
    // An old emulator's list would also hold its old names; today's MAME dropped this one.
    return options.find("norotate") == nullptr;
}

std::vector<MameSetting> mameSettings(const LineList& configuration)
{
    std::vector<MameSetting> settings;
    for (const MameOptionRow& row : kMameOptionRows) {
        const auto value = [&](int line) -> const std::string& {
            const std::string& text = configuration.at(line);
            if (breaksLine(text))
                throw RefusedValueError(
                    "The value \"" + visibleValue(text) + "\" of " + std::string(row.oldName) +
                    " cannot be given to the emulator: it holds a line break or a zero byte");
            return text;
        };
        std::string text;
        bool flag = false;
        switch (row.turn) {
        case T::None:
            continue;
        case T::Text:
            text = value(row.lines[0]);
            break;
        case T::Flag:
        case T::NotFlag:
            text = flagOn(value(row.lines[0])) != (row.turn == T::NotFlag) ? "1" : "0";
            flag = true;
            break;
        case T::Integer: {
            long long number = 0;
            if (!parsedInteger(value(row.lines[0]), number))
                continue;
            number = std::clamp(number, static_cast<long long>(row.least), static_cast<long long>(row.most));
            text = std::to_string(number);
            break;
        }
        case T::Number: {
            double number = 0;
            if (!parsedNumber(value(row.lines[0]), number) || number <= 0)
                continue;
            text = numberText(std::clamp(number, row.least, row.most));
            break;
        }
        case T::Resolution: {
            long long width = 0, height = 0, refresh = 0;
            const bool sized =
                parsedInteger(value(row.lines[0]), width) && parsedInteger(value(row.lines[1]), height);
            const bool rated = parsedInteger(value(row.lines[2]), refresh) && refresh > 0;
            if (!sized || width <= 0 || height <= 0)
                text = rated ? "0x0@" + std::to_string(refresh) : "auto";
            else
                text = std::to_string(width) + "x" + std::to_string(height) +
                       (rated ? "@" + std::to_string(refresh) : "");
            break;
        }
        case T::Sound:
            if (flagOn(value(row.lines[0])))
                continue;
            text = "none";
            break;
        case T::Controller:
            if (!flagOn(value(row.lines[0])))
                continue;
            text = std::string(row.value);
            break;
        case T::Fixed:
            text = std::string(row.value);
            flag = true;
            break;
        }
        for (const std::string_view name : row.names) {
            if (name.empty())
                continue;
            // Both controller boxes name one option: the later row wins, as it would in a file.
            const auto earlier =
                std::find_if(settings.begin(), settings.end(),
                             [&](const MameSetting& setting) { return setting.name == name; });
            if (earlier != settings.end())
                earlier->value = text;
            else
                settings.push_back({name, text, flag});
        }
    }
    return settings;
}

std::vector<std::string> mameArguments(const std::vector<MameSetting>& settings)
{
    std::vector<std::string> words;
    for (const MameSetting& setting : settings) {
        if (setting.flag) {
            words.push_back((setting.value == "1" ? "-" : "-no") + std::string(setting.name));
        } else {
            words.push_back("-" + std::string(setting.name));
            words.push_back(setting.value);
        }
    }
    return words;
}

std::string mameOptionFile(const OptionList& known, const OptionList& carried,
                           const std::vector<MameSetting>& settings)
{
    std::vector<const std::string*> set(known.options().size(), nullptr);
    for (const MameSetting& setting : settings) {
        if (const EmulatorOption* option = known.find(setting.name))
            set[static_cast<std::size_t>(option - known.options().data())] = &setting.value;
    }
    std::string file;
    file.reserve(known.options().size() * 40);
    std::size_t section = 0;
    for (std::size_t i = 0; i < known.options().size(); ++i) {
        const EmulatorOption& option = known.options()[i];
        if (i == 0 || option.section != section) {
            section = option.section;
            if (i != 0)
                file += "\r\n";
            file += "#\r\n# " + known.sections()[section] + "\r\n#\r\n";
        }
        std::string_view value = option.value;
        if (set[i] != nullptr) {
            value = *set[i];
        } else if (const EmulatorOption* before = carried.find(option.name)) {
            value = before->value;
            // Left to MAME, so a "none" there is an earlier configuration's, not MAME's choice.
            if (option.name == "sound" && value == "none")
                value = "auto";
        }
        file += option.name;
        file.append(value.empty()
                        ? std::size_t{1}
                        : std::max<std::size_t>(1, 26 - std::min<std::size_t>(26, option.name.size())),
                    ' ');
        if (!value.empty())
            file += iniValue(value);
        file += "\r\n";
    }
    return file;
}

} // namespace arcavio
