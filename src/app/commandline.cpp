#include "app/commandline.h"

#include <algorithm>
#include <functional>
#include <ostream>
#include <string_view>

#include "games/gamelist.h"
#include "games/nameimport.h"
#include "games/nameimportsummary.h"
#include "games/setcheck.h"
#include "launch/launch.h"
#include "platform/filesystem.h"
#include "text/boundedtext.h"
#include "text/encoding.h"

namespace arcavio {
namespace {

constexpr const char* kProgramName = "arcavio";
constexpr std::size_t kLineEvery = 10000;

void writeLines(std::ostream& messages, std::string_view text)
{
    for (std::size_t begin = 0; begin <= text.size();) {
        const std::size_t lineEnd = std::min(text.find('\n', begin), text.size());
        messages << kProgramName << ": " << text.substr(begin, lineEnd - begin) << '\n';
        begin = lineEnd + 1;
    }
    messages << std::flush;
}

// A path or a message holding one, as bytes the terminal can show: a name that is not UTF-8 is
// read as the file names on screen are.
std::string shown(std::string_view bytes)
{
    return decodeFileName(bytes);
}

struct OptionSpec {
    std::string_view name;
    char shortName;
    std::optional<std::string> StartOptions::*value; // null for a flag
};

constexpr OptionSpec kOptions[] = {
    {"help", 'h', nullptr},
    {"version", 'v', nullptr},
    {"workspace", 0, nullptr},
    {"import-names", 0, &StartOptions::importNames},
    {"gamelist", 0, &StartOptions::gameList},
    {"check-sets", 0, &StartOptions::checkSets},
    {"rompath", 0, &StartOptions::romPath},
};

const OptionSpec* findOption(std::string_view name)
{
    for (const OptionSpec& option : kOptions)
        if (option.name == name)
            return &option;
    return nullptr;
}

void setFlag(CommandLine& line, std::string_view name)
{
    if (name == "help")
        line.request = CommandLine::Request::Help;
    else if (name == "version" && line.request != CommandLine::Request::Help)
        line.request = CommandLine::Request::Version;
    else if (name == "workspace")
        line.options.workspace = true;
}

// What a command without a window shows while it runs: its count redrawn on one line on a
// terminal; elsewhere a line every kLineEvery.
class ProgressLines {
  public:
    ProgressLines(std::ostream& messages, bool terminal) : messages_(messages), terminal_(terminal) {}

    // `count` of `what` ("sets read"); on a terminal `ofAll` follows the count (" of 9,000").
    void show(std::size_t count, std::string_view ofAll, std::string_view what)
    {
        if (terminal_) {
            messages_ << '\r' << kProgramName << ": " << groupedCount(count) << ofAll << ' ' << what
                      << std::flush;
            redrawn_ = true;
        } else if (count / kLineEvery > linesWritten_) {
            linesWritten_ = count / kLineEvery;
            messages_ << kProgramName << ": " << groupedCount(count) << ' ' << what << '\n' << std::flush;
        }
    }
    // What follows starts on a line of its own.
    void end()
    {
        if (redrawn_)
            messages_ << '\n';
    }

  private:
    std::ostream& messages_;
    bool terminal_;
    bool redrawn_ = false;
    std::size_t linesWritten_ = 0;
};

// `work` runs the command, showing its progress, and returns its summary; an error is written
// in its place. Returns the exit code.
int runWindowless(std::ostream& messages, bool terminal,
                  const std::function<std::string(ProgressLines&)>& work)
{
    ProgressLines progress(messages, terminal);
    try {
        const std::string summary = work(progress);
        progress.end();
        writeLines(messages, summary);
        return 0;
    } catch (const std::exception& error) {
        progress.end();
        messages << kProgramName << ": " << shown(error.what()) << '\n' << std::flush;
        return 1;
    }
}

// The commands that open no window, in the order they are tried: each asks an emulator, and takes
// one option of its own that is refused without it.
struct WindowlessCommand {
    StartKind kind;
    const char* name;
    std::optional<std::string> StartOptions::*emulator;
    const char* option;
    std::optional<std::string> StartOptions::*value;
    const char* valueNeeds;
    const char* takes; // in the refusal of anything else
};

constexpr WindowlessCommand kWindowlessCommands[] = {
    {StartKind::CheckSets, "--check-sets", &StartOptions::checkSets, "--rompath", &StartOptions::romPath,
     "a folder", "only --rompath"},
    {StartKind::ImportNames, "--import-names", &StartOptions::importNames, "--gamelist",
     &StartOptions::gameList, "a file name", "neither --workspace nor a DIRECTORY"},
};

// Nothing when neither the command nor its option is given.
std::optional<StartPlan> windowlessPlan(const WindowlessCommand& command, const StartOptions& options)
{
    const std::optional<std::string>& emulator = options.*command.emulator;
    const std::optional<std::string>& value = options.*command.value;
    if (!emulator) {
        if (value)
            throw UsageError(std::string(command.option) + " goes with " + command.name);
        return std::nullopt;
    }
    const bool withOthers =
        options.workspace || !options.directories.empty() ||
        std::ranges::any_of(kWindowlessCommands, [&](const WindowlessCommand& other) {
            return &other != &command && (options.*other.emulator || options.*other.value);
        });
    if (withOthers)
        throw UsageError(std::string(command.name) + " opens no window: it takes " + command.takes);
    if (emulator->empty())
        throw UsageError(std::string(command.name) + " needs the emulator program");
    if (value && value->empty())
        throw UsageError(std::string(command.option) + " needs " + command.valueNeeds);
    return StartPlan{command.kind, {}};
}

} // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            line.options.directories.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (word[1] == '-') {
            const std::size_t equals = word.find('=');
            const std::string name =
                word.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
            const OptionSpec* option = findOption(name);
            if (option == nullptr)
                throw CommandLineError("Unknown option '" + boundedText(shown(name), kQuotedValueLimit) +
                                       "'.");
            if (option->value == nullptr) {
                if (equals != std::string::npos)
                    throw CommandLineError("Unexpected value after '--" + name + "'.");
                setFlag(line, name);
                continue;
            }
            std::optional<std::string>& value = line.options.*(option->value);
            if (value)
                throw CommandLineError("--" + name + " can be given only once.");
            if (equals != std::string::npos)
                value = word.substr(equals + 1);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            else
                throw CommandLineError("Missing value after '--" + name + "'.");
        } else {
            for (const char letter : std::string_view(word).substr(1)) {
                const auto known =
                    std::find_if(std::begin(kOptions), std::end(kOptions), [&](const OptionSpec& o) {
                        return o.shortName != 0 && o.shortName == letter;
                    });
                if (known == std::end(kOptions))
                    throw CommandLineError("Unknown option '" + shown(std::string(1, letter)) + "'.");
                setFlag(line, known->name);
            }
        }
    }
    return line;
}

