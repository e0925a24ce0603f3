#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "app/messageboxes.h"
#include "app/program.h"
#include "support/modal.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "window_frames.h"

namespace arcavio::test {
namespace {

// Each window is looked at on its first and on its second showing: the frame of the first is
// known to the window manager only once it has framed the window.
constexpr int kShowings = 2;

class WindowPlacementOnDesktop : public ::testing::Test {
  protected:
    static QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    static void expectCentred(const QRect& outer, int showing)
    {
        const QRect area = screenArea();
        EXPECT_LE(std::abs(outer.left() - area.left() - (area.right() - outer.right())), 1)
            << "showing " << showing << ": " << outer.x() << "," << outer.y();
        EXPECT_LE(std::abs(outer.top() - area.top() - (area.bottom() - outer.bottom())), 1)
            << "showing " << showing << ": " << outer.x() << "," << outer.y();
    }

    // The frame as the window manager shows it, checked against its own announcement, and the
    // window never shown anywhere else on the way.
    ManagedFrame frameOf(const QWidget& window, int showing)
    {
        std::vector<QRect> seen;
        const ManagedFrame frame = frames.settled(&window, &seen);
        EXPECT_EQ(frame.outer, frame.inner.marginsAdded(frame.extents)) << "showing " << showing;
        EXPECT_EQ(seen, std::vector<QRect>{frame.outer}) << "showing " << showing << ": the window moved";
        return frame;
    }

    // Shows a modal window through `show`, looks at it while it is up, then closes it.
    template <class Dialog>
    ManagedFrame modalFrame(Dialog& dialog, const std::function<void()>& show, int showing)
    {
        ManagedFrame frame;
        bool looked = false;
        QTimer::singleShot(0, &dialog, [&] {
            frame = frameOf(dialog, showing);
            looked = true;
            dialog.done(QDialog::Rejected);
        });
        show();
        EXPECT_TRUE(looked) << "showing " << showing;
        EXPECT_TRUE(frames.gone(&dialog));
        return frame;
    }

    ManagedFrame shownFrame(QWidget& window, int showing)
    {
        window.show();
        const ManagedFrame frame = frameOf(window, showing);
        window.hide();
        EXPECT_TRUE(frames.gone(&window));
        return frame;
    }

    std::string exampleSkin()
    {
        const std::string skin = work.file("skin");
        std::filesystem::copy(ARCAVIO_SOURCE_DIR "/skins/neon", skin);
        return skin;
    }

    TempDir work;
    CurrentDirectory current{work.path()};
    RecordingMessages messages;
    WindowFrames frames;
};

TEST_F(WindowPlacementOnDesktop, MainWindowWithoutSkinHasItsFrameAtTheDesignedPlace)
{
    MainWindow window(nullptr, work.file("no skin here"));
    for (int showing = 1; showing <= kShowings; ++showing) {
        const ManagedFrame frame = shownFrame(window, showing);
        EXPECT_EQ(frame.outer.topLeft(), QPoint(194, 112)) << "showing " << showing;
        EXPECT_EQ(frame.inner.width(), 510);
        EXPECT_GT(frame.extents.top(), 0) << "a title bar";
    }
}

TEST_F(WindowPlacementOnDesktop, SkinnedMainWindowHasTheSkinsOuterSizeAndIsCentred)
{
    MainWindow window(nullptr, exampleSkin());
    ASSERT_TRUE(messages.errors.empty()) << messages.errors.front();
    for (int showing = 1; showing <= kShowings; ++showing) {
        const ManagedFrame frame = shownFrame(window, showing);
        EXPECT_EQ(frame.outer.size(), QSize(640, 400)) << "showing " << showing;
        expectCentred(frame.outer, showing);
    }
}

TEST_F(WindowPlacementOnDesktop, SkinFailingAtTheHeightKeepsItsWidthAndTheDesignedHeight)
{
    int designedHeight = 0;
    {
        MainWindow plain(nullptr, work.file("no skin here"));
        designedHeight = shownFrame(plain, 1).inner.height();
    }
    const std::string skin = exampleSkin();
    std::string ini = readBytes(skin + "/skin.ini");
    const std::size_t height = ini.find("Height=400");
    ASSERT_NE(height, std::string::npos);
    ini.erase(height, ini.find('\n', height) + 1 - height);
    work.write("skin/skin.ini", ini);

    MainWindow window(nullptr, skin);
    EXPECT_EQ(messages.errors, std::vector<std::string>{"'' is not a valid integer value"});
    for (int showing = 1; showing <= kShowings; ++showing) {
        const ManagedFrame frame = shownFrame(window, showing);
        EXPECT_EQ(frame.outer.width(), 640) << "showing " << showing;
        EXPECT_EQ(frame.inner.height(), designedHeight) << "showing " << showing;
        EXPECT_EQ(frame.outer.topLeft(), QPoint(194, 112)) << "not centred: the step ended first";
    }
}

class ProgramWindowsOnDesktop : public WindowPlacementOnDesktop {
  protected:
    void SetUp() override { program.mainWindow.show(); }

