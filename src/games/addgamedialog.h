#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace arcavio {

class Language;

// The add-a-game dialog, objectName "c161": asks for one pair of a zip name and a game name; the
// select-game dialog stores it. Its result is the field AddConfirmed and the two texts.
//
// Control names and members: zip zipEdit_, game gameEdit_, c162 zipLabel_, c163 gameLabel_,
// c164 addButton_, c165 cancelButton_.
class AddGameDialog : public QDialog {
    Q_OBJECT
  public:
    // Takes its texts from lines 161 to 165 when the language is loaded.
    explicit AddGameDialog(const Language& language, QWidget* parent = nullptr);

    // False whenever the dialog is shown; true only when it was closed by Add.
    bool AddConfirmed = false;

    void clearEdits();
    std::string zipText() const;
    std::string gameText() const;

    // What each showing starts with; showModal does it before exec().
    void prepareForShowing();
    void showModal();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void fitToTexts();
    void applyLanguage(const Language& language);

    QLineEdit* zipEdit_;
    QLineEdit* gameEdit_;
    QLabel* zipLabel_;
    QLabel* gameLabel_;
    QPushButton* addButton_;
    QPushButton* cancelButton_;
};

} // namespace arcavio
