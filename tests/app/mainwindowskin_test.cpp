#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/mainwindow.h"
#include "app/skin.h"
#include "components/regionbutton.h"
#include "components/shaperegion.h"
#include "dialogs/helpwindow.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

using namespace arcavio;
using arcavio::test::CurrentDirectory;
using arcavio::test::RecordingMessages;
using arcavio::test::TempDir;

namespace {

// A copy of the example skin, so a test may change it.
std::string copyExampleSkin(const TempDir& dir)
{
    const std::string skin = dir.file("skin");
    std::filesystem::copy(ARCAVIO_SOURCE_DIR "/skins/neon", skin);
    return skin;
}

RegionButton* button(MainWindow& w, const char* name)
{
    return w.findChild<RegionButton*>(QString::fromLatin1(name));
}

} // namespace

TEST(MainWindowSkin, ExampleSkinLaysOutTheWindowAndReshapesTheButtons)
{
    TempDir dir, work;
    const std::string skin = copyExampleSkin(dir);
    CurrentDirectory cd(work.path());
    RecordingMessages messages;
    MainWindow w(nullptr, skin);
    ASSERT_TRUE(messages.errors.empty()) << messages.errors.front();
    EXPECT_EQ(button(w, "h142")->pos(), QPoint(18, 16));
    EXPECT_EQ(button(w, "h147")->pos(), QPoint(134, 76));
    EXPECT_EQ(button(w, "h142")->size(), QSize(48, 48));
    EXPECT_EQ(w.findChild<QListWidget*>("lista")->geometry(), QRect(204, 12, 420, 262));
    EXPECT_EQ(w.findChild<QLabel*>("Image1")->geometry(), QRect(22, 140, 160, 120));
    EXPECT_EQ(w.findChild<QListWidget*>("lista")->palette().color(QPalette::Base), QColor(0x1A, 0x0B, 0x2E));
    EXPECT_EQ(w.findChild<QListWidget*>("lista")->palette().color(QPalette::Text), QColor(0, 255, 255));
    EXPECT_EQ(w.skinAboutText().rfind("Neon skin", 0), 0u);
    EXPECT_TRUE(w.regionRefresh());
    EXPECT_FALSE(w.findChild<QLabel*>("back")->pixmap().isNull());

    // Offscreen there is no frame: the outer size is the window's own size.
    w.show();
    EXPECT_EQ(w.frameGeometry().size(), QSize(640, 400));
    const QPoint centre = w.screen()->availableGeometry().center();
    EXPECT_LE((w.frameGeometry().center() - centre).manhattanLength(), 2);

    // Shown, each button takes the shape of its skin's rest picture.
    for (RegionButton* b : w.commandButtons()) {
        EXPECT_TRUE(b->regionApplied());
        EXPECT_TRUE((b->shape() ^ keyedRegion(b->PicIdle().image())).isEmpty())
            << b->objectName().toStdString();
        EXPECT_FALSE(b->shape().contains(QPoint(0, 0)));
        EXPECT_TRUE(b->shape().contains(QPoint(24, 24)));
    }
}

// Copied from a file system that ignores case, a skin and a language file keep their capitals;
// the program finds what it looks for by name whatever the case.
TEST(MainWindowSkin, ASkinAndALanguageFileCopiedWithCapitalsAreApplied)
{
    TempDir dir, work;
    std::filesystem::copy(ARCAVIO_SOURCE_DIR "/skins/neon", dir.file("Skin"));
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("Skin"))) {
        std::string name = entry.path().filename().string();
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
        if (name == "SKIN.INI")
            name = "Skin.ini";
        std::filesystem::rename(entry.path(), entry.path().parent_path() / name);
    }
    std::string language;
    for (int line = 0; line < 166; ++line)
        language += "L" + std::to_string(line) + "\r\n";
    work.write("LANGUAGE.INI", language);
    work.write("Help.INI", "Help that was copied\r\n");
    CurrentDirectory cd(work.path());
    RecordingMessages messages;
    const std::string skin = skinDirectoryIn(dir.path());
    EXPECT_EQ(skin, dir.file("Skin"));
    MainWindow w(nullptr, skin);
    HelpWindow help(w.language, &w);
    ASSERT_TRUE(messages.errors.empty()) << messages.errors.front();
    EXPECT_EQ(button(w, "h147")->pos(), QPoint(134, 76));
    EXPECT_EQ(button(w, "h142")->PicIdle().size(), QSize(48, 48));
    EXPECT_FALSE(w.findChild<QLabel*>("back")->pixmap().isNull());
    EXPECT_EQ(w.skinAboutText().rfind("Neon skin", 0), 0u);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("L0"));
    EXPECT_EQ(help.windowTitle(), QStringLiteral("L129"));
    EXPECT_EQ(help.findChild<QPlainTextEdit*>()->toPlainText(), QStringLiteral("Help that was copied"));
}

