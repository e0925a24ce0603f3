#include "launch/launch.h"

#include <filesystem>

#include "base/messages.h"
#include "config/configuration.h"
#include "launch/gameargument.h"
#include "launch/optionfile.h"
#include "platform/filesystem.h"
#include "platform/textfiles.h"
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

void launch(ProcessLauncher& launcher, const std::string& directory, const std::string& program,
            const std::string& commandLine)
{
    platform::setCurrentDirectory(directory);
    launcher.FileName = program;
    launcher.CommandLine = commandLine;
    launcher.Execute();
    platform::setCurrentDirectory(platform::dataDirectory());
}

} // namespace

std::string emulatorDirectory(const std::string& emulator)
{
    const std::string directory = directoryPart(emulator);
    return directory.empty() ? platform::currentDirectory() : directory;
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
    const std::string directory = emulatorDirectory(emulator);

    if (config.at(line::FixedGameFlag) == "0") {
        GamePicker& picker = context.picker;
        const std::string& roms = config.at(line::RomDirectory);
        picker.setZipDirectory(hasDirectoryPart(roms) ? roms : joinPath(directory, roms));
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

    for (int n = kFirstShortenedLine; n <= kLastShortenedLine; ++n) {
        if (hasDirectoryPart(config.at(n)))
            config.set(n, platform::shortPathName(config.at(n)));
    }
    buildOptionFile(config, context.optionFile);
    const std::string game = gameArgument(removeExtension(config.at(line::Game)));
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
    const std::string directory = emulatorDirectory(emulator);

    GamePicker& picker = context.picker;
    std::string roms = joinPath(directory, "roms");
    if (!platform::directoryExists(roms))
        roms = platform::findEntryIgnoringCase(directory, "roms");
    picker.setZipDirectory(platform::directoryExists(roms) ? roms : directory);
    picker.refreshZipListing();
    picker.setChangeDirectoryVisible(false);
    picker.showModal();
    if (!picker.gameChosen())
        return;

    launch(context.launcher, directory, emulator,
           gameArgument(removeExtension(fileNamePart(picker.selectedZip()))) + " -norc");
}

} // namespace arcavio
