#include "app/importnamesdialog.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <utility>

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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

// The emulator may write its list a few bytes at a time; reading it every 20 ms lets the pipe
// fill in between. A fast writer is read for up to 10 ms a turn, so the window stays responsive
// and the emulator is never held up for long.
constexpr std::chrono::milliseconds kReadEvery{20};
constexpr std::chrono::milliseconds kReadFor{10};
constexpr int kTextWidth = 380;

} // namespace

ImportNamesDialog::ImportNamesDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      emulatorLabel_(new QLabel(this)), progressBar_(new QProgressBar(this)), countLabel_(new QLabel(this)),
      cancelButton_(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("importNames"));
    setWindowTitle(QStringLiteral("Import Game Names"));

    auto* reading = new QLabel(QStringLiteral("Reading the list of games from the emulator:"), this);
    reading->setObjectName(QStringLiteral("importReading"));
    emulatorLabel_->setObjectName(QStringLiteral("importEmulator"));
    progressBar_->setObjectName(QStringLiteral("importProgress"));
    countLabel_->setObjectName(QStringLiteral("importCount"));
    cancelButton_->setObjectName(QStringLiteral("importCancel"));
    for (QLabel* label : {reading, emulatorLabel_, countLabel_})
        label->setTextFormat(Qt::PlainText);
    progressBar_->setRange(0, 0); // how long the list is, nobody knows before its end
    progressBar_->setTextVisible(false);
    // Enter must not stop an import by accident.
    cancelButton_->setAutoDefault(false);
    cancelButton_->setDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &ImportNamesDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(reading);
    layout->addWidget(emulatorLabel_);
    layout->addSpacing(6);
    layout->addWidget(progressBar_);
    layout->addWidget(countLabel_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    progressBar_->setFixedWidth(kTextWidth);

    timer_.setInterval(kReadEvery);
    connect(&timer_, &QTimer::timeout, this, &ImportNamesDialog::readSome);
}

NameImportSummary ImportNamesDialog::run(const std::string& emulator, const std::string& gameListPath)
{
    GameNameImport import(emulator, gameListPath);
    const QString shown = shownLine(import.emulator());
    emulatorLabel_->setText(emulatorLabel_->fontMetrics().elidedText(shown, Qt::ElideMiddle, kTextWidth));
    emulatorLabel_->setToolTip(plainToolTip(shown));
    import_ = &import;
    failure_ = nullptr;
    showCount();
    timer_.start();
    execDialog(*this);
    timer_.stop();
    import_ = nullptr;
    if (failure_)
        std::rethrow_exception(std::exchange(failure_, nullptr));
    return import.finish();
}

void ImportNamesDialog::readSome()
{
    if (import_ == nullptr)
        return;
    // No exception may cross the event loop: it is handed to run(), which throws it.
    try {
        const Clock::time_point until = Clock::now() + kReadFor;
        bool running = true;
        while (true) {
            const std::size_t before = import_->bytesRead();
            running = import_->poll(std::chrono::milliseconds(0));
            if (!running || import_->bytesRead() == before || Clock::now() >= until)
                break;
        }
        showCount();
        if (!running) {
            timer_.stop();
            accept();
        }
    } catch (...) {
        failure_ = std::current_exception();
        timer_.stop();
        import_->cancel();
        QDialog::reject();
    }
}

void ImportNamesDialog::showCount()
{
    const std::size_t read = import_ != nullptr ? import_->setsRead() : 0;
    countLabel_->setText(qtext("Names read: " + groupedCount(read)));
}

void ImportNamesDialog::reject()
{
    if (import_ != nullptr) {
        timer_.stop();
        import_->cancel();
    }
    QDialog::reject();
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