TEST(MainWindowSkin, DisabledTransparencyKeepsTheBuiltInShapes)
{
    TempDir dir, work;
    const std::string skin = copyExampleSkin(dir);
    std::string ini = arcavio::test::readBytes(skin + "/skin.ini");
    ini.replace(ini.find("disabletransparent=0"), 20, "disabletransparent=1");
    dir.write("skin/skin.ini", ini);
    CurrentDirectory cd(work.path());
    RecordingMessages messages;
    MainWindow w(nullptr, skin);
    const QRegion before = button(w, "h142")->shape();
    w.show();
    EXPECT_FALSE(w.regionRefresh());
    EXPECT_EQ(button(w, "h142")->shape(), before);
    EXPECT_TRUE(before.boundingRect().width() <= 31);
}

TEST(MainWindowSkin, MissingBitmapEndsTheStepWithWhatCameBefore)
{
    TempDir dir, work;
    const std::string skin = copyExampleSkin(dir);
    std::filesystem::remove(skin + "/editu.bmp");
    CurrentDirectory cd(work.path());
    RecordingMessages messages;
    MainWindow w(nullptr, skin);
    EXPECT_EQ(messages.errors, std::vector<std::string>{"Cannot open file " + skin + "/editu.bmp"});
    EXPECT_EQ(button(w, "h142")->PicIdle().size(), QSize(48, 48)); // loaded before the gap
    EXPECT_EQ(button(w, "h144")->PicIdle().size(), QSize(31, 23)); // never reached
    EXPECT_EQ(w.skinAboutText(), "");
    EXPECT_EQ(w.pos(), QPoint(194, 112));
    EXPECT_FALSE(w.regionRefresh());
}

TEST(MainWindowSkin, BadBitmapIsReported)
{
    TempDir dir, work;
    const std::string skin = copyExampleSkin(dir);
    dir.write("skin/runn.bmp", "BM not really");
    CurrentDirectory cd(work.path());
    RecordingMessages messages;
    MainWindow w(nullptr, skin);
    EXPECT_EQ(messages.errors, std::vector<std::string>{"Bitmap image is not valid"});
}

TEST(MainWindowSkin, ShortLanguageFileSkipsTheWholeSkin)
{
    TempDir dir, work;
    const std::string skin = copyExampleSkin(dir);
    work.write("language.ini", "A\r\nB\r\nC\r\n");
    CurrentDirectory cd(work.path());
    RecordingMessages messages;
    MainWindow w(nullptr, skin);
    EXPECT_EQ(messages.errors, std::vector<std::string>{"List index out of bounds (148)"});
    EXPECT_EQ(button(w, "h142")->PicIdle().size(), QSize(31, 23));
    EXPECT_EQ(w.skinAboutText(), "");
}

