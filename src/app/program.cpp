#include "app/program.h"

#include "base/messages.h"
#include "config/configuration.h"
#include "launch/launch.h"

namespace arcavio {

Program::Program()
{
    selectGame.setAddGameDialog(&addGame);
    MainWindow* w = &mainWindow;
    QObject::connect(w, &MainWindow::runRequested, w, [this] {
        guarded([this] {
            runConfiguration({mainWindow.selectedFullPath(),
                              mainWindow.configurationLines,
                              mainWindow.language,
                              selectGame,
                              mainWindow.optionFileLines,
                              mainWindow.launcher,
                              {}});
        });
    });
    QObject::connect(w, &MainWindow::kwikstartRequested, w, [this] {
        guarded([this] {
            kwikstart(
                {mainWindow.emulatorFileDialog, selectGame, mainWindow.launcher, mainWindow.language, {}});
        });
    });
    // Into the file the select-game dialog reads, so its next showing has the new names.
    QObject::connect(w, &MainWindow::importNamesRequested, w, [this] {
        guarded([this] {
            const LineList& selected = mainWindow.configurationLines;
            const bool offered = !mainWindow.selectedFullPath().empty() && !selected.empty();
            nameImport.run(offered ? selected.at(line::Emulator) : std::string(), selectGame.gameListPath());
        });
    });
    QObject::connect(w, &MainWindow::checkSetsRequested, w, [this] {
        guarded([this] {
            const LineList& selected = mainWindow.configurationLines;
            if (mainWindow.selectedFullPath().empty() || selected.count() <= line::RomDirectory) {
                const Language& language = mainWindow.language;
                messages().plainMessage(language.holds(kCheckSetsNeedsConfigurationLine)
                                            ? language.line(kCheckSetsNeedsConfigurationLine)
                                            : "Select a configuration first: its emulator checks the sets of "
                                              "its ROM folders.");
                return;
            }
            SetCheck check(setCheckRequest(selected.at(line::Emulator), selected.at(line::RomDirectory), {}));
            if (setCheck == nullptr)
                setCheck = new SetCheckDialog(&mainWindow);
            messages().plainMessage(setCheckSummaryText(setCheck->run(check)));
        });
    });
    QObject::connect(w, &MainWindow::newConfigurationRequested, w,
                     [this] { guarded([this] { newConfiguration(editor); }); });
    QObject::connect(w, &MainWindow::editRequested, w, [this] {
        guarded([this] { editConfiguration(editor, mainWindow.selectedFullPath(), mainWindow.editLines); });
    });
    QObject::connect(w, &MainWindow::aboutRequested, &about, [this] { about.exec(); });
}

} // namespace arcavio
