#pragma once

#include <QDialog>

namespace arcavio {

// The about window, objectName "Form2": logo, version line, credits and thanks with their six
// links, and OK. Created once and shown modally again and again; its texts never change, so it
// keeps no control as a member: Button1 (OK), Image1 (the logo), HyperLink1 and HyperLink2 (the
// author's e-mail and the product's site), HyperLink3 to HyperLink6 (the thanks block's sites).
class AboutWindow : public QDialog {
    Q_OBJECT

  public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

} // namespace arcavio
