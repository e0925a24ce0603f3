#include "app/programstart.h"

#include <QApplication>
#include <QIcon>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>
#include <variant>
#include <vector>

#include "app/commandline.h"
#include "app/messageboxes.h"
#include "app/program.h"
#include "app/workspace.h"
#include "platform/filesystem.h"
#include "text/encoding.h"

// The resource lives in a static library: nothing would pull it in otherwise.
static void initIconResources()
{
    Q_INIT_RESOURCE(appicon);
}

namespace arcavio {
namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

// Standard output may be a full disk or a closed pipe: what could not be written is a failure.
int printed(const std::string& text)
{
    std::cout << text << std::flush;
    if (std::cout)
        return 0;
    std::cerr << "arcavio: cannot write on standard output\n";
    return kFailed;
}

// Everything that needs no window: the options, and the import. A plan for the window, or
// the exit code.
std::variant<StartPlan, int> startWithoutWindow(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    CommandLine line;
    try {
        line = readCommandLine(arguments);
    } catch (const CommandLineError& error) {
        std::cerr << "arcavio: " << error.what() << "\nTry 'arcavio --help' for more information.\n";
        return kUsageError;
    }
    if (line.request == CommandLine::Request::Help)
        return printed(commandLineHelp());
    if (line.request == CommandLine::Request::Version)
        return printed(std::string("arcavio ") + ARCAVIO_VERSION + '\n');
    const StartOptions& options = line.options;
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

// Qt ends the program with an abort when no platform plugin can be started (a display that
// cannot be reached); the user is told so instead, and the exit code is that of a failure.
QtMessageHandler qtHandler = nullptr;

void stopWithoutWindowSystem(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        if (qtHandler != nullptr)
            qtHandler(type, context, message);
        return;
    }
    std::cerr << "arcavio: no window can be opened: the window system could not be reached\n" << std::flush;
    std::_Exit(kFailed);
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
    const std::string noDisplay = missingDisplayProblem(
        std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
    if (!noDisplay.empty()) {
        std::cerr << "arcavio: " << noDisplay << '\n';
        return kFailed;
    }

    // The arguments are read already: Qt is given none of them to take as its own.
    static int qtArgc = 1;
    static char fallbackName[] = "arcavio";
    static char* qtArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
    qtHandler = qInstallMessageHandler(stopWithoutWindowSystem);
    QApplication app(qtArgc, qtArgv);
    qInstallMessageHandler(qtHandler);
    QApplication::setApplicationName(QStringLiteral("Arcavio 2"));
    QApplication::setWindowIcon(applicationIcon());
    MessageBoxes boxes;
    setMessages(&boxes);

    try {
        prepareStart(std::get<StartPlan>(started));
    } catch (const std::exception& error) {
        // Started from the desktop menu, nobody reads standard error: the box says it too.
        std::cerr << "arcavio: " << decodeFileName(error.what()) << '\n';
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
