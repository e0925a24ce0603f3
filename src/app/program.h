#pragma once

#include "app/uprincipal.h"
#include "dialogs/uabout.h"
#include "dialogs/uhelp.h"
#include "dialogs/usaveas.h"
#include "editor/editorcommands.h"
#include "editor/uedit.h"
#include "games/uaddgame.h"
#include "games/uselectgame.h"

namespace arcavio {

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

    Program();
};

} // namespace arcavio
