#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// The one way tests reach modal windows: an action queued before exec() runs inside its loop.
namespace arcavio::test {

// Runs the action once a modal window is up, from inside its exec(); tries for about a second,
// then fails the test.
inline void whenModal(std::function<void(QWidget*)> action, int triesLeft = 100)
{
    QTimer::singleShot(triesLeft == 100 ? 0 : 10, [action = std::move(action), triesLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
        } else if (triesLeft > 0) {
            whenModal(std::move(action), triesLeft - 1);
        } else {
            ADD_FAILURE() << "no modal window came up";
        }
    });
}

// Runs the action once, at the event loop's next turn, with the modal window then up or null:
// for a command that shows one only when nothing fails. The timer belongs to the object, so the
// action cannot outlive the test that set it.
class NextTurn {
  public:
    void run(std::function<void(QWidget*)> action)
    {
        timer_ = std::make_unique<QTimer>();
        timer_->setSingleShot(true);
        QObject::connect(timer_.get(), &QTimer::timeout, [this, action = std::move(action)] {
            ran_ = true;
            action(QApplication::activeModalWidget());
        });
        timer_->start(0);
    }
    bool ran() const { return ran_; }

  private:
    std::unique_ptr<QTimer> timer_;
    bool ran_ = false;
};

// Shows the dialog through its showModal(), runs whileOpen once its modal loop is running, then
// waits for it to close. A dialog that does not close is closed after a while and the test fails
// instead of hanging.
template <class Dialog> void runModal(Dialog& dialog, const std::function<void()>& whileOpen)
{
    bool ran = false;
    bool forced = false;
    QTimer::singleShot(0, &dialog, [&] {
        ran = true;
        whileOpen();
    });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, &dialog, [&] {
        forced = true;
        dialog.done(QDialog::Rejected);
    });
    safety.start(5000);
    dialog.showModal();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(forced) << "the dialog stayed open";
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace arcavio::test
