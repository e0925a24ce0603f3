#pragma once

#include <optional>
#include <string>

#include "base/language.h"
#include "components/processlauncher.h"
#include "games/gamepicker.h"
#include "games/setcheck.h"
#include "text/linelist.h"

namespace arcavio {

// The main window's open-file dialog for the emulator's program file. It keeps the last
// chosen file and offers it again.
class ExecutableDialog {
  public:
    virtual ~ExecutableDialog() = default;
    // The chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseExecutable() = 0;
};

// What Run needs of the main window.
struct RunContext {
    std::string selectedPath; // full path of the selected configuration, empty for none
    LineList& configuration;  // its lines; Run changes lines 4 to 16 here, never on disk
    const Language& language;
    GamePicker& picker;
    LineList& optionFile; // the option-file buffer
    ProcessLauncher& launcher;
    // Where a MAME installed for the whole system runs, so that the configuration's relative
    // folders lie in a folder of the user's own: the user's data folder.
    std::string userFolder;
};

// Writes mame.ini into the emulator's directory from the configuration, asking for a game when
// the configuration fixes none, then starts the emulator and waits for it. Errors are thrown
// for the caller's guard; the old option file survives every failure. A recent MAME gets the
// configuration in its own words instead, and keeps its own settings (see emulator/).
void runConfiguration(const RunContext& context);

struct KwikstartContext {
    ExecutableDialog& executableDialog;
    GamePicker& picker;
    ProcessLauncher& launcher;
    const Language& language;
    std::string userFolder; // as for Run
};

// Starts a chosen emulator on a chosen game with "-norc", without any configuration.
void kwikstart(const KwikstartContext& context);

// What a check of the sets needs of an emulator: the program (the MAME behind an earlier
// workspace's script), its version, and absolute ROM folders. `romFolders` is a folder value
// ("a;b") whose relative folders are taken from `base`, or from where Run starts this MAME when
// `base` is empty; without it, the folders of MAME's own rompath that exist. The cache is the
// user's. Throws SetCheckError for an emulator that does not answer as a recent MAME does.
SetCheckRequest setCheckRequest(const std::string& emulator, const std::optional<std::string>& romFolders,
                                const std::string& base, const std::string& userFolder = {});

// The emulator's directory; a path without one is taken from the current directory.
std::string emulatorDirectory(const std::string& emulator);

} // namespace arcavio
