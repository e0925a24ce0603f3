#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace arcavio {

class Language;

// The help window, objectName "c129": one long read-only text (Memo1, text_), the built-in
// help or the contents of help.ini from the working directory at creation. Created once;
// closing it only hides it.
class HelpWindow : public QDialog {
    Q_OBJECT

  public:
    explicit HelpWindow(const Language& language, QWidget* parent = nullptr);

    // Shows the window modally and returns once it has been closed.
    void showModal();

    static constexpr int kOuterWidth = 685;
    static constexpr int kOuterHeight = 375;

  private:
    QPlainTextEdit* text_;
};

} // namespace arcavio
