#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace arcavio {

class Language;

// Asks for one pair of a zip name and a game name; the select-game dialog stores it.
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

    QLineEdit* zip;
    QLineEdit* game;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void fitToTexts();
    void applyLanguage(const Language& language);

    QLabel* c162;
    QLabel* c163;
    QPushButton* c164;
    QPushButton* c165;
};

} // namespace arcavio
