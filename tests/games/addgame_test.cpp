#include "games/addgamedialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "base/language.h"
#include "support/modal.h"

namespace arcavio {
namespace {

using test::whenModal;

TEST(AddGame, OnlyAddConfirmsAndNoKeyClosesIt)
{
    const Language language;
    AddGameDialog dialog(language);
    EXPECT_EQ(dialog.objectName(), "c161");

    QLineEdit* zip = dialog.findChild<QLineEdit*>("zip");
    QLineEdit* game = dialog.findChild<QLineEdit*>("game");
    ASSERT_TRUE(zip && game);
    bool open = false;
    whenModal([&](QWidget* modal) {
        QTest::keyClicks(zip, "game1.zip");
        for (QLineEdit* edit : {zip, game}) {
            edit->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(edit, key);
        }
        auto* add = modal->findChild<QPushButton*>("c164");
        add->setFocus();
        QTest::keyClick(add, Qt::Key_Return);
        open = modal->isVisible();
        QTest::keyClicks(game, "Game One");
        QTest::mouseClick(add, Qt::LeftButton);
    });
    dialog.showModal();
    EXPECT_TRUE(open);
    EXPECT_TRUE(dialog.AddConfirmed);
    EXPECT_EQ(dialog.zipText(), "game1.zip");
    EXPECT_EQ(dialog.gameText(), "Game One");

    whenModal(
        [&](QWidget* modal) { QTest::mouseClick(modal->findChild<QPushButton*>("c165"), Qt::LeftButton); });
    dialog.showModal();
    EXPECT_FALSE(dialog.AddConfirmed);

    dialog.AddConfirmed = true;
    whenModal([&](QWidget* modal) { modal->close(); });
    dialog.showModal();
    EXPECT_FALSE(dialog.AddConfirmed);
    // The edits keep their texts; the select-game dialog clears them before each use.
    EXPECT_EQ(dialog.zipText(), "game1.zip");
    dialog.clearEdits();
    EXPECT_EQ(dialog.zipText(), "");
    EXPECT_EQ(dialog.gameText(), "");
}

} // namespace
} // namespace arcavio
