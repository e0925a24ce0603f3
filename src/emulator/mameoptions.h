#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/optionlist.h"
#include "text/linelist.h"

// The configuration's settings in the words of a recent MAME. The option file of the old
// emulator has 59 lines; today's MAME knows some of them under other names, reads some
// differently (norotate became rotate, sound names an audio module) and has no counterpart for
// the rest. One row per old line says where its value goes.
namespace arcavio {

enum class MameTurn {
    None,       // no counterpart: left out
    Text,       // the value as it stands (a path)
    Flag,       // only an exact "1" is on
    NotFlag,    // the opposite flag (norotate -> rotate)
    Integer,    // a whole number, brought into the option's range
    Number,     // a decimal number, brought into the option's range; 0 or less leaves it to MAME
    Resolution, // width, height and refresh: "auto" for 0 x 0, the colour depth dropped
    Sound,      // off is "none", on leaves the audio module to MAME
    Controller, // on names the controller file of the row's value; off leaves it to MAME
    Fixed,      // the row's value, whatever the configuration says
};

struct MameOptionRow {
    std::string_view oldName;              // the old emulator's option
    std::array<int, 3> lines;              // configuration lines read, -1 where unused
    std::array<std::string_view, 2> names; // today's options written; empty where unused
    MameTurn turn;
    double least = 0, most = 0;  // the range MAME accepts, for Integer and Number
    std::string_view value = {}; // for Controller and Fixed
};

inline constexpr std::size_t kMameOptionRowCount = 59;
extern const std::array<MameOptionRow, kMameOptionRowCount> kMameOptionRows;

// False for the option lines a recent MAME has no counterpart for, such as the memory card
// folder or the colour depth; true for every other configuration line.
bool recentMameTakesLine(int configurationLine);

// An option list that holds every option the table writes: the emulator answers as a recent
// MAME does. An old MAME (whose list still has norotate and no rotate) does not.
bool holdsEveryMameOption(const OptionList& options);

// One option as the configuration sets it, in MAME's words.
struct MameSetting {
    std::string_view name;
    std::string value;
    bool flag = false; // a boolean option: "1" or "0"
};

// The settings the configuration gives a recent MAME, in table order; an option the
// configuration leaves to MAME is not among them. Values with CR, LF or a zero byte throw
// RefusedValueError naming the old option, as the old option file does; a missing line throws
// ListIndexError.
std::vector<MameSetting> mameSettings(const LineList& configuration);

// The words that set them on MAME's command line, above whatever its ini files say: a flag as
// "-name" or "-noname", any other option as "-name" and its value as one more word.
std::vector<std::string> mameArguments(const std::vector<MameSetting>& settings);

// A whole mame.ini: every option of `known` (the emulator's own list, in its order and
// sections), with the configuration's value where it sets one, else the value `carried`
// holds (the file the emulator read before), else the emulator's default. Lines end in CR LF.
// An audio module "none" carried over while the configuration asks for sound becomes "auto".
std::string mameOptionFile(const OptionList& known, const OptionList& carried,
                           const std::vector<MameSetting>& settings);

} // namespace arcavio
