#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <functional>

#include "app/messageboxes.h"
#include "support/modal.h"
#include "window_frames.h"

namespace arcavio::test {
namespace {

// The columns of a frame's title bar that hold light pixels: the caption's letters and the
// buttons' symbols (the title bar itself is darker). A caption the window manager had to cut
// short holds fewer of them than the whole caption.
int lightColumnsInTitleBar(const ManagedFrame& frame)
{
    const QImage bar =
        QGuiApplication::primaryScreen()
            ->grabWindow(0, frame.outer.x(), frame.outer.y(), frame.outer.width(), frame.extents.top())
            .toImage();
    int columns = 0;
    for (int x = 0; x < bar.width(); ++x) {
        for (int y = 0; y < bar.height(); ++y) {
            const QRgb pixel = bar.pixel(x, y);
            if (qRed(pixel) > 235 && qGreen(pixel) > 235 && qBlue(pixel) > 235) {
                ++columns;
                break;
            }
        }
    }
    return columns;
}

class MessageBoxCaption : public ::testing::Test {
  protected:
    // Shows a box through `show` and returns the light columns of its title bar.
    int captionColumns(const std::function<void()>& show)
    {
        int columns = -1;
        whenModal([&](QWidget* box) {
            const ManagedFrame frame = frames.settled(box);
            QTest::qWait(100); // the title bar is drawn once the box has the focus
            columns = lightColumnsInTitleBar(frame);
            EXPECT_GT(frame.extents.top(), 0);
            qobject_cast<QMessageBox*>(box)->buttons().front()->click();
        });
        show();
        return columns;
    }

    MessageBoxes boxes;
    WindowFrames frames;
};

const std::string kLongText =
    "A text long enough to make the box far wider than its caption could ever need.";

TEST_F(MessageBoxCaption, ShortTextsStillShowTheWholeCaption)
{
    const int whole = captionColumns([&] { boxes.plainMessage(kLongText); });
    ASSERT_GT(whole, 0);
    EXPECT_EQ(captionColumns([&] { boxes.plainMessage("Select a game first!!"); }), whole);
    EXPECT_EQ(captionColumns([&] { boxes.plainMessage("OK"); }), whole);

    const int wholeError = captionColumns([&] { boxes.errorBox(kLongText); });
    EXPECT_EQ(captionColumns([&] { boxes.errorBox("Oops"); }), wholeError);

    const int wholeQuestion =
        captionColumns([&] { boxes.askYesNo(kLongText, "Overwrite the configuration"); });
    EXPECT_EQ(captionColumns([&] { boxes.askYesNo("Sure?", "Overwrite the configuration"); }), wholeQuestion);
}

} // namespace
} // namespace arcavio::test
