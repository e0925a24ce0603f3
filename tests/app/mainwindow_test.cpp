#include <gtest/gtest.h>

#include <QAction>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

#include <filesystem>

#include "app/mainwindow.h"
#include "components/regionbutton.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

using namespace arcavio;
using arcavio::test::CurrentDirectory;
using arcavio::test::RecordingMessages;
using arcavio::test::TempDir;

namespace {

std::string languageFile(int lines, const std::string& prefix = "L")
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += prefix + std::to_string(i) + "\r\n";
    return text;
}

// As the user does it: a click moves the current row first and selects afterwards.
void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QAction* action(MainWindow& w, const char* name)
{
    return w.findChild<QAction*>(QString::fromLatin1(name));
}

struct MenuRow {
    const char* name;
    const char* caption;
    const char* shortcut; // as the menu shows it
};

} // namespace

TEST(MainWindow, LayoutOfTheDesignedWindow)
{
    TempDir dir;
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    EXPECT_EQ(w.windowTitle(), "Arcavio 2");
    EXPECT_EQ(w.pos(), QPoint(194, 112));
    EXPECT_EQ(w.centralWidget()->size(), QSize(510, 279));
    EXPECT_EQ(w.statusBar()->objectName(), "StatusBar");
    EXPECT_EQ(w.statusBar()->height(), 19);
    EXPECT_EQ(w.findChild<QListWidget*>("lista")->geometry(), QRect(192, 3, 305, 276));
    EXPECT_EQ(w.findChild<QLabel*>("Image1")->geometry(), QRect(16, 136, 160, 120));
    EXPECT_EQ(w.findChild<QLabel*>("back")->geometry(), QRect(0, 0, 510, 279));
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_EQ(w.skinAboutText().rfind("Default Skin File, incorpored in exe file, by ", 0), 0u);
}

TEST(MainWindow, MenusHaveTheirNamesCaptionsAndShortcuts)
{
    TempDir dir;
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    const MenuRow rows[] = {
        {"C1", "File", ""},
        {"C2", "New Configuration", "F2"},
        {"c148", "Kwikstart", ""},
        {"c166", "Import Game Names\u2026", ""},
        {"c15", "Refresh", "F12"},
        {"c16", "Quit", ""},
        {"C4", "Configuration", ""},
        {"c5", "Run", "Enter"},
        {"c6", "Edit", "Shift+Enter"},
        {"c7", "Exclude", "Del"},
        {"c8", "Help", ""},
        {"c9", "Technical Help", ""},
        {"c10", "Suggestion", ""},
        {"c11", "About AVO", ""},
        {"c12", "About MAME", ""},
        {"c13", "About the Language File", ""},
        {"c14", "About the Skin", ""},
        {"c153", "Run", ""},
        {"c154", "Edit", ""},
        {"c155", "Exclude", ""},
        {"c156", "New Configuration", ""},
        {"c157", "Refresh", ""},
    };
    for (const MenuRow& row : rows) {
        QAction* a = action(w, row.name);
        ASSERT_NE(a, nullptr) << row.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(row.caption)) << row.name;
        // The menu shows the first shortcut after the caption.
        EXPECT_EQ(a->shortcut().toString(QKeySequence::NativeText), QString::fromLatin1(row.shortcut))
            << row.name;
        EXPECT_FALSE(a->text().contains(u'\t')) << row.name;
    }
    EXPECT_EQ(action(w, "c5")->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Return)}));
    EXPECT_EQ(action(w, "c6")->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::SHIFT | Qt::Key_Enter),
                                                                 QKeySequence(Qt::SHIFT | Qt::Key_Return)}));
    for (const char* name : {"N1", "N2", "N3", "N5"})
        EXPECT_TRUE(action(w, name) && action(w, name)->isSeparator()) << name;
    const auto file = w.findChild<QMenu*>("C1")->actions();
    QStringList order;
    for (QAction* a : file)
        order << a->objectName();
    EXPECT_EQ(order, QStringList({"C2", "c148", "c166", "c167", "N2", "c15", "N3", "c16"}));
    EXPECT_NE(w.findChild<QMenu*>("PopupMenu1"), nullptr);
}