    Program program;
};

TEST_F(ProgramWindowsOnDesktop, HelpWindowIsResizableWithItsOuterSizeAndCentred)
{
    for (int showing = 1; showing <= kShowings; ++showing) {
        const ManagedFrame frame = modalFrame(
            program.help, [&] { program.help.showModal(); }, showing);
        EXPECT_EQ(frame.outer.size(), QSize(685, 375)) << "showing " << showing;
        expectCentred(frame.outer, showing);
    }
    program.help.show();
    const std::vector<std::string> actions = frames.allowedActions(&program.help);
    EXPECT_NE(std::find(actions.begin(), actions.end(), "_NET_WM_ACTION_RESIZE"), actions.end());
    program.help.hide();
}

TEST_F(ProgramWindowsOnDesktop, AboutWindowIsCentredByItsFrame)
{
    for (int showing = 1; showing <= kShowings; ++showing) {
        const ManagedFrame frame = modalFrame(
            program.about, [&] { program.about.exec(); }, showing);
        EXPECT_EQ(frame.inner.size(), QSize(324, 483));
        expectCentred(frame.outer, showing);
    }
}

TEST_F(ProgramWindowsOnDesktop, GameDialogsAreCentredByTheirFrames)
{
    for (int showing = 1; showing <= kShowings; ++showing) {
        const ManagedFrame select = modalFrame(
            program.selectGame, [&] { program.selectGame.showModal(); }, showing);
        EXPECT_EQ(select.inner.size(), QSize(396, 346)) << "showing " << showing;
        expectCentred(select.outer, showing);

        const ManagedFrame add = modalFrame(
            program.addGame, [&] { program.addGame.showModal(); }, showing);
        EXPECT_EQ(add.inner.size(), QSize(340, 125)) << "showing " << showing;
        expectCentred(add.outer, showing);
    }
}

TEST_F(ProgramWindowsOnDesktop, ConfigurationNameDialogHasNoFrameAndIsCentred)
{
    for (int showing = 1; showing <= kShowings; ++showing) {
        const ManagedFrame frame = modalFrame(
            program.configurationName, [&] { program.configurationName.showModal(); }, showing);
        EXPECT_EQ(frame.outer, frame.inner) << "showing " << showing;
        EXPECT_EQ(frame.outer.size(), QSize(327, 95));
        expectCentred(frame.outer, showing);
    }
}

// Centred over the other window by the frames the window manager drew.
void expectCentredOver(const ManagedFrame& window, const ManagedFrame& over, const std::string& which)
{
    const QRect& a = window.outer;
    const QRect& b = over.outer;
    EXPECT_LE(std::abs((a.left() - b.left()) - (b.right() - a.right())), 1)
        << which << " at " << a.x() << "," << a.y();
    EXPECT_LE(std::abs((a.top() - b.top()) - (b.bottom() - a.bottom())), 1)
        << which << " at " << a.x() << "," << a.y();
}

TEST_F(ProgramWindowsOnDesktop, OverwriteQuestionIsCentredOverTheNameDialogOnEveryShowing)
{
    work.write("taken.av2", "");
    MessageBoxes boxes;
    MessageSink* previous = setMessages(&boxes);
    for (int showing = 1; showing <= kShowings; ++showing) {
        ManagedFrame dialog, question;
        bool asked = false;
        QTimer::singleShot(0, &program.configurationName, [&] {
            dialog = frameOf(program.configurationName, showing);
            whenModal([&](QWidget* box) {
                question = frameOf(*box, showing);
                asked = true;
                qobject_cast<QMessageBox*>(box)->button(QMessageBox::No)->click();
            });
            program.configurationName.findChild<QLineEdit*>("Edit1")->setText("taken");
            program.configurationName.findChild<QPushButton*>("Button1")->click();
            program.configurationName.findChild<QPushButton*>("Button2")->click();
        });
        program.configurationName.showModal();
        ASSERT_TRUE(asked) << "showing " << showing;
        expectCentredOver(question, dialog, "the question, showing " + std::to_string(showing));
        EXPECT_TRUE(program.configurationName.ChosenPath.empty());
    }
    setMessages(previous);
}

TEST_F(ProgramWindowsOnDesktop, FolderBrowserIsCentredOverTheEditorWithHelpShownOrNot)
{
    for (int showing = 1; showing <= kShowings; ++showing) {
        // Once before the help window was ever shown, once after.
        if (showing == 2)
            modalFrame(
                program.help, [&] { program.help.showModal(); }, showing);
        ConfigurationEditor editor(program.editor);
        ManagedFrame editorFrame, browser;
        bool browsed = false;
        QTimer::singleShot(0, &editor, [&] {
            editorFrame = frames.settled(&editor);
            whenModal([&](QWidget* dialog) {
                browser = frameOf(*dialog, showing);
                browsed = true;
                qobject_cast<QDialog*>(dialog)->reject();
            });
            editor.searchDirectory(1);
            editor.done(QDialog::Rejected);
        });
        editor.exec();
        ASSERT_TRUE(browsed) << "showing " << showing;
        expectCentredOver(browser, editorFrame, "the folder browser, showing " + std::to_string(showing));
    }
}

TEST_F(ProgramWindowsOnDesktop, EveryEditorHasItsFrameAtTheDesignedPlace)
{
    for (int showing = 1; showing <= kShowings; ++showing) {
        ConfigurationEditor editor(program.editor);
        const ManagedFrame frame = modalFrame(
            editor, [&] { editor.exec(); }, showing);
        EXPECT_EQ(frame.outer.topLeft(), QPoint(192, 112)) << "editor " << showing;
    }
}

} // namespace
} // namespace arcavio::test
