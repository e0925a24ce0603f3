#include "games/addgamedialog.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/language.h"
#include "base/messages.h"
#include "base/qthelpers.h"
#include "components/windowplacement.h"

namespace arcavio {

AddGameDialog::AddGameDialog(const Language& language, QWidget* parent)
    : QDialog(parent), zipEdit_(new QLineEdit(this)), gameEdit_(new QLineEdit(this)),
      zipLabel_(new QLabel(qtext(builtinText(162)), this)),
      gameLabel_(new QLabel(qtext(builtinText(163)), this)),
      addButton_(new QPushButton(qtext(builtinText(164)), this)),
      cancelButton_(new QPushButton(qtext(builtinText(165)), this))
{
    setObjectName("c161");
    setWindowTitle(QStringLiteral("Add a Game"));
    setFixedSize(340, 125);
    setSizeGripEnabled(false);

    zipLabel_->setObjectName("c162");
    gameLabel_->setObjectName("c163");
    zipEdit_->setObjectName("zip");
    gameEdit_->setObjectName("game");
    addButton_->setObjectName("c164");
    cancelButton_->setObjectName("c165");
    for (QLabel* label : {zipLabel_, gameLabel_})
        label->setTextFormat(Qt::PlainText);
    zipLabel_->setBuddy(zipEdit_);
    gameLabel_->setBuddy(gameEdit_);
    for (QPushButton* button : {addButton_, cancelButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    zipLabel_->move(8, 25);
    zipLabel_->adjustSize();
    zipEdit_->setGeometry(73, 21, 259, 21);
    gameLabel_->move(8, 56);
    gameLabel_->adjustSize();
    gameEdit_->setGeometry(73, 53, 259, 21);
    cancelButton_->setGeometry(176, 88, 75, 25);
    addButton_->setGeometry(256, 88, 75, 25);

    setTabOrder(zipEdit_, gameEdit_);
    setTabOrder(gameEdit_, addButton_);
    setTabOrder(addButton_, cancelButton_);

    connect(addButton_, &QPushButton::clicked, this, [this] {
        AddConfirmed = true;
        accept();
    });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

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
    zipLabel_->adjustSize();
    gameLabel_->adjustSize();
    const int editLeft =
        std::max({73, zipLabel_->x() + zipLabel_->width() + 6, gameLabel_->x() + gameLabel_->width() + 6});
    const int editWidth = std::max(kEditRight - editLeft, kMinimumEditWidth);
    const int addWidth = buttonWidthFor(addButton_, 75);
    const int cancelWidth = buttonWidthFor(cancelButton_, 75);
    const int width = std::max({340, editLeft + editWidth + 8, 8 + cancelWidth + 5 + addWidth + 9});
    setFixedSize(width, 125);
    zipEdit_->setGeometry(editLeft, 21, editWidth, 21);
    gameEdit_->setGeometry(editLeft, 53, editWidth, 21);
    addButton_->setGeometry(width - 9 - addWidth, 88, addWidth, 25);
    cancelButton_->setGeometry(addButton_->x() - 5 - cancelWidth, 88, cancelWidth, 25);
}

void AddGameDialog::applyLanguage(const Language& language)
{
    if (!language.loaded())
        return;
    const auto text = [&](int line) { return shownLine(language.line(line)); };
    setWindowTitle(text(161));
    setLabelCaption(zipLabel_, text(162));
    zipLabel_->adjustSize();
    setLabelCaption(gameLabel_, text(163));
    gameLabel_->adjustSize();
    addButton_->setText(text(164));
    cancelButton_->setText(text(165));
}

void AddGameDialog::clearEdits()
{
    zipEdit_->clear();
    gameEdit_->clear();
}

std::string AddGameDialog::zipText() const
{
    return zipEdit_->text().toStdString();
}
std::string AddGameDialog::gameText() const
{
    return gameEdit_->text().toStdString();
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
    if (!ignoreDialogClosingKey(event))
        QDialog::keyPressEvent(event);
}

} // namespace arcavio
