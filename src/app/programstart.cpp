#include "app/programstart.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstdio>
#include <iostream>
#include <memory>
#include <unistd.h>
#include <variant>

#include "app/commandline.h"
#include "app/messageboxes.h"
#include "app/program.h"
#include "app/workspace.h"
#include "platform/filesystem.h"

// The resource lives in a static library: nothing would pull it in otherwise.
static void initIconResources()
{
    Q_INIT_RESOURCE(appicon);
}

namespace arcavio {
namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

std::string text(const QString& value)
{
    return value.toStdString();
}

// The options read, or the exit code once help, the version or a complaint has been printed.
std::variant<StartOptions, int> readCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Keep MAME configurations and start arcade games. Without options, lists the "
                       "configurations (*.av2) of the working directory."));
    // Not Qt's own help and version options: they would offer --help-all, whose options of the
    // window system this program does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show a summary of the options and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption workspace(
        QStringLiteral("workspace"),
        QStringLiteral("List the configurations of your own workspace, made on first use with a sample."));
    const QCommandLineOption importNames(
        QStringLiteral("import-names"),
        QStringLiteral("Add the name of every set EMULATOR knows (-listfull) to the game list, without a "
                       "window."),
        QStringLiteral("EMULATOR"));
    const QCommandLineOption gameList(QStringLiteral("gamelist"),
                                      QStringLiteral("With --import-names: the game list file to fill."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption checkSets(
        QStringLiteral("check-sets"),
        QStringLiteral(
            "Ask EMULATOR (-verifyroms) which sets of the ROM folders will run, without a window."),
        QStringLiteral("EMULATOR"));
    const QCommandLineOption romPath(
        QStringLiteral("rompath"),
        QStringLiteral(
            "With --check-sets: the ROM folders, separated by \";\" (the emulator's own by default)."),
        QStringLiteral("FOLDERS"));
    parser.addOptions({help, version, workspace, importNames, gameList, checkSets, romPath});
    parser.addPositionalArgument(QStringLiteral("DIRECTORY"),
                                 QStringLiteral("List the configurations of this directory."),
                                 QStringLiteral("[DIRECTORY]"));

    if (!parser.parse(arguments)) {
        std::cerr << "arcavio: " << text(parser.errorText())
                  << "\nTry 'arcavio --help' for more information.\n";
        return kUsageError;
    }
    if (parser.isSet(help)) {
        std::cout << text(parser.helpText()) << std::flush;
        return 0;
    }
    if (parser.isSet(version)) {
        std::cout << "arcavio " << ARCAVIO_VERSION << '\n' << std::flush;
        return 0;
    }
    StartOptions options;
    options.workspace = parser.isSet(workspace);
    if (parser.isSet(importNames))
        options.importNames = text(parser.value(importNames));
    if (parser.isSet(gameList))
        options.gameList = text(parser.value(gameList));
    if (parser.isSet(checkSets))
        options.checkSets = text(parser.value(checkSets));
    if (parser.isSet(romPath))
        options.romPath = text(parser.value(romPath));
    for (const QString& word : parser.positionalArguments())
        options.directories.push_back(text(word));
    return options;
}

// Everything that needs no window: the options, and the import. A plan for the window, or
// the exit code.
std::variant<StartPlan, int> startWithoutWindow(int& argc, char** argv)
{
    const QCoreApplication core(argc, argv);
    const std::variant<StartOptions, int> read = readCommandLine(QCoreApplication::arguments());
    if (const int* exitCode = std::get_if<int>(&read))
        return *exitCode;
    const StartOptions& options = std::get<StartOptions>(read);
    try {
        const StartPlan plan = planStart(options);
        if (plan.kind == StartKind::CheckSets)
            return checkSetsCommand(*options.checkSets, options.romPath, std::cerr,
                                    isatty(STDERR_FILENO) == 1);
        if (plan.kind != StartKind::ImportNames)
            return plan;
        return importNamesCommand(*options.importNames, options.gameList.value_or(std::string()), std::cerr,
                                  isatty(STDERR_FILENO) == 1);
    } catch (const UsageError& error) {
        std::cerr << "arcavio: " << error.what() << '\n';
        return kUsageError;
    }
}

// The folder the main window lists becomes the working directory; the data directory is made
// when the program is installed, so that what the user adds has a place.
void prepareStart(const StartPlan& plan)
{
    const std::string programDirectory = platform::programDirectory();
    if (plan.kind == StartKind::Workspace) {
        const std::string data = platform::makeDataDirectory();
        const WorkspaceResult workspace =
            prepareWorkspace(data, findInstalledMame(), installedSkinsDirectory(programDirectory));
        if (!workspace.problems.empty())
            std::cerr << "arcavio: " << workspace.problems << '\n';
        platform::setCurrentDirectory(workspace.configurations);
        return;
    }
    if (platform::isInstalledLayout(programDirectory))
        platform::makeDataDirectory();
    if (!plan.directory.empty())
        platform::setCurrentDirectory(plan.directory);
}

QIcon applicationIcon()
{
    initIconResources();
    const QIcon installed = QIcon::fromTheme(QStringLiteral("org.example.Arcavio"));
    return installed.isNull() ? QIcon(QStringLiteral(":/icons/org.example.Arcavio.svg")) : installed;
}

} // namespace

int runProgram(int argc, char** argv)
{
    const std::variant<StartPlan, int> started = startWithoutWindow(argc, argv);
    if (const int* exitCode = std::get_if<int>(&started))
        return *exitCode;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Arcavio 2"));
    QApplication::setWindowIcon(applicationIcon());
    MessageBoxes boxes;
    setMessages(&boxes);

    try {
        prepareStart(std::get<StartPlan>(started));
    } catch (const std::exception& error) {
        // Started from the desktop menu, nobody reads standard error: the box says it too.
        std::cerr << "arcavio: " << error.what() << '\n';
        messages().errorBox(error.what());
        setMessages(nullptr);
        return kFailed;
    }

    auto program = std::make_unique<Program>();
    program->mainWindow.show();
    const int result = app.exec();
    program.reset();
    setMessages(nullptr);
    return result;
}

} // namespace arcavio
