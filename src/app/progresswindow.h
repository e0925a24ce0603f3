#pragma once

#include <QDialog>
#include <QTimer>

#include <exception>
#include <functional>

class QProgressBar;
class QPushButton;
class QString;
class QVBoxLayout;
class QWidget;

namespace arcavio {

// A window that shows how far the emulator has got, with Cancel. The emulator's output is read on
// the user-interface thread, a little at a time from a timer, so the program's windows go on
// painting and answering while it runs. A subclass lays out its labels around the progress bar
// and says how to read and how to stop.
class ProgressWindow : public QDialog {
    Q_OBJECT
  public:
    // Cancel, Escape and the close box: the emulator is stopped at once.
    void reject() override;

  protected:
    static constexpr int kTextWidth = 380; // of the progress bar, and of a label's elided text

    ProgressWindow(QWidget* parent, const QString& objectName, const QString& title,
                   const QString& cancelObjectName);

    // Puts Cancel at the right under the rows already in `layout`.
    void addCancelRow(QVBoxLayout* layout);

    // Shows the window, calling `readSome` from the timer until it answers false (the emulator has
    // ended) or the window is rejected, which calls `cancel`; then throws what `readSome` threw.
    void showWhileReading(std::function<bool()> readSome, std::function<void()> cancel);

    QProgressBar* const progressBar_;

  private:
    void onTimer();

    QPushButton* const cancelButton_;
    QTimer timer_;
    std::function<bool()> readSome_; // while showWhileReading() runs
    std::function<void()> cancel_;
    std::exception_ptr failure_;
};

} // namespace arcavio
