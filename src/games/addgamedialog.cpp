#include "games/addgamedialog.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/language.h"
#include "base/messages.h"
#include "components/showntext.h"
#include "components/windowplacement.h"
#include "games/modaldialog.h"

namespace arcavio {

AddGameDialog::AddGameDialog(const Language& language, QWidget* parent)
    : QDialog(parent), zip(new QLineEdit(this)), game(new QLineEdit(this)),
      c162(new QLabel(qtext(builtinText(162)), this)), c163(new QLabel(qtext(builtinText(163)), this)),
      c164(new QPushButton(qtext(builtinText(164)), this)),
      c165(new QPushButton(qtext(builtinText(165)), this))
{
    setObjectName("c161");
    setWindowTitle(QStringLiteral("Add a Game"));
    setFixedSize(340, 125);
    setSizeGripEnabled(false);

    c162->setObjectName("c162");
    c163->setObjectName("c163");
    zip->setObjectName("zip");
    game->setObjectName("game");
    c164->setObjectName("c164");
    c165->setObjectName("c165");
    for (QLabel* label : {c162, c163})
        label->setTextFormat(Qt::PlainText);
    for (QPushButton* button : {c164, c165}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    c162->move(8, 25);
    c162->adjustSize();
    zip->setGeometry(73, 21, 259, 21);
    c163->move(8, 56);
    c163->adjustSize();
    game->setGeometry(73, 53, 259, 21);
    c165->setGeometry(176, 88, 75, 25);
    c164->setGeometry(256, 88, 75, 25);

    setTabOrder(zip, game);
    setTabOrder(game, c164);
    setTabOrder(c164, c165);

    connect(c164, &QPushButton::clicked, this, [this] {
        AddConfirmed = true;
        accept();
    });
    connect(c165, &QPushButton::clicked, this, &QDialog::reject);

    guarded([&] { applyLanguage(language); });
    fitToTexts();
    auto* placement = new WindowPlacement(this);
    placement->centreOnScreen(WindowPlacement::Showing::Every);
}

// The window and its buttons keep their designed sizes and places while the texts fit. A label
// longer than its designed room moves the edits' left edge along, the edits giving up width down
// to a usable minimum; beyond that, and for button texts that do not fit, the window widens.
void AddGameDialog::fitToTexts()
{
    constexpr int kEditRight = 73 + 259;
    constexpr int kMinimumEditWidth = 160;
    c162->adjustSize();
    c163->adjustSize();
    const int editLeft = std::max({73, c162->x() + c162->width() + 6, c163->x() + c163->width() + 6});
    const int editWidth = std::max(kEditRight - editLeft, kMinimumEditWidth);
    const int addWidth = buttonWidthFor(c164, 75);
    const int cancelWidth = buttonWidthFor(c165, 75);
    const int width = std::max({340, editLeft + editWidth + 8, 8 + cancelWidth + 5 + addWidth + 9});
    setFixedSize(width, 125);
    zip->setGeometry(editLeft, 21, editWidth, 21);
    game->setGeometry(editLeft, 53, editWidth, 21);
    c164->setGeometry(width - 9 - addWidth, 88, addWidth, 25);
    c165->setGeometry(c164->x() - 5 - cancelWidth, 88, cancelWidth, 25);
}

void AddGameDialog::applyLanguage(const Language& language)
{
    if (!language.loaded())
        return;
    const auto text = [&](int line) { return shownLine(language.line(line)); };
    setWindowTitle(text(161));
    c162->setText(text(162));
    c162->adjustSize();
    c163->setText(text(163));
    c163->adjustSize();
    c164->setText(text(164));
    c165->setText(text(165));
}

void AddGameDialog::clearEdits()
{
    zip->clear();
    game->clear();
}

std::string AddGameDialog::zipText() const
{
    return zip->text().toStdString();
}
std::string AddGameDialog::gameText() const
{
    return game->text().toStdString();
}

void AddGameDialog::prepareForShowing()
{
    AddConfirmed = false;
}

void AddGameDialog::showModal()
{
    prepareForShowing();
    exec();
}

void AddGameDialog::keyPressEvent(QKeyEvent* event)
{
    if (isDialogClosingKey(event)) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace arcavio
