#include "app/avo.h"

#include <QApplication>

#include <memory>

#include "app/messageboxes.h"
#include "app/uprincipal.h"
#include "dialogs/uabout.h"
#include "dialogs/uhelp.h"
#include "dialogs/usaveas.h"
#include "editor/editorcommands.h"
#include "editor/uedit.h"
#include "games/uaddgame.h"
#include "games/uselectgame.h"
#include "launch/launch.h"

namespace arcavio {
namespace {

// The long-lived windows, created in their fixed order: the main window first, because the
// others take their texts from its language lines. It also connects the main window's commands
// to the windows that carry them out.
struct Program {
    TForm1 mainWindow;
    Tc129 help{mainWindow.lang, &mainWindow};
    Tc132 saveAs{mainWindow.lang, [this] { return mainWindow.configurationList().directory(); }, &mainWindow};
    Tc134 selectGame{mainWindow.lang, &mainWindow};
    TForm2 about{&mainWindow};
    Tc161 addGame{mainWindow.lang, &mainWindow};

    EditorContext editor{
        mainWindow.lang,
        selectGame,
        &help,
        [this] { help.ShowModal(); },
        [this] {
            saveAs.ShowModal();
            return saveAs.ChosenPath;
        },
        [this] { mainWindow.refreshList(); },
        &mainWindow,
        {},
    };

    Program()
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
};

} // namespace

int runProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Arcavio 2"));
    MessageBoxes boxes;
    setMessages(&boxes);

    auto program = std::make_unique<Program>();
    program->mainWindow.show();
    const int result = app.exec();
    program.reset();
    setMessages(nullptr);
    return result;
}

} // namespace arcavio