std::string commandLineHelp()
{
    return "Usage: arcavio [options] [DIRECTORY]\n"
           "Keep MAME configurations and start arcade games. Without options, lists the\n"
           "configurations (*.av2) of the working directory.\n"
           "\n"
           "Options:\n"
           "  -h, --help                 Show a summary of the options and exit.\n"
           "  -v, --version              Show the version and exit.\n"
           "  --workspace                List the configurations of your own workspace, made\n"
           "                             on first use with a sample.\n"
           "  --import-names <EMULATOR>  Add the name of every set EMULATOR knows (-listfull)\n"
           "                             to the game list, without a window.\n"
           "  --gamelist <FILE>          With --import-names: the game list file to fill.\n"
           "  --check-sets <EMULATOR>    Ask EMULATOR (-verifyroms) which sets of the ROM\n"
           "                             folders will run, without a window.\n"
           "  --rompath <FOLDERS>        With --check-sets: the ROM folders, separated by \";\"\n"
           "                             (the emulator's own by default).\n"
           "\n"
           "Arguments:\n"
           "  DIRECTORY                  List the configurations of this directory.\n";
}

std::string missingDisplayProblem(const char* platform, const char* display, const char* waylandDisplay)
{
    const auto set = [](const char* value) { return value != nullptr && value[0] != '\0'; };
    if (set(display) || set(waylandDisplay))
        return {};
    // Qt takes a list of platforms to try, each perhaps with ":options".
    if (set(platform)) {
        std::string_view list = platform;
        while (!list.empty()) {
            const std::size_t end = std::min(list.find(';'), list.size());
            const std::string_view entry = list.substr(0, end);
            const std::string_view name = entry.substr(0, std::min(entry.find(':'), entry.size()));
            if (!name.empty() && name != "xcb" && !name.starts_with("wayland"))
                return {};
            list.remove_prefix(std::min(end + 1, list.size()));
        }
    }
    return "no window can be opened: neither DISPLAY nor WAYLAND_DISPLAY is set. --help, --version, "
           "--import-names and --check-sets work without a display.";
}

StartPlan planStart(const StartOptions& options)
{
    for (const WindowlessCommand& command : kWindowlessCommands)
        if (const std::optional<StartPlan> plan = windowlessPlan(command, options))
            return *plan;
    if (options.directories.size() > 1)
        throw UsageError("only one DIRECTORY can be listed");
    if (options.workspace) {
        if (!options.directories.empty())
            throw UsageError("--workspace lists the workspace: it takes no DIRECTORY");
        return {StartKind::Workspace, {}};
    }
    if (options.directories.empty())
        return {StartKind::List, {}};
    const std::string& directory = options.directories.front();
    if (!platform::directoryExists(directory))
        throw UsageError("no directory " + shown(directory));
    return {StartKind::List, directory};
}

int importNamesCommand(const std::string& emulator, const std::string& gameList, std::ostream& messages,
                       bool terminal)
{
    return runWindowless(messages, terminal, [&](ProgressLines& progress) {
        std::string file = gameList;
        if (file.empty()) {
            platform::makeDataDirectory();
            file = defaultGameListPath();
        }
        // Before the emulator is asked, which can take a while.
        platform::checkReplaceable(file);
        messages << kProgramName << ": reading the set list of " << shown(emulator) << '\n' << std::flush;
        const NameImportSummary summary = importGameNames(
            emulator, file, [&](std::size_t setsRead) { progress.show(setsRead, "", "sets read"); });
        return nameImportSummaryText(summary, shown(file));
    });
}

int checkSetsCommand(const std::string& emulator, const std::optional<std::string>& romPath,
                     std::ostream& messages, bool terminal)
{
    return runWindowless(messages, terminal, [&](ProgressLines& progress) {
        const SetCheckRequest request = setCheckRequest(emulator, romPath, platform::currentDirectory());
        SetCheck check(request);
        messages << kProgramName << ": checking " << groupedCount(check.toCheck()) << " of "
                 << groupedCount(check.sets()) << " sets with " << shown(emulator) << '\n'
                 << std::flush;
        check.run([&] {
            progress.show(check.checkedSoFar(), " of " + groupedCount(check.toCheck()), "sets checked");
        });
        return setCheckSummaryText(check.finish());
    });
}

} // namespace arcavio
