#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace arcavio {

class Language;

// The help window: one long read-only text, the built-in help or the contents of help.ini from
// the working directory at creation. Created once; closing it only hides it.
class Tc129 : public QDialog {
    Q_OBJECT

  public:
    explicit Tc129(const Language& language, QWidget* parent = nullptr);

    // Shows the window modally and returns once it has been closed.
    void ShowModal();

    static constexpr int kOuterWidth = 685;
    static constexpr int kOuterHeight = 375;

  protected:
    bool event(QEvent* event) override;

  private:
    void applyOuterSize();

    QPlainTextEdit* Memo1;
    bool outerSizeApplied_ = false;
};

} // namespace arcavio