TEST(MainWindow, FullLanguageFileTranslatesCaptionsButNotThePopup)
{
    TempDir dir;
    dir.write("language.ini", languageFile(166));
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_EQ(w.windowTitle(), "L0");
    EXPECT_EQ(w.findChild<QMenu*>("C1")->title(), "L1");
    EXPECT_EQ(action(w, "C2")->text(), "L2");
    EXPECT_EQ(action(w, "c148")->text(), "L148");
    EXPECT_EQ(action(w, "c14")->text(), "L14");
    EXPECT_EQ(action(w, "c153")->text(), "Run");
    EXPECT_EQ(action(w, "c157")->text(), "Refresh");
    EXPECT_EQ(w.language.lines().count(), 166);
    // Line 166 came later: a complete file from before it keeps the built-in caption, no error.
    EXPECT_EQ(action(w, "c166")->text(), QString::fromUtf8("Import Game Names\u2026"));
    EXPECT_EQ(action(w, "c167")->text(), QString::fromUtf8("Check ROM Sets\u2026"));
}

TEST(MainWindow, Line166NamesTheImportWhenTheFileHoldsIt)
{
    TempDir dir;
    std::string text = languageFile(200);
    text.replace(text.find("L166\r\n"), 6, "<b>Importer</b>\r\n");
    dir.write("language.ini", text);
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_EQ(action(w, "c166")->text(), "<b>Importer</b>");
    EXPECT_EQ(action(w, "c167")->text(), "L167");
    // Lines after them name nothing in this window.
    for (QAction* a : w.findChildren<QAction*>())
        EXPECT_FALSE(a->text().startsWith('L') && a->text().mid(1).toInt() > 167)
            << a->objectName().toStdString();
    EXPECT_EQ(action(w, "c16")->text(), "L16");
}

TEST(MainWindow, ShortLanguageFileAppliesWhatComesBeforeTheFirstGap)
{
    TempDir dir;
    dir.write("language.ini", languageFile(3, " T"));
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    EXPECT_EQ(messages.errors, std::vector<std::string>{"List index out of bounds (148)"});
    EXPECT_EQ(w.windowTitle(), " T0"); // blanks at the ends are kept
    EXPECT_EQ(w.findChild<QMenu*>("C1")->title(), " T1");
    EXPECT_EQ(action(w, "C2")->text(), " T2");
    EXPECT_EQ(action(w, "c148")->text(), "Kwikstart");
    EXPECT_EQ(action(w, "c166")->text(), QString::fromUtf8("Import Game Names\u2026"));
    EXPECT_EQ(action(w, "c5")->text(), "Run");
    // The error ended the creation handler before the skin step.
    EXPECT_EQ(w.skinAboutText(), "");
}

TEST(MainWindow, Windows1252LanguageFileKeepsItsAccents)
{
    TempDir dir;
    std::string text = languageFile(166);
    text.replace(0, 2,
                 "Configura\xE7\xF5"
                 "es"); // line 0, as a Windows editor saves it
    dir.write("language.ini", text);
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Configura\u00e7\u00f5es"));
}

TEST(MainWindow, EmptyLanguageFileLeavesEverythingBuiltIn)
{
    TempDir dir;
    dir.write("language.ini", "");
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    EXPECT_EQ(messages.errors, std::vector<std::string>{"List index out of bounds (0)"});
    EXPECT_FALSE(w.language.loaded());
    EXPECT_EQ(w.windowTitle(), "Arcavio 2");
}

