#include "app/setcheckdialog.h"

#include <chrono>
#include <utility>

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/qthelpers.h"
#include "components/dialogrun.h"
#include "games/nameimportsummary.h"

namespace arcavio {
namespace {

constexpr std::chrono::milliseconds kReadEvery{20};
constexpr int kTextWidth = 380;

} // namespace

SetCheckDialog::SetCheckDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      progressBar_(new QProgressBar(this)), countLabel_(new QLabel(this)), currentLabel_(new QLabel(this)),
      cancelButton_(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("checkSets"));
    setWindowTitle(QStringLiteral("Check ROM Sets"));
    progressBar_->setObjectName(QStringLiteral("checkProgress"));
    countLabel_->setObjectName(QStringLiteral("checkCount"));
    currentLabel_->setObjectName(QStringLiteral("checkCurrent"));
    cancelButton_->setObjectName(QStringLiteral("checkCancel"));
    for (QLabel* label : {countLabel_, currentLabel_})
        label->setTextFormat(Qt::PlainText);
    progressBar_->setTextVisible(false);
    progressBar_->setFixedWidth(kTextWidth);
    // Enter must not stop a check by accident.
    cancelButton_->setAutoDefault(false);
    cancelButton_->setDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &SetCheckDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(countLabel_);
    layout->addWidget(progressBar_);
    layout->addWidget(currentLabel_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    timer_.setInterval(kReadEvery);
    connect(&timer_, &QTimer::timeout, this, &SetCheckDialog::readSome);
}

SetCheckSummary SetCheckDialog::run(SetCheck& check)
{
    check_ = &check;
    failure_ = nullptr;
    progressBar_->setRange(0, static_cast<int>(std::min<std::size_t>(check.toCheck(), 1u << 30)));
    showProgress();
    if (check.toCheck() > 0) {
        timer_.start();
        execDialog(*this);
        timer_.stop();
    }
    check_ = nullptr;
    if (failure_)
        std::rethrow_exception(std::exchange(failure_, nullptr));
    return check.finish();
}

void SetCheckDialog::readSome()
{
    if (check_ == nullptr)
        return;
    // No exception may cross the event loop: run() throws it.
    try {
        const bool running = check_->poll(std::chrono::milliseconds(0));
        showProgress();
        if (!running) {
            timer_.stop();
            accept();
        }
    } catch (...) {
        failure_ = std::current_exception();
        timer_.stop();
        check_->cancel();
        QDialog::reject();
    }
}

void SetCheckDialog::showProgress()
{
    if (check_ == nullptr)
        return;
    const std::size_t done = check_->checkedSoFar();
    progressBar_->setValue(static_cast<int>(std::min<std::size_t>(done, 1u << 30)));
    countLabel_->setText(
        qtext("Sets checked: " + groupedCount(done) + " of " + groupedCount(check_->toCheck())));
    const QString current = shownLine(check_->currentSet());
    currentLabel_->setText(current.isEmpty()
                               ? QString()
                               : currentLabel_->fontMetrics().elidedText(
                                     QStringLiteral("Checking ") + current, Qt::ElideRight, kTextWidth));
}

void SetCheckDialog::reject()
{
    if (check_ != nullptr) {
        timer_.stop();
        check_->cancel();
    }
    QDialog::reject();
}

} // namespace arcavio
