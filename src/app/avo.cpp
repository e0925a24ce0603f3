#include "app/avo.h"

#include <QApplication>

#include <memory>

#include "app/messageboxes.h"
#include "app/uprincipal.h"
#include "dialogs/uabout.h"
#include "dialogs/uhelp.h"
#include "dialogs/usaveas.h"
#include "games/uaddgame.h"
#include "games/uselectgame.h"

namespace arcavio {
namespace {

// The long-lived windows, created in their fixed order: the main window first, because the
// others take their texts from its language lines.
struct Program {
    TForm1 mainWindow;
    Tc129 help{mainWindow.lang, &mainWindow};
    Tc132 saveAs{mainWindow.lang, [this] { return mainWindow.configurationList().directory(); }, &mainWindow};
    Tc134 selectGame{mainWindow.lang, &mainWindow};
    TForm2 about{&mainWindow};
    Tc161 addGame{mainWindow.lang, &mainWindow};

    Program()
    {
        selectGame.setAddGameDialog(&addGame);
        QObject::connect(&mainWindow, &TForm1::aboutRequested, &about, [this] { about.exec(); });
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
