#include "app/setcheckdialog.h"

#include <algorithm>
#include <chrono>

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "base/qthelpers.h"
#include "games/nameimportsummary.h"

namespace arcavio {

SetCheckDialog::SetCheckDialog(QWidget* parent)
    : ProgressWindow(parent, QStringLiteral("checkSets"), QStringLiteral("Check ROM Sets"),
                     QStringLiteral("checkCancel")),
      countLabel_(new QLabel(this)), currentLabel_(new QLabel(this))
{
    progressBar_->setObjectName(QStringLiteral("checkProgress"));
    countLabel_->setObjectName(QStringLiteral("checkCount"));
    currentLabel_->setObjectName(QStringLiteral("checkCurrent"));
    for (QLabel* label : {countLabel_, currentLabel_})
        label->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(countLabel_);
    layout->addWidget(progressBar_);
    layout->addWidget(currentLabel_);
    addCancelRow(layout);
}

SetCheckSummary SetCheckDialog::run(SetCheck& check)
{
    progressBar_->setRange(0, static_cast<int>(std::min<std::size_t>(check.toCheck(), 1u << 30)));
    showProgress(check);
    if (check.toCheck() > 0) {
        showWhileReading(
            [this, &check] {
                const bool running = check.poll(std::chrono::milliseconds(0));
                showProgress(check);
                return running;
            },
            [&check] { check.cancel(); });
    }
    return check.finish();
}

void SetCheckDialog::showProgress(const SetCheck& check)
{
    const std::size_t done = check.checkedSoFar();
    progressBar_->setValue(static_cast<int>(std::min<std::size_t>(done, 1u << 30)));
    countLabel_->setText(
        qtext("Sets checked: " + groupedCount(done) + " of " + groupedCount(check.toCheck())));
    const QString current = shownLine(check.currentSet());
    currentLabel_->setText(current.isEmpty()
                               ? QString()
                               : currentLabel_->fontMetrics().elidedText(
                                     QStringLiteral("Checking ") + current, Qt::ElideRight, kTextWidth));
}

} // namespace arcavio
