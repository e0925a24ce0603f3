#include "app/workspace.h"

#include <cstdlib>

#include "config/configuration.h"
#include "games/gamelist.h"
#include "games/nameimport.h"
#include "platform/filesystem.h"
#include "platform/process.h"
#include "platform/readlimits.h"
#include "text/boundedtext.h"
#include "text/errors.h"
#include "text/paths.h"

namespace arcavio {
namespace {

bool fitsOneLine(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// Where a folder is made before it takes its name, so that under its name it is whole. A start
// cut short leaves only this, which the next start completes.
std::string staging(const std::string& folder)
{
    return joinPath(directoryPart(folder), "." + fileNamePart(folder) + ".partial");
}

void copyFolder(const std::string& from, const std::string& to)
{
    if (platform::directoryExists(to))
        return;
    const std::string building = staging(to);
    platform::createDirectories(building);
    for (const std::string& name : platform::listFiles(from, "*"))
        platform::createNewFile(joinPath(building, name),
                                platform::readFile(joinPath(from, name), platform::kPictureFileLimit));
    platform::moveIntoPlace(building, to);
}

LineList sampleConfiguration(const std::string& dataDirectory, const std::string& mame)
{
    LineList lines = defaultConfiguration();
    const std::string roms = joinPath(dataDirectory, kSampleRomFolder);
    if (!mame.empty()) {
        lines.set(line::Emulator, mame);
        lines.set(line::AboutText, "Sample: runs the installed MAME; ROM zips go in " + roms);
    } else {
        lines.set(line::AboutText, "Sample: no MAME found; choose the emulator with Edit before Run");
    }
    lines.set(line::FixedGameFlag, "0");
    lines.set(line::Game, "");
    lines.set(line::RomDirectory, std::string(kSampleRomFolder));
    // A new configuration leaves throttling off, and a recent MAME then runs games as fast as it
    // can: the sample is meant to be played.
    constexpr int kThrottle = 37;
    lines.set(kThrottle, "1");
    return lines;
}

} // namespace

std::string findInstalledMame(std::string_view pathVariable)
{
    while (true) {
        const std::size_t colon = pathVariable.find(':');
        const std::string_view folder = pathVariable.substr(0, colon);
        if (!folder.empty() && folder.front() == '/') {
            const std::string candidate = joinPath(folder, "mame");
            if (fitsOneLine(candidate) && platform::isExecutableFile(candidate))
                return candidate;
        }
        if (colon == std::string_view::npos)
            break;
        pathVariable.remove_prefix(colon + 1);
    }
    const std::string debian = "/usr/games/mame";
    return platform::isExecutableFile(debian) ? debian : std::string();
}

std::string findInstalledMame()
{
    const char* path = std::getenv("PATH");
    return findInstalledMame(path != nullptr ? path : "");
}

std::string installedSkinsDirectory(const std::string& programDirectory)
{
    if (!platform::isInstalledLayout(programDirectory))
        return {};
    return joinPath(joinPath(joinPath(directoryPart(programDirectory), "share"), "arcavio"), "skins");
}

WorkspaceResult prepareWorkspace(const std::string& dataDirectory, const std::string& mame,
                                 const std::string& exampleSkins)
{
    WorkspaceResult result;
    result.configurations = joinPath(dataDirectory, kWorkspaceFolder);
    if (platform::directoryExists(result.configurations))
        return result;
    platform::createDirectories(dataDirectory);

    platform::createDirectories(joinPath(dataDirectory, kSampleRomFolder));
    platform::createDirectories(joinPath(dataDirectory, "images"));
    const std::string example = joinPath(exampleSkins, kExampleSkin);
    const std::string skins = joinPath(dataDirectory, "skins");
    if (!exampleSkins.empty() && platform::directoryExists(example)) {
        platform::createDirectories(skins);
        copyFolder(example, joinPath(skins, kExampleSkin));
    }

    // The folder the list shows comes last and whole: until it is there, the workspace is not
    // laid out, and the next start does what is missing.
    const std::string building = staging(result.configurations);
    platform::createDirectories(building);
    const std::string sample = configurationPath(building, kSampleConfigurationName);
    platform::createNewFile(sample, configurationText(sampleConfiguration(dataDirectory, mame)));
    // So that a new user's first list of games is not empty for want of names.
    if (!mame.empty()) {
        try {
            importGameNames(mame, joinPath(dataDirectory, "gamelist.ini"));
        } catch (const Error& error) {
            result.problems = error.what();
        }
    }
    platform::moveIntoPlace(building, result.configurations);
    result.laidOut = true;
    return result;
}

} // namespace arcavio