TEST(MainWindow, ShortcutsActWhileTheListHasTheFocus)
{
    TempDir dir;
    dir.write("a.av2", "x\r\n\r\nabout\r\n");
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* list = w.findChild<QListWidget*>("lista");
    list->setFocus();
    QApplication::processEvents();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(w.selectedFullPath(), dir.file("a.av2"));
    EXPECT_EQ(w.statusText(), "about");
    QSignalSpy run(&w, &MainWindow::runRequested), edit(&w, &MainWindow::editRequested),
        exclude(&w, &MainWindow::excludeRequested), fresh(&w, &MainWindow::newConfigurationRequested);
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(list, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
    messages.answers = {false}; // keep the file when Exclude asks
    QTest::keyClick(list, Qt::Key_Delete);
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_EQ(run.count(), 2);
    EXPECT_EQ(edit.count(), 2);
    EXPECT_EQ(exclude.count(), 1);
    EXPECT_EQ(messages.questions.size(), 1u);
    EXPECT_EQ(fresh.count(), 1);

    dir.write("b.av2", "");
    QTest::keyClick(list, Qt::Key_F12);
    EXPECT_EQ(list->count(), 2);
}

TEST(MainWindow, SelectionPreviewsAndRefreshKeepsTheStatusText)
{
    TempDir dir;
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("pic.bmp")), "BMP"));
    dir.write("a.av2", "/mame\r\n" + dir.file("pic.bmp") + "\r\nFirst <b>about</b>\r\n");
    dir.write("b.av2", "/mame\r\n\r\nSegunda configura\xE7\xE3o\r\n"); // Windows-1252
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    auto* list = w.findChild<QListWidget*>("lista");
    auto* image = w.findChild<QLabel*>("Image1");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(w.selectedFullPath(), "");

    clickRow(list, 0);
    EXPECT_EQ(w.selectedFullPath(), dir.file("a.av2"));
    EXPECT_EQ(w.statusText(), "First <b>about</b>");
    EXPECT_EQ(w.findChild<QLabel*>("StatusPanel")->textFormat(), Qt::PlainText);
    EXPECT_FALSE(image->pixmap().isNull());
    EXPECT_EQ(w.configurationLines.count(), 3);

    clickRow(list, 1);
    EXPECT_EQ(w.statusText(), "Segunda configura\u00e7\u00e3o");
    EXPECT_TRUE(image->pixmap().isNull());

    // The same line again raises no change event: a changed file is not previewed.
    dir.write("b.av2", "/mame\r\n\r\nChanged\r\n");
    clickRow(list, 1);
    EXPECT_EQ(w.statusText(), "Segunda configura\u00e7\u00e3o");

    w.refreshList();
    EXPECT_EQ(w.selectedFullPath(), "");
    EXPECT_EQ(w.statusText(), "Segunda configura\u00e7\u00e3o");
    EXPECT_TRUE(image->pixmap().isNull());
    EXPECT_TRUE(messages.errors.empty());
}

TEST(MainWindow, AWindows1252FileNameShowsItsAccentsAndKeepsItsBytes)
{
    TempDir dir;
    dir.write("\xC9t\xE9.av2", "/mame\r\n\r\nSummer\r\n");
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    auto* list = w.findChild<QListWidget*>("lista");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("\u00C9t\u00E9.av2"));
    clickRow(list, 0);
    EXPECT_EQ(w.selectedFullPath(), dir.file("\xC9t\xE9.av2"));
    EXPECT_EQ(w.statusText(), "Summer");
    EXPECT_TRUE(messages.errors.empty());
}

TEST(MainWindow, CtrlClickOnTheSelectedConfigurationKeepsItAndItsPreview)
{
    TempDir dir;
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("pic.bmp")), "BMP"));
    dir.write("a.av2", "/mame\r\n" + dir.file("pic.bmp") + "\r\nFirst\r\n");
    dir.write("b.av2", "/mame\r\n\r\nSecond\r\n");
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* list = w.findChild<QListWidget*>("lista");
    auto* image = w.findChild<QLabel*>("Image1");
    const QPoint first = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    ASSERT_EQ(w.selectedFullPath(), dir.file("a.av2"));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, first);
    EXPECT_EQ(w.selectedFullPath(), dir.file("a.av2"));
    EXPECT_EQ(list->selectedItems().size(), 1);
    EXPECT_FALSE(image->pixmap().isNull()) << "the preview stays";
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(w.selectedFullPath(), dir.file("a.av2"));

    // Ctrl+click on another configuration selects that one, as a plain click does.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(w.selectedFullPath(), dir.file("b.av2"));
    EXPECT_EQ(w.statusText(), "Second");
    EXPECT_TRUE(image->pixmap().isNull());
    EXPECT_TRUE(messages.errors.empty());
}

