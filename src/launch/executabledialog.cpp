#include "launch/executabledialog.h"

#include <QFileDialog>

#include "base/language.h"
#include "base/qthelpers.h"
#include "components/dialogrun.h"
#include "launch/filefilter.h"

namespace arcavio {

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
        dialog_ = new QFileDialog(parent_);
        dialog_->setObjectName("d113");
        dialog_->setOption(QFileDialog::DontUseNativeDialog);
        dialog_->setFileMode(QFileDialog::ExistingFile);
        dialog_->setAcceptMode(QFileDialog::AcceptOpen);
        const QStringList filters = qtext(fileDialogFilter(kExecutableFilter)).split(QStringLiteral(";;"));
        dialog_->setNameFilters(filters);
        dialog_->selectNameFilter(filters.front());
        dialog_->setWindowTitle(title_);
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
