#include "app/program.h"

#include "base/messages.h"
#include "launch/launch.h"

namespace arcavio {

Program::Program()
{
    selectGame.setAddGameDialog(&addGame);
    TForm1* w = &mainWindow;
    QObject::connect(w, &TForm1::runRequested, w, [this] {
        guarded([this] {
            runConfiguration({mainWindow.selectedFullPath(), mainWindow.config, mainWindow.lang, selectGame,
                              mainWindow.inifile, mainWindow.Executor});
        });
    });
    QObject::connect(w, &TForm1::kwikstartRequested, w, [this] {
        guarded([this] { kwikstart({mainWindow.d113, selectGame, mainWindow.Executor}); });
    });
    QObject::connect(w, &TForm1::newConfigurationRequested, w,
                     [this] { guarded([this] { newConfiguration(editor); }); });
    QObject::connect(w, &TForm1::editRequested, w, [this] {
        guarded([this] { editConfiguration(editor, mainWindow.selectedFullPath(), mainWindow.ListBox); });
    });
    QObject::connect(w, &TForm1::aboutRequested, &about, [this] { about.exec(); });
}

} // namespace arcavio
