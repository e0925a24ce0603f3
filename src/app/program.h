#pragma once

#include "app/importnamesdialog.h"
#include "app/mainwindow.h"
#include "app/setcheckdialog.h"
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
// to the windows that carry them out. `editor` is what each new configuration editor is given.
struct Program {
    MainWindow mainWindow;
    HelpWindow help{mainWindow.language, &mainWindow};
    ConfigurationNameDialog configurationName{
        mainWindow.language, [this] { return mainWindow.configurationList().directory(); }, &mainWindow};
    SelectGameDialog selectGame{mainWindow.language, &mainWindow};
    AboutWindow about{&mainWindow};
    AddGameDialog addGame{mainWindow.language, &mainWindow};
    NameImportCommand nameImport{&mainWindow};
    SetCheckDialog* setCheck = nullptr; // made on first use; the main window owns it

    EditorContext editor{
        mainWindow.language,
        selectGame,
        [this] { help.showModal(); },
        [this] {
            configurationName.showModal();
            return configurationName.ChosenPath;
        },
        [this] { mainWindow.refreshList(); },
        &mainWindow,
        {},
    };

    Program();
};

} // namespace arcavio
