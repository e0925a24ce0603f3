#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <unistd.h>

#include "app/mainwindow.h"
#include "app/program.h"
#include "base/qthelpers.h"
#include "platform/readlimits.h"
#include "support/modal.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "text/boundedtext.h"

using namespace arcavio;
using arcavio::test::CurrentDirectory;
using arcavio::test::RecordingMessages;
using arcavio::test::TempDir;

namespace {

void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QStringList rowsOf(const QListWidget* list)
{
    QStringList rows;
    for (int row = 0; row < list->count(); ++row)
        rows << list->item(row)->text();
    return rows;
}

std::string languageFile(int lines)
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "L" + std::to_string(i) + "\r\n";
    return text;
}

// A reader that blocks fails the test instead of holding it until the run's time-out.
class MainWindowFiles : public ::testing::Test {
  protected:
    void SetUp() override { alarm(20); }
    void TearDown() override { alarm(0); }

    TempDir dir;
    RecordingMessages messages;
};

} // namespace

TEST_F(MainWindowFiles, PipesAndDevicesAreNeitherListedNorRead)
{
    dir.write("a.av2", "/mame\r\n\r\nFirst\r\n");
    dir.write("b.av2", "/mame\r\n\r\nSecond\r\n");
    dir.mkfifo("pipe.av2");
    ASSERT_EQ(symlink("/dev/zero", dir.file("zero.av2").c_str()), 0);
    ASSERT_EQ(symlink("a.av2", dir.file("link.av2").c_str()), 0);
    CurrentDirectory cd(dir.path());
    MainWindow w;
    auto* list = w.findChild<QListWidget*>("lista");
    EXPECT_EQ(rowsOf(list), QStringList({"a.av2", "b.av2", "link.av2"}));
    clickRow(list, 2);
    EXPECT_EQ(w.statusText(), "First");

    // Put there after the list was read, a pipe or an endless device gives the file error.
    ASSERT_EQ(std::remove(dir.file("a.av2").c_str()), 0);
    dir.mkfifo("a.av2");
    clickRow(list, 0);
    ASSERT_EQ(std::remove(dir.file("b.av2").c_str()), 0);
    ASSERT_EQ(symlink("/dev/zero", dir.file("b.av2").c_str()), 0);
    clickRow(list, 1);
    EXPECT_EQ(messages.errors, (std::vector<std::string>{"Cannot open file " + dir.file("a.av2"),
                                                         "Cannot open file " + dir.file("b.av2")}));
    EXPECT_EQ(w.statusText(), "First");
}

TEST_F(MainWindowFiles, AHugeAboutLineShowsABoundedPrefixAndAHugeFileIsRefused)
{
    std::string about = "Start ";
    while (about.size() < platform::kConfigurationFileLimit - 100)
        about += "\xC3\xA9t\xC3\xA9 "; // accents, so a cut could fall inside a character
    dir.write("a.av2", "/mame\r\n\r\n" + about + "\r\n");
    dir.write("b.av2", "/mame\r\n\r\n" + std::string(10'000'000, 'x') + "\r\n");
    CurrentDirectory cd(dir.path());
    MainWindow w;
    auto* list = w.findChild<QListWidget*>("lista");
    clickRow(list, 0);
    const std::string shown = w.statusText();
    EXPECT_LE(shown.size(), kShownLineLimit + kEllipsis.size());
    EXPECT_EQ(shown.rfind("Start \xC3\xA9t\xC3\xA9 ", 0), 0u);
    EXPECT_EQ(shown.substr(shown.size() - kEllipsis.size()), kEllipsis);
    EXPECT_EQ(QString::fromStdString(shown).toUtf8().toStdString(), shown) << "no character was cut";
    EXPECT_EQ(w.configurationLines.at(2), about) << "the configuration keeps the whole line";

    clickRow(list, 1);
    EXPECT_EQ(messages.errors, std::vector<std::string>{"Cannot open file " + dir.file("b.av2")});
    EXPECT_EQ(w.statusText(), shown);
}

TEST_F(MainWindowFiles, TheKeptConfigurationRegressionShowsABoundedAboutText)
{
    const std::string kept =
        test::readBytes(ARCAVIO_SOURCE_DIR "/fuzz/regressions/configuration/about-line-of-64k");
    ASSERT_GT(kept.size(), 65536u);
    dir.write("kept.av2", kept);
    CurrentDirectory cd(dir.path());
    MainWindow w;
    clickRow(w.findChild<QListWidget*>("lista"), 0);
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_GT(w.configurationLines.at(2).size(), 65536u);
    EXPECT_EQ(w.statusText(), boundedText(w.configurationLines.at(2), kShownLineLimit));
}

TEST_F(MainWindowFiles, LanguageFileUpToOneMebibyteNeverFromAPipe)
{
    std::string text = languageFile(166);
    text.replace(0, 2, std::string(platform::kLanguageFileLimit - text.size() + 2, 'T'));
    ASSERT_EQ(text.size(), platform::kLanguageFileLimit);
    dir.write("language.ini", text);
    {
        CurrentDirectory cd(dir.path());
        MainWindow w;
        EXPECT_TRUE(messages.errors.empty());
        EXPECT_EQ(w.language.lines().count(), 166);
        EXPECT_EQ(w.windowTitle().size(), static_cast<qsizetype>(kShownLineLimit + 1));
        EXPECT_EQ(w.findChild<QMenu*>("C1")->title(), "L1");
    }
    dir.write("language.ini", text + "x");
    {
        CurrentDirectory cd(dir.path());
        MainWindow w;
        EXPECT_EQ(messages.errors, std::vector<std::string>{"Cannot open file language.ini"});
        EXPECT_EQ(w.windowTitle(), "Arcavio 2");
    }
    ASSERT_EQ(std::remove(dir.file("language.ini").c_str()), 0);
    dir.mkfifo("language.ini");
    {
        CurrentDirectory cd(dir.path());
        MainWindow w;
        EXPECT_EQ(messages.errors.size(), 2u);
        EXPECT_EQ(messages.errors.back(), "Cannot open file language.ini");
        EXPECT_EQ(w.language.lines().count(), 0);
    }
}

// An empty name saves ".av2"; the list must show it, or the saved work could not be run, edited
// or excluded, and the next empty name would ask to overwrite a file nobody can see.
TEST_F(MainWindowFiles, AConfigurationSavedUnderAnEmptyNameIsListed)
{
    CurrentDirectory cd(dir.path());
    Program program;
    {
        ConfigurationEditor editor(program.editor);
        arcavio::test::whenModal([](QWidget* modal) {
            modal->findChild<QLineEdit*>("Edit1")->clear();
            modal->findChild<QPushButton*>("Button1")->click();
        });
        editor.saveAs();
        EXPECT_EQ(editor.ConfigFileName, dir.file(".av2"));
    }
    EXPECT_EQ(messages.plain.back(), "File Saved!");
    EXPECT_TRUE(messages.questions.empty());
    program.mainWindow.refreshList();
    auto* list = program.mainWindow.findChild<QListWidget*>("lista");
    EXPECT_EQ(rowsOf(list), QStringList{".av2"});
    clickRow(list, 0);
    EXPECT_EQ(program.mainWindow.selectedFullPath(), dir.file(".av2"));

    EXPECT_TRUE(messages.errors.empty()) << messages.errors.front();
}
