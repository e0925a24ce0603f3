#include "launch/executabledialog.h"

#include <QFileDialog>

#include "base/language.h"
#include "base/qthelpers.h"
#include "components/dialogrun.h"
#include "launch/filefilter.h"

namespace arcavio {

QFileDialog* newEmulatorFileDialog(QWidget* parent, const QString& objectName, const QString& title)
{
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(objectName);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = qtext(fileDialogFilter(kExecutableFilter)).split(QStringLiteral(";;"));
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(filters.front());
    dialog->setWindowTitle(title);
    return dialog;
}

EmulatorFileDialog::EmulatorFileDialog(QWidget* parent) : parent_(parent), title_(qtext(builtinText(113))) {}

EmulatorFileDialog::~EmulatorFileDialog() = default; // the dialog belongs to its parent

void EmulatorFileDialog::setTitle(const QString& title)
{
    title_ = title;
    if (dialog_ != nullptr)
        dialog_->setWindowTitle(title);
}

QFileDialog* EmulatorFileDialog::dialog()
{
    if (dialog_ == nullptr) {
        dialog_ = newEmulatorFileDialog(parent_, QStringLiteral("d113"), title_);
    }
    return dialog_;
}

std::optional<std::string> EmulatorFileDialog::chooseExecutable()
{
    QFileDialog* d = dialog();
    if (!last_.isEmpty())
        d->selectFile(last_);
    if (execDialog(*d) != QDialog::Accepted || d->selectedFiles().isEmpty())
        return std::nullopt;
    last_ = d->selectedFiles().front();
    return last_.toStdString();
}

} // namespace arcavio