TEST(MainWindow, PictureThatFailsKeepsThePreviousOne)
{
    TempDir dir;
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("good.bmp")), "BMP"));
    dir.write("bad.bmp", "not a bitmap");
    dir.write("odd.gif", "GIF89a");
    dir.write("a.av2", "/m\r\n" + dir.file("good.bmp") + "\r\nGood\r\n");
    dir.write("b.av2", "/m\r\n" + dir.file("bad.bmp") + "\r\nBad\r\n");
    dir.write("c.av2", "/m\r\n" + dir.file("odd.gif") + "\r\nOdd\r\n");
    dir.write("d.av2", "short\r\n");
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    auto* list = w.findChild<QListWidget*>("lista");
    auto* image = w.findChild<QLabel*>("Image1");
    clickRow(list, 0);
    const qint64 good = image->pixmap().cacheKey();
    clickRow(list, 1);
    EXPECT_EQ(w.statusText(), "Bad");
    EXPECT_EQ(image->pixmap().cacheKey(), good);
    clickRow(list, 2);
    EXPECT_EQ(w.statusText(), "Odd");
    EXPECT_EQ(image->pixmap().cacheKey(), good);
    clickRow(list, 3);
    EXPECT_EQ(w.statusText(), "Odd");
    EXPECT_EQ(w.configurationLines.count(), 1);
    EXPECT_EQ(messages.errors,
              (std::vector<std::string>{"Bitmap image is not valid", "Unknown picture file extension (.gif)",
                                        "List index out of bounds (2)"}));
}

TEST(MainWindow, ExcludeAsksAndRefreshesWhateverTheAnswer)
{
    TempDir dir;
    dir.write("a.av2", "x\r\n\r\nabout a\r\n");
    dir.write("b.av2", "x\r\n" + dir.file("b.bmp") + "\r\nabout b\r\n");
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("b.bmp")), "BMP"));
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    auto* list = w.findChild<QListWidget*>("lista");

    // Nothing selected: no question.
    w.excludeSelected();
    EXPECT_TRUE(messages.questions.empty());

    // Declined: the file stays, the list is read again and the selection is gone.
    clickRow(list, 1);
    messages.answers = {false};
    w.excludeSelected();
    ASSERT_EQ(messages.questions.size(), 1u);
    EXPECT_NE(messages.questions[0].find("b.av2"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.file("b.av2")));
    EXPECT_EQ(w.selectedFullPath(), "");
    EXPECT_EQ(w.statusText(), "about b");

    // Accepted: only the configuration file goes, not its picture.
    clickRow(list, 1);
    messages.answers = {true};
    w.excludeSelected();
    EXPECT_FALSE(std::filesystem::exists(dir.file("b.av2")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("b.bmp")));
    EXPECT_EQ(list->count(), 1);

    // Deleted by another program meanwhile: nothing happens.
    clickRow(list, 0);
    std::filesystem::remove(dir.file("a.av2"));
    w.excludeSelected();
    EXPECT_EQ(messages.questions.size(), 2u);
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(messages.errors, std::vector<std::string>{});
}

