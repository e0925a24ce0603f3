#include "app/importnamesdialog.h"

#include <chrono>
#include <filesystem>

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/qthelpers.h"
#include "components/dialogrun.h"
#include "games/nameimportsummary.h"
#include "launch/executabledialog.h"
#include "platform/filesystem.h"
#include "text/paths.h"

namespace arcavio {
namespace {

using Clock = std::chrono::steady_clock;

// A fast writer is read for up to 10 ms a turn, so the window stays responsive and the emulator is
// never held up for long.
constexpr std::chrono::milliseconds kReadFor{10};

} // namespace

ImportNamesDialog::ImportNamesDialog(QWidget* parent)
    : ProgressWindow(parent, QStringLiteral("importNames"), QStringLiteral("Import Game Names"),
                     QStringLiteral("importCancel")),
      emulatorLabel_(new QLabel(this)), countLabel_(new QLabel(this))
{
    auto* reading = new QLabel(QStringLiteral("Reading the list of games from the emulator:"), this);
    reading->setObjectName(QStringLiteral("importReading"));
    emulatorLabel_->setObjectName(QStringLiteral("importEmulator"));
    progressBar_->setObjectName(QStringLiteral("importProgress"));
    countLabel_->setObjectName(QStringLiteral("importCount"));
    for (QLabel* label : {reading, emulatorLabel_, countLabel_})
        label->setTextFormat(Qt::PlainText);
    progressBar_->setRange(0, 0); // how long the list is, nobody knows before its end

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(reading);
    layout->addWidget(emulatorLabel_);
    layout->addSpacing(6);
    layout->addWidget(progressBar_);
    layout->addWidget(countLabel_);
    addCancelRow(layout);
}

NameImportSummary ImportNamesDialog::run(const std::string& emulator, const std::string& gameListPath)
{
    GameNameImport import(emulator, gameListPath);
    const QString shown = shownLine(import.emulator());
    emulatorLabel_->setText(emulatorLabel_->fontMetrics().elidedText(shown, Qt::ElideMiddle, kTextWidth));
    emulatorLabel_->setToolTip(plainToolTip(shown));
    showCount(import);
    showWhileReading([this, &import] { return readSome(import); }, [&import] { import.cancel(); });
    return import.finish();
}

bool ImportNamesDialog::readSome(GameNameImport& import)
{
    const Clock::time_point until = Clock::now() + kReadFor;
    bool running = true;
    while (true) {
        const std::size_t before = import.bytesRead();
        running = import.poll(std::chrono::milliseconds(0));
        if (!running || import.bytesRead() == before || Clock::now() >= until)
            break;
    }
    showCount(import);
    return running;
}

void ImportNamesDialog::showCount(const GameNameImport& import)
{
    countLabel_->setText(qtext("Names read: " + groupedCount(import.setsRead())));
}

NameImportCommand::NameImportCommand(QWidget* parent) : parent_(parent) {}

NameImportCommand::~NameImportCommand() = default; // the dialogs belong to the parent

QFileDialog* NameImportCommand::emulatorDialog()
{
    if (emulatorDialog_ == nullptr) {
        emulatorDialog_ =
            newEmulatorFileDialog(parent_, QStringLiteral("importEmulatorFile"),
                                  QStringLiteral("Select the Emulator to Import Game Names From"));
    }
    return emulatorDialog_;
}

ImportNamesDialog* NameImportCommand::progressDialog()
{
    if (progressDialog_ == nullptr)
        progressDialog_ = new ImportNamesDialog(parent_);
    return progressDialog_;
}

void NameImportCommand::run(const std::string& offered, const std::string& gameListPath)
{
    // Said before the emulator is chosen and run, not after its whole list was read.
    platform::checkReplaceable(gameListPath);
    QFileDialog* dialog = emulatorDialog();
    if (!offered.empty()) {
        const std::string path = std::filesystem::path(offered).is_absolute()
                                     ? offered
                                     : joinPath(platform::currentDirectory(), offered);
        const std::string directory = directoryPart(path);
        if (!directory.empty() && platform::directoryExists(directory))
            dialog->setDirectory(qtext(directory));
        if (platform::fileExists(path))
            dialog->selectFile(qtext(path));
    } else if (!last_.isEmpty()) {
        dialog->selectFile(last_);
    }
    if (execDialog(*dialog) != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return;
    last_ = dialog->selectedFiles().constFirst();
    const NameImportSummary summary =
        progressDialog()->run(QDir::toNativeSeparators(last_).toStdString(), gameListPath);
    if (!summary.cancelled)
        messages().plainMessage(nameImportSummaryText(summary, fileNamePart(gameListPath)));
}

} // namespace arcavio
