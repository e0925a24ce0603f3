#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest/QTest>

#include "base/language.h"
#include "dialogs/configurationnamedialog.h"
#include "support/modal.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

using namespace arcavio;
using arcavio::test::RecordingMessages;
using arcavio::test::runModal;
using arcavio::test::TempDir;

namespace {

Language languageOf(int lineCount)
{
    std::vector<std::string> lines(static_cast<std::size_t>(lineCount), "x");
    if (lineCount > 132)
        lines[132] = "Guardar como";
    if (lineCount > 133)
        lines[133] = " Nombre de la configuración: ";
    return Language(LineList(std::move(lines)));
}

class NameDialog : public ::testing::Test {
  protected:
    QLineEdit* edit() { return dialog.findChild<QLineEdit*>("Edit1"); }
    QPushButton* ok() { return dialog.findChild<QPushButton*>("Button1"); }
    QPushButton* cancel() { return dialog.findChild<QPushButton*>("Button2"); }

    // Types the name and presses OK in one showing.
    std::string chooseName(const QString& name)
    {
        runModal(dialog, [&] {
            edit()->setText(name);
            QTest::mouseClick(ok(), Qt::LeftButton);
        });
        return dialog.ChosenPath;
    }

    RecordingMessages messages;
    TempDir dir;
    std::string listDirectory = dir.path();
    Language language;
    ConfigurationNameDialog dialog{language, [this] { return listDirectory; }};
};

} // namespace

TEST_F(NameDialog, BuildsThePathFromTheListDirectoryAndTheNameAsTyped)
{
    EXPECT_EQ(chooseName("abc"), dir.path() + "/abc.av2");
    EXPECT_EQ(chooseName(""), dir.path() + "/.av2");
    EXPECT_EQ(chooseName("abc.av2"), dir.path() + "/abc.av2.av2");
    EXPECT_EQ(chooseName(" a b "), dir.path() + "/ a b .av2");

    // The directory is read at each OK, as the list shows it then.
    listDirectory = dir.mkdir("other");
    EXPECT_EQ(chooseName("abc"), dir.path() + "/other/abc.av2");
    EXPECT_TRUE(messages.questions.empty());
}

TEST_F(NameDialog, AsksBeforeHandingBackAnExistingFile)
{
    const std::string existing = dir.write("abc.av2", "old");

    // No keeps the dialog open with the refused path; Cancel then gives the empty text.
    messages.answers = {false};
    runModal(dialog, [&] {
        edit()->setText("abc");
        QTest::mouseClick(ok(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.ChosenPath, existing);
        EXPECT_EQ(edit()->text(), "abc");
        QTest::mouseClick(cancel(), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.ChosenPath, "");
    ASSERT_EQ(messages.questions.size(), 1u);
    EXPECT_EQ(messages.questions[0], "This file already exists, overwrite?");
    EXPECT_EQ(messages.questionCaptions[0], "");

    // Yes hands the path back and leaves the file alone.
    messages.answers = {true};
    EXPECT_EQ(chooseName("abc"), existing);
    EXPECT_EQ(messages.questions.size(), 2u);
    EXPECT_EQ(test::readBytes(existing), "old");

    // A directory standing at the path is no file to overwrite.
    dir.mkdir("folder.av2");
    EXPECT_EQ(chooseName("folder"), dir.path() + "/folder.av2");
    EXPECT_EQ(messages.questions.size(), 2u);
}

TEST_F(NameDialog, KeepsTheNameButNotARefusedPathBetweenShowings)
{
    chooseName("first");
    runModal(dialog, [&] {
        EXPECT_EQ(edit()->text(), "first");
        QTest::mouseClick(cancel(), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.ChosenPath, "");

    // Closing by any other way than OK is a cancel too.
    dir.write("kept.av2", "");
    messages.answers = {false};
    runModal(dialog, [&] {
        edit()->setText("kept");
        QTest::mouseClick(ok(), Qt::LeftButton);
        dialog.close();
    });
    EXPECT_EQ(dialog.ChosenPath, "");
}

TEST_F(NameDialog, EnterAndEscapeDoNotCloseIt)
{
    runModal(dialog, [&] {
        edit()->setText("abc");
        for (auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(edit(), key);
            EXPECT_TRUE(dialog.isVisible()) << key;
        }
        ok()->setFocus();
        for (auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(ok(), key);
            EXPECT_TRUE(dialog.isVisible()) << key;
        }
        EXPECT_EQ(dialog.ChosenPath, "");
        QTest::mouseClick(cancel(), Qt::LeftButton);
    });
}

TEST_F(NameDialog, BorderlessFixedAndCentred)
{
    EXPECT_EQ(dialog.objectName(), "c132");
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    ASSERT_NE(dialog.findChild<QWidget*>("Bevel1"), nullptr);
    EXPECT_EQ(ok()->text(), "OK");
    EXPECT_EQ(cancel()->text(), "Cancelar");
    runModal(dialog, [&] {
        EXPECT_EQ(dialog.size(), QSize(327, 95));
        EXPECT_EQ(dialog.geometry().center(), dialog.screen()->availableGeometry().center());
        EXPECT_EQ(dialog.focusWidget(), edit());
        QTest::mouseClick(cancel(), Qt::LeftButton);
    });
}

TEST(NameDialogLanguage, TakesLines133And132WhenALanguageIsLoaded)
{
    RecordingMessages messages;
    {
        Language none;
        ConfigurationNameDialog dialog(none, [] { return std::string("/"); });
        EXPECT_EQ(dialog.findChild<QLabel*>("c133")->text(), "Configuration Name:");
        EXPECT_EQ(dialog.windowTitle(), "Save As");
    }
    {
        Language full = languageOf(166);
        ConfigurationNameDialog dialog(full, [] { return std::string("/"); });
        EXPECT_EQ(dialog.findChild<QLabel*>("c133")->text(),
                  QString::fromUtf8(" Nombre de la configuración: "));
        EXPECT_EQ(dialog.windowTitle(), "Guardar como");
    }
    EXPECT_TRUE(messages.errors.empty());

    // Too short for line 133: the error, and both built-in texts stay, line 132 unread.
    Language shortFile = languageOf(133);
    ConfigurationNameDialog dialog(shortFile, [] { return std::string("/"); });
    EXPECT_EQ(messages.errors, (std::vector<std::string>{"List index out of bounds (133)"}));
    EXPECT_EQ(dialog.findChild<QLabel*>("c133")->text(), "Configuration Name:");
    EXPECT_EQ(dialog.windowTitle(), "Save As");
}
