#pragma once

#include <string>
#include <string_view>

// The user's own workspace, which the desktop menu opens: the configurations folder inside the
// data directory, laid out with a sample on the first start and left alone on every later one.
namespace arcavio {

inline constexpr std::string_view kWorkspaceFolder = "configurations";
inline constexpr std::string_view kSampleConfigurationName = "Sample";
// The wrapper beside gamelist.ini that the sample runs, and the ROM folder it gets.
inline constexpr std::string_view kMameWrapperName = "mame";
inline constexpr std::string_view kSampleRomFolder = "ROMS";
inline constexpr std::string_view kExampleSkin = "neon";

// The MAME installed on this machine: the first runnable "mame" in an absolute folder of
// pathVariable (folders separated by colons), else /usr/games/mame when it can be run; empty
// when there is none, or when its path holds a character a script line cannot (CR, LF, zero).
std::string findInstalledMame(std::string_view pathVariable);
// The same with this process's PATH.
std::string findInstalledMame();

struct WorkspaceResult {
    std::string configurations; // the folder to list
    bool laidOut = false;       // this start made it
    std::string problems;       // why the game names could not be read from MAME, if so
};

// The workspace folder dataDirectory/configurations. When it does not exist yet it is made with
// the sample configuration running `mame` (when not empty), and beside it: the ROM folder, the
// picture folder images/, gamelist.ini filled with the names of mame's sets, and a copy of the
// example skin from exampleSkins into skins/ (when given and present). A file that exists already is never written; once the
// folder exists nothing is touched. Throws InOutError or FileCreateError naming what could not
// be made.
WorkspaceResult prepareWorkspace(const std::string& dataDirectory, const std::string& mame,
                                 const std::string& exampleSkins);

// Where an installed program's example skins lie (prefix/share/arcavio/skins), or the empty
// text for a program that is not installed.
std::string installedSkinsDirectory(const std::string& programDirectory);

} // namespace arcavio
