#include "app/commandline.h"

#include <algorithm>
#include <ostream>
#include <string_view>

#include "games/gamelist.h"
#include "games/nameimport.h"
#include "games/nameimportsummary.h"
#include "games/setcheck.h"
#include "launch/launch.h"
#include "platform/filesystem.h"

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

} // namespace

StartPlan planStart(const StartOptions& options)
{
    if (options.checkSets) {
        if (options.workspace || options.importNames || options.gameList || !options.directories.empty())
            throw UsageError("--check-sets opens no window: it takes only --rompath");
        if (options.checkSets->empty())
            throw UsageError("--check-sets needs the emulator program");
        if (options.romPath && options.romPath->empty())
            throw UsageError("--rompath needs a folder");
        return {StartKind::CheckSets, {}};
    }
    if (options.romPath)
        throw UsageError("--rompath goes with --check-sets");
    if (options.importNames) {
        if (options.workspace || !options.directories.empty())
            throw UsageError("--import-names opens no window: it takes neither --workspace nor a DIRECTORY");
        if (options.importNames->empty())
            throw UsageError("--import-names needs the emulator program");
        if (options.gameList && options.gameList->empty())
            throw UsageError("--gamelist needs a file name");
        return {StartKind::ImportNames, {}};
    }
    if (options.gameList)
        throw UsageError("--gamelist goes with --import-names");
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
        throw UsageError("no directory " + directory);
    return {StartKind::List, directory};
}

int importNamesCommand(const std::string& emulator, const std::string& gameList, std::ostream& messages,
                       bool terminal)
{
    bool progressShown = false;
    std::size_t linesWritten = 0;
    try {
        std::string file = gameList;
        if (file.empty()) {
            platform::makeDataDirectory();
            file = defaultGameListPath();
        }
        messages << kProgramName << ": reading the set list of " << emulator << '\n' << std::flush;
        const auto progress = [&](std::size_t setsRead) {
            if (terminal) {
                messages << '\r' << kProgramName << ": " << groupedCount(setsRead) << " sets read"
                         << std::flush;
                progressShown = true;
            } else if (setsRead / kLineEvery > linesWritten) {
                linesWritten = setsRead / kLineEvery;
                messages << kProgramName << ": " << groupedCount(setsRead) << " sets read\n" << std::flush;
            }
        };
        const NameImportSummary summary = importGameNames(emulator, file, progress);
        if (progressShown)
            messages << '\n';
        writeLines(messages, nameImportSummaryText(summary, file));
        return 0;
    } catch (const std::exception& error) {
        if (progressShown)
            messages << '\n';
        messages << kProgramName << ": " << error.what() << '\n' << std::flush;
        return 1;
    }
}

int checkSetsCommand(const std::string& emulator, const std::optional<std::string>& romPath,
                     std::ostream& messages, bool terminal)
{
    bool progressShown = false;
    std::size_t linesWritten = 0;
    try {
        const SetCheckRequest request = setCheckRequest(emulator, romPath, platform::currentDirectory());
        SetCheck check(request);
        messages << kProgramName << ": checking " << groupedCount(check.toCheck()) << " of "
                 << groupedCount(check.sets()) << " sets with " << emulator << '\n'
                 << std::flush;
        check.run([&] {
            const std::size_t done = check.checkedSoFar();
            if (terminal) {
                messages << '\r' << kProgramName << ": " << groupedCount(done) << " of "
                         << groupedCount(check.toCheck()) << " sets checked" << std::flush;
                progressShown = true;
            } else if (done / kLineEvery > linesWritten) {
                linesWritten = done / kLineEvery;
                messages << kProgramName << ": " << groupedCount(done) << " sets checked\n" << std::flush;
            }
        });
        const SetCheckSummary summary = check.finish();
        if (progressShown)
            messages << '\n';
        writeLines(messages, setCheckSummaryText(summary));
        return 0;
    } catch (const std::exception& error) {
        if (progressShown)
            messages << '\n';
        messages << kProgramName << ": " << error.what() << '\n' << std::flush;
        return 1;
    }
}

} // namespace arcavio
