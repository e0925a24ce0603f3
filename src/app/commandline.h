#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "text/errors.h"

// What the command line asks for, and the work done without a window. The arguments are taken
// as the bytes given, so a path reaches the file system exactly as it was typed.
namespace arcavio {

struct StartOptions {
    bool workspace = false;
    std::optional<std::string> importNames; // the emulator
    std::optional<std::string> gameList;
    std::optional<std::string> checkSets; // the emulator
    std::optional<std::string> romPath;
    std::vector<std::string> directories; // the words that are not options
};

struct CommandLine {
    enum class Request { Start, Help, Version };
    Request request = Request::Start;
    StartOptions options;
};

// Options that do not go together or name nothing, and a DIRECTORY that does not exist.
class UsageError : public Error {
  public:
    using Error::Error;
};

// Options that cannot be read: an unknown one, a missing value, a value option given twice.
class CommandLineError : public UsageError {
  public:
    using UsageError::UsageError;
};

// The arguments after the program's name. Long options take their value as the next argument or
// after "="; short ones (-h, -v) may be run together; "--" ends the options. Throws
// CommandLineError.
CommandLine readCommandLine(const std::vector<std::string>& arguments);

// What --help prints.
std::string commandLineHelp();

// Why no window can be opened, from the environment's QT_QPA_PLATFORM, DISPLAY and
// WAYLAND_DISPLAY (null when unset): X11 and Wayland need a display to reach. Empty when a
// window may be tried.
std::string missingDisplayProblem(const char* platform, const char* display, const char* waylandDisplay);

enum class StartKind {
    List,        // the main window over `directory`, or over the working directory when empty
    Workspace,   // the main window over the user's workspace
    ImportNames, // no window: the emulator's names into the game list
    CheckSets,   // no window: which sets of the ROM folders will run
};

struct StartPlan {
    StartKind kind = StartKind::List;
    std::string directory;
};

// Throws UsageError with the message for the user.
StartPlan planStart(const StartOptions& options);

// arcavio --import-names EMULATOR [--gamelist FILE]: the import with its progress and summary
// (or the error) on `messages`, the lines starting with the program's name. An empty gameList
// is the usual file, in the data directory, which is made when missing. On a terminal the
// count of sets read is redrawn on one line; elsewhere a line is written every 10,000 sets.
// Returns the exit code: 0 when the import succeeded, 1 otherwise.
int importNamesCommand(const std::string& emulator, const std::string& gameList, std::ostream& messages,
                       bool terminal);

// arcavio --check-sets EMULATOR [--rompath FOLDERS]: the check of the sets with its progress and
// summary (or the error) on `messages`, as importNamesCommand does. Without FOLDERS, the folders
// of the emulator's own rompath; relative folders are taken from the working directory. Returns
// 0 when the check ran to its end, 1 otherwise.
int checkSetsCommand(const std::string& emulator, const std::optional<std::string>& romPath,
                     std::ostream& messages, bool terminal);

} // namespace arcavio
