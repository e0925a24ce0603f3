#include "launch/launch.h"

#include <algorithm>
#include <filesystem>

#include "base/messages.h"
#include "config/configuration.h"
#include "emulator/emulatorknowledge.h"
#include "emulator/mameoptions.h"
#include "games/ziplisting.h"
#include "launch/emulatorfailure.h"
#include "launch/gameargument.h"
#include "launch/optionfile.h"
#include "platform/filesystem.h"
#include "platform/textfiles.h"
#include "text/boundedtext.h"
#include "text/paths.h"

namespace arcavio {
namespace {

constexpr int kEmulatorExeMissing = 152;
constexpr int kFirstShortenedLine = 5;
constexpr int kLastShortenedLine = 16;

// Listing games changes the current directory, so a relative emulator path is fixed first.
std::string absolute(const std::string& path)
{
    if (path.empty() || std::filesystem::path(path).is_absolute())
        return path;
    return joinPath(platform::currentDirectory(), path);
}

class ChangeDirectoryShown {
  public:
    explicit ChangeDirectoryShown(GamePicker& picker) : picker_(picker)
    {
        picker_.setChangeDirectoryVisible(true);
    }
    ~ChangeDirectoryShown() { picker_.setChangeDirectoryVisible(false); }
    ChangeDirectoryShown(const ChangeDirectoryShown&) = delete;
    ChangeDirectoryShown& operator=(const ChangeDirectoryShown&) = delete;