// Values at the ends of the integer range once took the window past 12 GB and overflowed the
// list's geometry; clamped, the window is shown and painted like any other.
TEST(MainWindowSkin, ExtremeGeometrySurvivesShowingAndPainting)
{
    for (const auto& [near, far] : {std::pair<std::string, std::string>{"-2147483648", "2147483647"},
                                    std::pair<std::string, std::string>{"2147483647", "-2147483648"}}) {
        TempDir dir, work;
        const std::string skin = copyExampleSkin(dir);
        std::string ini = arcavio::test::readBytes(skin + "/skin.ini");
        const auto set = [&ini](const std::string& from, const std::string& to) {
            ini.replace(ini.find(from), from.size(), to);
        };
        set("[list]\r\ntop=12\r\nleft=204\r\nwidth=420\r\nHeight=262",
            "[list]\r\ntop=" + near + "\r\nleft=" + near + "\r\nwidth=" + far + "\r\nHeight=" + far);
        set("[App]\r\nwidth=640\r\nHeight=400", "[App]\r\nwidth=2147483647\r\nHeight=2147483647");
        set("[image]\r\ntop=140\r\nleft=22\r\nwidth=160\r\nHeight=120",
            "[image]\r\ntop=" + far + "\r\nleft=" + far + "\r\nwidth=" + near + "\r\nHeight=" + near);
        set("[run]\r\ntop=16\r\nleft=18", "[run]\r\ntop=" + near + "\r\nleft=" + far);
        dir.write("skin/skin.ini", ini);
        CurrentDirectory cd(work.path());
        RecordingMessages messages;
        MainWindow w(nullptr, skin);
        ASSERT_TRUE(messages.errors.empty()) << messages.errors.front();

        const int limit = kSkinSizeLimit;
        const int side = near.front() == '-' ? -kSkinPositionLimit : kSkinPositionLimit;
        const int size = far.front() == '-' ? 0 : limit;
        EXPECT_EQ(w.findChild<QListWidget*>("lista")->geometry(), QRect(side, side, size, size));
        EXPECT_EQ(w.findChild<QLabel*>("Image1")->geometry(),
                  QRect(-side, -side, limit - size, limit - size));
        EXPECT_EQ(button(w, "h142")->pos(), QPoint(-side, side));

        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.repaint();
        QApplication::processEvents();
        EXPECT_EQ(w.frameGeometry().size(), QSize(limit, limit));
        EXPECT_EQ(w.findChild<QLabel*>("back")->size(), w.centralWidget()->size());
        EXPECT_TRUE(messages.errors.empty());
    }
}

// A skin may put the picture over the buttons and the list; they still show above it and take
// the clicks at their places, as a user's mouse gives them: to whatever widget lies there.
TEST(MainWindowSkin, ButtonsAndListLieAboveALargePicture)
{
    TempDir dir, work;
    const std::string skin = copyExampleSkin(dir);
    std::string ini = arcavio::test::readBytes(skin + "/skin.ini");
    const std::string image = "[image]\r\ntop=140\r\nleft=22\r\nwidth=160\r\nHeight=120";
    ini.replace(ini.find(image), image.size(), "[image]\r\ntop=10\r\nleft=10\r\nwidth=300\r\nHeight=200");
    dir.write("skin/skin.ini", ini);
    work.write("a.av2", "/mame\r\n" + work.file("pic.bmp") + "\r\nFirst\r\n");
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(work.file("pic.bmp"))));
    CurrentDirectory cd(work.path());
    RecordingMessages messages;
    MainWindow w(nullptr, skin);
    ASSERT_TRUE(messages.errors.empty()) << messages.errors.front();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* preview = w.findChild<QLabel*>("Image1");
    ASSERT_EQ(preview->geometry(), QRect(10, 10, 300, 200));

    // Clicks where a user would click, delivered to the widget that lies at that point.
    const auto clickAt = [&w](QWidget* target, QPoint local) {
        const QPoint inWindow = target->mapTo(&w, local);
        QWidget* hit = w.childAt(inWindow);
        if (hit != nullptr)
            QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&w, inWindow));
        return hit;
    };

    QSignalSpy run(&w, &MainWindow::runRequested);
    for (RegionButton* b : w.commandButtons()) {
        ASSERT_TRUE(preview->geometry().contains(b->geometry())) << b->objectName().toStdString();
        EXPECT_EQ(w.childAt(b->mapTo(&w, b->rect().center())), b) << b->objectName().toStdString();
    }
    EXPECT_EQ(clickAt(button(w, "h142"), button(w, "h142")->rect().center()), button(w, "h142"));
    EXPECT_EQ(run.count(), 1);

    auto* list = w.findChild<QListWidget*>("lista");
    const QRect row = list->visualItemRect(list->item(0));
    const QPoint covered(20, row.center().y());
    ASSERT_TRUE(preview->geometry().contains(list->viewport()->mapTo(list->parentWidget(), covered)));
    EXPECT_EQ(clickAt(list->viewport(), covered), list->viewport());
    EXPECT_EQ(w.selectedFullPath(), work.file("a.av2"));
    EXPECT_FALSE(preview->pixmap().isNull()) << "the picture is still shown beneath";
}
