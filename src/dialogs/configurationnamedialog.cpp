#include "dialogs/configurationnamedialog.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/language.h"
#include "base/messages.h"
#include "base/qthelpers.h"
#include "components/windowplacement.h"
#include "config/configuration.h"
#include "dialogs/configurationname.h"

namespace arcavio {
namespace {

QPushButton* makeButton(const char* name, const char* text, const QRect& geometry, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    // Neither button answers Enter: the name field must not close the dialog by accident.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

ConfigurationNameDialog::ConfigurationNameDialog(const Language& language, DirectoryGetter listDirectory,
                                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), listDirectory_(std::move(listDirectory))
{
    setObjectName(QStringLiteral("c132"));
    setWindowTitle(qtext(kBuiltinNameDialogCaption));
    setFixedSize(327, 95);

    frame_ = new QFrame(this);
    frame_->setObjectName(QStringLiteral("Bevel1"));
    frame_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame_->setGeometry(0, 0, 327, 95);

    prompt_ = new QLabel(qtext(builtinText(133)), this);
    prompt_->setObjectName(QStringLiteral("c133"));
    prompt_->setTextFormat(Qt::PlainText);
    prompt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    prompt_->setGeometry(8, 8, 313, 22);

    nameEdit_ = new QLineEdit(this);
    nameEdit_->setObjectName(QStringLiteral("Edit1"));
    nameEdit_->setGeometry(8, 32, 313, 21);
    prompt_->setBuddy(nameEdit_);

    okButton_ = makeButton("Button1", "OK", QRect(248, 64, 75, 25), this);
    cancelButton_ = makeButton("Button2", "Cancelar", QRect(166, 64, 75, 25), this);
    setTabOrder(nameEdit_, okButton_);
    setTabOrder(okButton_, cancelButton_);

    connect(okButton_, &QPushButton::clicked, this, [this] { guarded([this] { okClicked(); }); });
    connect(cancelButton_, &QPushButton::clicked, this, &ConfigurationNameDialog::reject);
    auto* placement = new WindowPlacement(this);
    placement->centreOnScreen(WindowPlacement::Showing::Every);

    guarded([&] {
        if (!language.loaded())
            return;
        setLabelCaption(prompt_, shownLine(language.line(133)));
        setWindowTitle(shownLine(language.line(132)));
    });
}

void ConfigurationNameDialog::showModal()
{
    exec();
}

void ConfigurationNameDialog::okClicked()
{
    ChosenPath = configurationPath(listDirectory_(), nameEdit_->text().toStdString());
    if (mayUseConfigurationPath(ChosenPath))
        accept();
}

void ConfigurationNameDialog::reject()
{
    ChosenPath.clear();
    QDialog::reject();
}

void ConfigurationNameDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void ConfigurationNameDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    nameEdit_->setFocus();
}

} // namespace arcavio
