#include "components/folderbrowser.h"

#include <QDir>
#include <QFileDialog>

#include "base/qthelpers.h"
#include "components/windowplacement.h"

namespace arcavio {
namespace {

std::optional<std::string> askWithDialog(QWidget* owner, const std::string& title, const std::string& start)
{
    // With no folder to start on, the user's home stands for the desktop at the tree's top.
    const QString from = start.empty() ? QDir::homePath() : qtext(start);
    QFileDialog dialog(owner, shownLine(title), from);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    auto* placement = new WindowPlacement(&dialog);
    if (owner != nullptr)
        placement->centreOver(owner);
    else
        placement->centreOnScreen(WindowPlacement::Showing::Every);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString picked = dialog.selectedFiles().front();
    if (picked.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(QDir(picked).absolutePath()).toStdString();
}

FolderBrowser::Chooser& chooser()
{
    static FolderBrowser::Chooser current = askWithDialog;
    return current;
}

} // namespace

bool FolderBrowser::Execute(QWidget* owner)
{
    const std::optional<std::string> picked = chooser()(owner, Title, Directory);
    if (!picked)
        return false;
    Directory = *picked;
    return true;
}

FolderBrowser::Chooser FolderBrowser::setChooser(Chooser replacement)
{
    Chooser previous = chooser();
    chooser() = replacement ? std::move(replacement) : Chooser(askWithDialog);
    return previous;
}

} // namespace arcavio