  private:
    GamePicker& picker_;
};

std::string commandLineOf(const std::vector<std::string>& words)
{
    std::string line;
    for (const std::string& word : words)
        line += (line.empty() ? "" : " ") + quoteCommandLineWord(word);
    return line;
}

// A recent MAME, and where it runs. A MAME in a folder of the user's own that reads its mame.ini
// from there is run as the old emulator was: its mame.ini written beside it. One installed for
// the whole system keeps its own ini files, and the configuration's settings go on its command
// line, above them; it runs in the user's data folder, where relative folders then lie.
struct RecentMame {
    std::string program;
    std::shared_ptr<const EmulatorKnowledge> knowledge;
    bool portable = false;
    std::string home; // the working directory, which relative folders are taken from
};

bool readsIniFromItsFolder(const EmulatorKnowledge& knowledge)
{
    const EmulatorOption* inipath = knowledge.defaults.find("inipath");
    if (inipath == nullptr)
        return false;
    for (const std::string& folder : mamePathList(inipath->value))
        if (folder == "." || folder == "./")
            return true;
    return false;
}

std::optional<RecentMame> recentMame(const std::string& emulator, const std::string& userFolder)
{
    // An earlier workspace's script in front of the installed MAME: asked through it, MAME
    // would report the mame.ini written here last instead of its own settings.
    const std::string wrapped = wrappedMame(emulator);
    RecentMame mame;
    mame.program = wrapped.empty() ? emulator : wrapped;
    mame.knowledge = knownEmulator(mame.program);
    if (!mame.knowledge)
        return std::nullopt;
    const std::string directory = emulatorDirectory(mame.program);
    mame.portable =
        wrapped.empty() && readsIniFromItsFolder(*mame.knowledge) && platform::isUserFolder(directory);
    mame.home = mame.portable ? directory : userFolder.empty() ? platform::makeDataDirectory() : userFolder;
    return mame;
}

// The settings a portable MAME read before, so that what the user set there by hand stays: its
// first mame.ini along its inipath, as MAME finds it.
OptionList carriedSettings(const RecentMame& mame)
{
    const EmulatorOption* inipath = mame.knowledge->defaults.find("inipath");
    for (const std::string& folder : mamePathList(inipath != nullptr ? inipath->value : "")) {
        const std::string path =
            joinPath(folder.front() == '/' ? folder : joinPath(mame.home, folder), kOptionFileName);
        if (platform::fileExists(path))
            return OptionList::parse(platform::readFile(path, platform::kConfigurationFileLimit));
    }
    return {};
}

int launch(ProcessLauncher& launcher, const std::string& directory, const std::string& program,
           const std::string& commandLine)
{
    platform::setCurrentDirectory(directory);
    launcher.FileName = program;
    launcher.CommandLine = commandLine;
    const int exitCode = launcher.Execute();
    platform::setCurrentDirectory(platform::dataDirectory());
    return exitCode;
}

// MAME says on its error output why a game did not run, which nobody sees when the program was
// started from a menu: it is shown once MAME has ended.
void launchRecentMame(ProcessLauncher& launcher, const RecentMame& mame, const std::string& game,
                      const std::string& commandLine, const Language& language)
{
    constexpr std::size_t kKeptErrorOutput = 64 * 1024;
    launcher.KeepErrorOutput = kKeptErrorOutput;
    const int exitCode = launch(launcher, mame.home, mame.program, commandLine);
    launcher.KeepErrorOutput = 0;
    if (const std::optional<std::string> failure =
            emulatorFailureMessage(language, game, exitCode, launcher.errorOutput()))
        messages().plainMessage(*failure);
}

void runRecentMame(const RunContext& context, const RecentMame& mame, const std::string& zip)
{
    // No short forms here: MAME has none to offer, and a path list such as "roms;/srv/roms"
    // names no file, so its short form would be the empty text.
    const std::vector<MameSetting> settings = mameSettings(context.configuration);
    const std::string game = removeExtension(zip);
    std::string commandLine = gameArgument(game);
    if (mame.portable) {
        const std::string file = mameOptionFile(mame.knowledge->defaults, carriedSettings(mame), settings);
        platform::replaceFile(joinPath(mame.home, kOptionFileName), file);
    } else {
        const std::string options = commandLineOf(mameArguments(settings));
        commandLine += (commandLine.empty() ? "" : " ") + options;
    }
    launchRecentMame(context.launcher, mame, game, commandLine, context.language);
}

// The folders MAME searches for a set, as its own ini files give them, with the "roms" folder
// of the place it runs in first: one path list.
std::string kwikstartFolders(const RecentMame& mame, const std::string& roms)
{
    std::vector<std::string> folders;
    if (!roms.empty())
        folders.push_back(roms);
    if (const std::optional<OptionList> settings = emulatorSettings(mame.program, mame.home))
        if (const EmulatorOption* rompath = settings->find("rompath"))
            for (const std::string& folder : mamePathList(rompath->value)) {
                const std::string absoluteFolder =
                    folder.front() == '/' ? folder : joinPath(mame.home, folder);
                if (platform::directoryExists(absoluteFolder) &&
                    std::find(folders.begin(), folders.end(), absoluteFolder) == folders.end())
                    folders.push_back(absoluteFolder);
            }
    std::string list;
    for (const std::string& folder : folders)
        list += (list.empty() ? "" : ";") + folder;
    return list.empty() ? mame.home : list;
}

} // namespace

std::string emulatorDirectory(const std::string& emulator)
{
    const std::string directory = directoryPart(emulator);
    return directory.empty() ? platform::currentDirectory() : directory;
}

SetCheckRequest setCheckRequest(const std::string& emulator, const std::optional<std::string>& romFolders,
                                const std::string& base, const std::string& userFolder)
{
    const std::string program = absolute(emulator);
    if (!platform::fileExists(program))
        throw SetCheckError("The emulator \"" + visibleValue(program, kQuotedValueLimit) +
                            "\" does not exist");
    const std::optional<RecentMame> mame = recentMame(program, userFolder);
    if (!mame)
        throw SetCheckError("The emulator \"" + visibleValue(program, kQuotedValueLimit) +
                            "\" does not answer as a recent MAME does; only MAME can check its sets");
    const std::string from = base.empty() ? mame->home : base;
    SetCheckRequest request;
    request.emulator = mame->program;
    request.version = mame->knowledge->version();
    request.cachePath = defaultSetCheckCachePath();
    std::vector<std::string> folders;
    if (romFolders) {
        for (const std::string& folder : splitPathList(resolvePathList(*romFolders, from)))
            folders.push_back(folder);
    } else if (const std::optional<OptionList> settings = emulatorSettings(mame->program, from)) {
        if (const EmulatorOption* rompath = settings->find("rompath"))
            for (const std::string& folder : mamePathList(rompath->value)) {
                const std::string whole = folder.front() == '/' ? folder : joinPath(from, folder);
                if (platform::directoryExists(whole))
                    folders.push_back(whole);
            }
    }
    for (const std::string& folder : folders)
        request.romFolders += (request.romFolders.empty() ? "" : ";") + absolute(folder);
    return request;
}

void runConfiguration(const RunContext& context)
{
    LineList& config = context.configuration;
    if (context.selectedPath.empty() || !platform::fileExists(context.selectedPath))
        return;
    if (!platform::fileExists(config.at(line::Emulator))) {
        messages().plainMessage(context.language.text(kEmulatorExeMissing));
        return;
    }
    const std::string emulator = absolute(config.at(line::Emulator));
    const std::optional<RecentMame> mame = recentMame(emulator, context.userFolder);
    const std::string directory = mame ? mame->home : emulatorDirectory(emulator);

    if (config.at(line::FixedGameFlag) == "0") {
        GamePicker& picker = context.picker;
        const std::string& roms = config.at(line::RomDirectory);
        picker.setZipDirectory(resolvePathList(roms, directory));
        picker.refreshZipListing();
        {
            ChangeDirectoryShown shown(picker);
            picker.showModal();
        }
        if (!picker.gameChosen()) {
            picker.clearChosenDirectory();
            return;
        }
        const std::string chosen = picker.chosenDirectory();
        picker.clearChosenDirectory();
        if (!chosen.empty()) {
            // Checked before it replaces line 5, so a refused folder is not kept for the next Run.
            requireOptionLine(kOptionFileLines[0].name, chosen);
            config.set(line::RomDirectory, chosen);
        }
        config.set(line::Game, fileNamePart(picker.selectedZip()));
    }
    const std::string zip =
        setNameOnDisk(resolvePathList(config.at(line::RomDirectory), directory), config.at(line::Game));

    if (mame) {
        runRecentMame(context, *mame, zip);
        return;
    }
    for (int n = kFirstShortenedLine; n <= kLastShortenedLine; ++n) {
        if (hasDirectoryPart(config.at(n)))
            config.set(n, platform::shortPathName(config.at(n)));
    }
    buildOptionFile(config, context.optionFile);
    const std::string game = gameArgument(removeExtension(zip));
    // Replaced in one step rather than deleted first, so a failed write keeps the old file.
    platform::writeLines(joinPath(directory, kOptionFileName), context.optionFile);

    launch(context.launcher, directory, emulator, game);
}

void kwikstart(const KwikstartContext& context)
{
    const std::optional<std::string> chosen = context.executableDialog.chooseExecutable();
    if (!chosen)
        return;
    const std::string emulator = absolute(*chosen);
    const std::optional<RecentMame> mame = recentMame(emulator, context.userFolder);
    const std::string directory = mame ? mame->home : emulatorDirectory(emulator);

    GamePicker& picker = context.picker;
    const std::string roms =
        platform::findEntryIgnoringCase(directory, "roms", platform::EntryKind::Directory);
    std::string folders;
    if (mame) {
        folders = kwikstartFolders(*mame, platform::directoryExists(roms) ? roms : std::string());
        picker.setZipDirectory(folders);
    } else {
        picker.setZipDirectory(platform::directoryExists(roms) ? roms : directory);
    }
    picker.refreshZipListing();
    picker.setChangeDirectoryVisible(false);
    picker.showModal();
    if (!picker.gameChosen())
        return;

    const std::string set = removeExtension(fileNamePart(picker.selectedZip()));
    const std::string game = gameArgument(set);
    // A recent MAME reads "-norc" as "read no ini file": its own settings would be lost, and it
    // would look for the set in "roms" only. It is told where the listing found the set instead.
    if (mame)
        launchRecentMame(context.launcher, *mame, set, game + " -rompath " + quoteCommandLineWord(folders),
                         context.language);
    else
        launch(context.launcher, directory, emulator, game + " -norc");
}

} // namespace arcavio
