#include "app/progresswindow.h"

#include <chrono>
#include <utility>

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "components/dialogrun.h"

namespace arcavio {
namespace {

// The emulator may write a few bytes at a time; reading it every 20 ms lets the pipe fill in
// between.
constexpr std::chrono::milliseconds kReadEvery{20};

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent, const QString& objectName, const QString& title,
                               const QString& cancelObjectName)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      progressBar_(new QProgressBar(this)), cancelButton_(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(objectName);
    setWindowTitle(title);
    cancelButton_->setObjectName(cancelObjectName);
    progressBar_->setTextVisible(false);
    progressBar_->setFixedWidth(kTextWidth);
    // Enter must not stop the emulator by accident.
    cancelButton_->setAutoDefault(false);
    cancelButton_->setDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &ProgressWindow::reject);

    timer_.setInterval(kReadEvery);
    connect(&timer_, &QTimer::timeout, this, &ProgressWindow::onTimer);
}

void ProgressWindow::addCancelRow(QVBoxLayout* layout)
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgressWindow::showWhileReading(std::function<bool()> readSome, std::function<void()> cancel)
{
    readSome_ = std::move(readSome);
    cancel_ = std::move(cancel);
    failure_ = nullptr;
    timer_.start();
    execDialog(*this);
    timer_.stop();
    readSome_ = nullptr;
    cancel_ = nullptr;
    if (failure_)
        std::rethrow_exception(std::exchange(failure_, nullptr));
}

void ProgressWindow::onTimer()
{
    if (!readSome_)
        return;
    // No exception may cross the event loop: it is handed to showWhileReading(), which throws it.
    try {
        if (!readSome_()) {
            timer_.stop();
            accept();
        }
    } catch (...) {
        failure_ = std::current_exception();
        timer_.stop();
        cancel_();
        QDialog::reject();
    }
}

void ProgressWindow::reject()
{
    if (cancel_) {
        timer_.stop();
        cancel_();
    }
    QDialog::reject();
}

} // namespace arcavio
