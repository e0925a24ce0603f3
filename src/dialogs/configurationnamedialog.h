#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace arcavio {

class Language;

// The configuration-name dialog, objectName "c132": asks for a configuration name and turns it
// into the path of a .av2 file in the directory the configuration list shows. Created once;
// each use shows the same instance, so the name typed last is offered again.
//
// Control names and members: Bevel1 frame_, c133 prompt_ (the caption above the field),
// Edit1 nameEdit_, Button1 okButton_, Button2 cancelButton_.
class ConfigurationNameDialog : public QDialog {
    Q_OBJECT

  public:
    // The list directory belongs to the main window and may change between uses, so it is read
    // through listDirectory at each press of OK.
    using DirectoryGetter = std::function<std::string()>;

    ConfigurationNameDialog(const Language& language, DirectoryGetter listDirectory,
                            QWidget* parent = nullptr);

    // Shows the dialog modally and returns once it has closed; the result is then in ChosenPath.
    void showModal();

    // The path to save to, or the empty text when the user cancelled.
    std::string ChosenPath;

    // Any way of closing other than OK is a cancel, so a refused path never leaks out.
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void okClicked();

    DirectoryGetter listDirectory_;
    QFrame* frame_;
    QLabel* prompt_;
    QLineEdit* nameEdit_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace arcavio