TEST(MainWindow, HelpMenuMessagesAndAboutTheSkin)
{
    TempDir dir;
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    for (const char* name : {"c9", "c10", "c12", "c13", "c14"})
        action(w, name)->trigger();
    ASSERT_EQ(messages.plain.size(), 5u);
    EXPECT_EQ(messages.plain[0].rfind("Technical Help? Please contact me at: ", 0), 0u);
    EXPECT_EQ(messages.plain[1].rfind("Suggestions? Please contact me at: ", 0), 0u);
    EXPECT_EQ(messages.plain[2].rfind("M.A.M.E.  -  Multiple Arcade Machine Emulator - ", 0), 0u);
    EXPECT_EQ(
        messages.plain[3].rfind("This is a Language FILE incorpored to the exe file. In English. By ", 0),
        0u);
    EXPECT_EQ(messages.plain[4], w.skinAboutText());
}

TEST(MainWindow, AboutTheLanguageFileWithoutLine151ShowsTheListError)
{
    TempDir dir;
    dir.write("language.ini", languageFile(149));
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    action(w, "c13")->trigger();
    EXPECT_TRUE(messages.plain.empty());
    EXPECT_EQ(messages.errors, std::vector<std::string>{"List index out of bounds (151)"});
}

TEST(MainWindow, HintsComeFromTheLanguageFileAsPlainText)
{
    TempDir dir;
    std::string text = languageFile(166);
    text.replace(text.find("L142\r\n"), 6, "<b>x</b>\r\n");
    dir.write("language.ini", text);
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    const QString hint = w.findChild<QWidget*>("h142")->toolTip();
    QTextDocument shown;
    shown.setHtml(hint);
    EXPECT_EQ(shown.toPlainText(), "<b>x</b>");
    QTextDocument other;
    other.setHtml(w.findChild<QWidget*>("h147")->toolTip());
    EXPECT_EQ(other.toPlainText(), "L147");
}

TEST(MainWindow, AnEmptyHintShowsNoTooltip)
{
    TempDir dir;
    std::string text = languageFile(166);
    text.replace(text.find("L143\r\n"), 6, "\r\n");
    dir.write("language.ini", text);
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const auto hover = [](QWidget* button) {
        const QPoint at(12, 12);
        QHelpEvent event(QEvent::ToolTip, at, button->mapToGlobal(at));
        QApplication::sendEvent(button, &event);
        const bool shown = QToolTip::isVisible();
        QToolTip::hideText();
        return shown;
    };
    auto* empty = w.findChild<QWidget*>("h143");
    EXPECT_TRUE(empty->toolTip().isEmpty());
    EXPECT_FALSE(hover(empty)) << "no empty box";
    EXPECT_TRUE(hover(w.findChild<QWidget*>("h142")));
}

TEST(MainWindow, RunAndKwikstartHaveAllTheirTriggers)
{
    TempDir dir;
    dir.write("a.av2", "x\r\n\r\nabout\r\n");
    CurrentDirectory cd(dir.path());
    RecordingMessages messages;
    MainWindow w;
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* list = w.findChild<QListWidget*>("lista");
    QSignalSpy run(&w, &MainWindow::runRequested), kwik(&w, &MainWindow::kwikstartRequested);

    const QPoint onRow = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onRow);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, onRow);
    EXPECT_EQ(run.count(), 1);
    // Below the last row a click selects nothing else, and a double click runs the selection.
    const QPoint below(onRow.x(), list->viewport()->height() - 5);
    list->clearFocus();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, below);
    EXPECT_EQ(w.selectedFullPath(), dir.file("a.av2"));
    EXPECT_TRUE(list->hasFocus());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(run.count(), 2);
    EXPECT_EQ(w.selectedFullPath(), dir.file("a.av2"));
    EXPECT_EQ(w.statusText(), "about");

    action(w, "c5")->trigger();
    action(w, "c153")->trigger();
    w.commandButtons()[0]->OnClick();
    EXPECT_EQ(run.count(), 5);
    EXPECT_EQ(w.commandButtons()[0]->objectName(), "h142");

    action(w, "c148")->trigger();
    w.commandButtons()[5]->OnClick();
    EXPECT_EQ(w.commandButtons()[5]->objectName(), "h147");
    EXPECT_EQ(kwik.count(), 2);
    EXPECT_EQ(run.count(), 5);
}
