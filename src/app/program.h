#pragma once

#include "app/mainwindow.h"
#include "dialogs/aboutwindow.h"
#include "dialogs/configurationnamedialog.h"
#include "dialogs/helpwindow.h"
#include "editor/configurationeditor.h"
#include "editor/editorcommands.h"
#include "games/addgamedialog.h"
#include "games/selectgamedialog.h"

namespace arcavio {

// The long-lived windows, created in their fixed order: the main window first, because the
// others take their texts from its language lines. It also connects the main window's commands
// to the windows that carry them out.
struct Program {
    MainWindow mainWindow;
    HelpWindow help{mainWindow.lang, &mainWindow};
    ConfigurationNameDialog saveAs{
        mainWindow.lang, [this] { return mainWindow.configurationList().directory(); }, &mainWindow};
    SelectGameDialog selectGame{mainWindow.lang, &mainWindow};
    AboutWindow about{&mainWindow};
    AddGameDialog addGame{mainWindow.lang, &mainWindow};

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

    Program();
};

} // namespace arcavio
