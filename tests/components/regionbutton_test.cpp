#include "components/regionbutton.h"

#include <vector>

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "components/builtinbuttons.h"
#include "components/shaperegion.h"
#include "support/temp_dir.h"
#include "text/errors.h"

namespace arcavio {
namespace {

QImage picture(int width, int height, QRgb background, QRgb symbol)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    for (int y = 2; y < height - 2; ++y)
        for (int x = 2; x < width - 2; ++x)
            image.setPixel(x, y, symbol);
    return image;
}

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

// What the button reported, in order.
struct Recorder {
    std::vector<MouseMessage> downs, ups, enters, leaves;
    int clicks = 0;
    void attach(RegionButton& button)
    {
        button.OnClick = [this] { ++clicks; };
        button.OnMouseDown = [this](MouseMessage& m) { downs.push_back(m); };
        button.OnMouseUp = [this](MouseMessage& m) { ups.push_back(m); };
        button.OnMouseEnter = [this](MouseMessage& m) { enters.push_back(m); };
        button.OnMouseLeave = [this](MouseMessage& m) { leaves.push_back(m); };
    }
};

class RegionButtonTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        window.resize(200, 120);
        button = new RegionButton(&window);
        button->move(20, 30);
        recorder.attach(*button);
    }
    void show()
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void enter(QPoint at = QPoint(5, 5))
    {
        QEnterEvent event(at, button->mapTo(&window, at), button->mapToGlobal(at));
        QApplication::sendEvent(button, &event);
    }
    void leave()
    {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(button, &event);
    }
    void press(QPoint at = QPoint(10, 10)) { QTest::mousePress(button, Qt::LeftButton, {}, at); }
    void release(QPoint at = QPoint(10, 10)) { QTest::mouseRelease(button, Qt::LeftButton, {}, at); }

    QWidget window;
    RegionButton* button = nullptr;
    Recorder recorder;
};

TEST_F(RegionButtonTest, StartsSmallAndTakesTheSizeOfThePictureShown)
{
    EXPECT_EQ(button->size(), QSize(15, 15));
    EXPECT_EQ(button->PaintMode(), pmNormal);
    EXPECT_TRUE(button->Enabled());
    EXPECT_FALSE(button->AutoRepeat());

    button->setPicDown(picture(50, 40, kWhite, kBlack));
    EXPECT_EQ(button->size(), QSize(15, 15)) << "nothing shown yet: PicIdle is empty";
    button->setPicIdle(picture(31, 23, kWhite, kBlack));
    EXPECT_EQ(button->size(), QSize(31, 23));
    button->setPicUp(picture(40, 30, kWhite, kBlack));
    EXPECT_EQ(button->size(), QSize(31, 23));

    enter();
    EXPECT_EQ(button->size(), QSize(40, 30));
    press();
    EXPECT_EQ(button->size(), QSize(50, 40));
    leave();
    EXPECT_EQ(button->size(), QSize(31, 23)) << "dragged off while pressed: the rest picture";
    EXPECT_TRUE(button->pressed());
    enter();
    EXPECT_EQ(button->currentPicture().size(), QSize(50, 40));
    release();
    EXPECT_EQ(button->size(), QSize(40, 30));

    button->setEnabled(false);
    EXPECT_EQ(button->currentPicture(), button->PicIdle().image()) << "no PicDsbld: PicIdle";
    EXPECT_EQ(button->size(), QSize(31, 23));
    button->setPicDsbld(picture(20, 10, kWhite, kBlack));
    EXPECT_EQ(button->size(), QSize(20, 10));
}

TEST_F(RegionButtonTest, PictureChosenByStateFallsBackToTheRestPicture)
{
    const QImage idle = picture(10, 10, kWhite, qRgb(1, 1, 1));
    button->setPicIdle(idle);
    enter();
    EXPECT_EQ(button->currentPicture(), idle);
    press();
    EXPECT_EQ(button->currentPicture(), idle);
    const QImage down = picture(10, 10, kWhite, qRgb(2, 2, 2));
    const QImage up = picture(10, 10, kWhite, qRgb(3, 3, 3));
    button->setPicDown(down);
    button->setPicUp(up);
    EXPECT_EQ(button->currentPicture(), down);
    release();
    EXPECT_EQ(button->currentPicture(), up);
    leave();
    EXPECT_EQ(button->currentPicture(), idle);
    press();
    EXPECT_EQ(button->currentPicture(), idle) << "pressed without the pointer over it";
}

TEST_F(RegionButtonTest, CropCutsTheTopLeftColourAndFollowsOnlyTheRestPicture)
{
    const QImage run = builtinButtonPicture(ButtonSymbol::Run, ButtonState::Rest);
    button->setPicIdle(run);
    button->setPicUp(builtinButtonPicture(ButtonSymbol::Run, ButtonState::PointerOver));
    button->setPaintMode(pmCrop);
    EXPECT_TRUE(button->regionApplied());
    EXPECT_EQ(button->mask(), keyedRegion(run));
    EXPECT_EQ(button->shapeBuilds(), 1);

    button->setPaintMode(pmCrop);
    EXPECT_EQ(button->shapeBuilds(), 1) << "the same mode again does nothing";

    // Loaded in place: repainted, the shape stays until the mode goes off and on again.
    const QImage edit = builtinButtonPicture(ButtonSymbol::Edit, ButtonState::Rest);
    button->PicIdle().assign(edit);
    EXPECT_EQ(button->shapeBuilds(), 1);
    EXPECT_EQ(button->mask(), keyedRegion(run));
    button->setPaintMode(pmNormal);
    EXPECT_FALSE(button->regionApplied());
    EXPECT_EQ(button->mask(), QRegion(0, 0, 31, 23)) << "un-crop leaves the rest picture's rectangle";
    button->setPaintMode(pmCrop);
    EXPECT_EQ(button->shapeBuilds(), 2);
    EXPECT_EQ(button->mask(), keyedRegion(edit));

    // Through the property a new rest picture reshapes the button at once.
    const QImage bigger = picture(40, 30, kWhite, kBlack);
    button->setPicIdle(bigger);
    EXPECT_EQ(button->shapeBuilds(), 3);
    EXPECT_EQ(button->mask(), QRegion(2, 2, 36, 26));
    button->setPaintMode(pmTransparent);
    EXPECT_EQ(button->mask(), QRegion(0, 0, 40, 30));
    button->setPicIdle(run);
    EXPECT_EQ(button->shapeBuilds(), 3) << "not cropped: no shape to rebuild";
}

TEST_F(RegionButtonTest, EmptyShapeHidesTheButtonFromPointerAndPaint)
{
    button->setPicIdle(picture(30, 20, kBlack, kBlack));
    button->setPaintMode(pmCrop);
    EXPECT_TRUE(button->regionApplied());
    EXPECT_TRUE(button->shape().isEmpty());
    EXPECT_EQ(window.childAt(button->geometry().center()), nullptr);
    EXPECT_TRUE(button->visibleRegion().isEmpty());

    button->setPaintMode(pmNormal);
    EXPECT_EQ(window.childAt(button->geometry().center()), button);

    RegionButton bare;
    bare.setPaintMode(pmCrop);
    EXPECT_TRUE(bare.regionApplied());
    EXPECT_TRUE(bare.shape().isEmpty());
    bare.setPaintMode(pmNormal);
    EXPECT_FALSE(bare.regionApplied());
    EXPECT_EQ(bare.size(), QSize(15, 15));
}

TEST_F(RegionButtonTest, PointerReachesOnlyTheShape)
{
    QImage ring = picture(20, 20, kWhite, kBlack);
    for (int y = 6; y < 14; ++y)
        for (int x = 6; x < 14; ++x)
            ring.setPixel(x, y, kWhite);
    button->setPicIdle(ring);
    button->setPaintMode(pmCrop);
    const QPoint origin = button->pos();
    EXPECT_EQ(window.childAt(origin + QPoint(3, 3)), button);
    EXPECT_EQ(window.childAt(origin + QPoint(10, 10)), nullptr);
    EXPECT_EQ(window.childAt(origin + QPoint(0, 0)), nullptr);
}

TEST_F(RegionButtonTest, ReleaseInsideTheRectangleClicksOutsideDoesNot)
{
    QImage ring = picture(20, 20, kWhite, kBlack);
    button->setPicIdle(ring);
    button->setPaintMode(pmCrop);
    show();

    press(QPoint(5, 5));
    QTest::mouseMove(button, QPoint(60, 5));
    release(QPoint(60, 5));
    EXPECT_EQ(recorder.clicks, 0);
    EXPECT_FALSE(button->pressed());
    ASSERT_EQ(recorder.ups.size(), 1u);
    EXPECT_EQ(recorder.ups[0].XPos, 60);

    press(QPoint(5, 5));
    release(QPoint(6, 7));
    EXPECT_EQ(recorder.clicks, 1);

    press(QPoint(5, 5));
    release(QPoint(0, 19));
    EXPECT_EQ(recorder.clicks, 2) << "a cut-out pixel still lies in the rectangle";

    press(QPoint(5, 5));
    release(QPoint(20, 5));
    EXPECT_EQ(recorder.clicks, 2) << "the right edge lies outside";
}

TEST_F(RegionButtonTest, ClickComesWhilePressedAndBeforeMouseUp)
{
    button->setPicIdle(picture(20, 20, kWhite, kBlack));
    std::vector<std::string> order;
    button->OnClick = [&] { order.push_back(button->pressed() ? "click pressed" : "click released"); };
    button->OnMouseUp = [&](MouseMessage& m) {
        order.push_back(button->pressed() ? "up pressed" : "up released");
        EXPECT_EQ(m.Msg, kMsgLButtonUp);
        EXPECT_EQ(m.Keys & kKeyLButton, 0u);
    };
    button->OnMouseDown = [&](MouseMessage& m) {
        order.push_back("down");
        EXPECT_EQ(m.Msg, kMsgLButtonDown);
        EXPECT_EQ(m.Keys, kKeyLButton | kKeyShift);
        EXPECT_EQ(m.XPos, 4);
        EXPECT_EQ(m.YPos, 9);
    };
    QTest::mousePress(button, Qt::LeftButton, Qt::ShiftModifier, QPoint(4, 9));
    release(QPoint(4, 9));
    EXPECT_EQ(order, (std::vector<std::string>{"down", "click pressed", "up released"}));

    // The right button is not the button's business.
    order.clear();
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(4, 9));
    EXPECT_TRUE(order.empty());
}

TEST_F(RegionButtonTest, EnterAndLeaveCarryNoKeysOrPosition)
{
    button->setPicIdle(picture(20, 20, kWhite, kBlack));
    enter(QPoint(7, 8));
    enter(QPoint(9, 9));
    ASSERT_EQ(recorder.enters.size(), 1u) << "already over it: nothing more";
    EXPECT_EQ(recorder.enters[0].Msg, kMsgMouseEnter);
    EXPECT_EQ(recorder.enters[0].Keys, 0u);
    EXPECT_EQ(recorder.enters[0].XPos, 0);
    EXPECT_EQ(recorder.enters[0].YPos, 0);
    EXPECT_TRUE(button->hover());
    leave();
    ASSERT_EQ(recorder.leaves.size(), 1u);
    EXPECT_EQ(recorder.leaves[0].Msg, kMsgMouseLeave);
    EXPECT_FALSE(button->hover());
}

TEST_F(RegionButtonTest, DisabledButtonReportsTheMouseButNeverClicks)
{
    button->setPicIdle(picture(20, 20, kWhite, kBlack));
    button->setPicDsbld(picture(20, 20, kWhite, qRgb(128, 128, 128)));
    button->setEnabled(false);
    EXPECT_TRUE(button->Disabled());
    EXPECT_TRUE(button->isEnabled()) << "the widget itself stays enabled";
    EXPECT_EQ(button->currentPicture(), button->PicDsbld().image());
    show();

    enter();
    press();
    release();
    button->setAutoRepeat(true);
    enter();
    press();
    QTest::qWait(400);
    release();
    leave();
    EXPECT_EQ(recorder.clicks, 0);
    EXPECT_EQ(recorder.downs.size(), 2u);
    EXPECT_EQ(recorder.ups.size(), 2u);
    EXPECT_EQ(recorder.enters.size(), 1u);
    EXPECT_EQ(recorder.leaves.size(), 1u);

    button->setEnabled(true);
    press();
    release();
    EXPECT_EQ(recorder.clicks, 1);
}

TEST_F(RegionButtonTest, DoubleClickGivesOneClick)
{
    button->setPicIdle(picture(20, 20, kWhite, kBlack));
    show();
    // Through the window, as the system delivers it: press, release, press, release in quick
    // succession, which the widget sees as press, release, double-click, release.
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, button->mapTo(&window, QPoint(10, 10)));
    EXPECT_EQ(recorder.clicks, 1);
    EXPECT_EQ(recorder.downs.size(), 1u);
    EXPECT_EQ(recorder.ups.size(), 2u);
    EXPECT_FALSE(button->pressed());
}

TEST_F(RegionButtonTest, AutoRepeatClicksWhileHeldOverTheButton)
{
    button->setPicIdle(picture(20, 20, kWhite, kBlack));
    button->setAutoRepeat(true);
    show();
    press();
    EXPECT_FALSE(button->repeating()) << "not over the button";
    enter();
    EXPECT_TRUE(button->repeating());
    QTest::qWait(1000);
    const int whileHeld = recorder.clicks;
    EXPECT_GE(whileHeld, 2);
    release();
    EXPECT_EQ(recorder.clicks, whileHeld + 1);
    EXPECT_FALSE(button->repeating());

    press();
    EXPECT_TRUE(button->repeating());
    leave();
    EXPECT_FALSE(button->repeating()) << "dragged off";
    const int afterLeave = recorder.clicks;
    QTest::qWait(400);
    EXPECT_EQ(recorder.clicks, afterLeave);
    enter();
    EXPECT_TRUE(button->repeating());
    button->setAutoRepeat(false);
    EXPECT_TRUE(button->repeating()) << "takes effect at the next transition";
    release();
    EXPECT_FALSE(button->repeating());
}

// The pointer driven through the window as the system delivers it: while a mouse button is
// held, Qt tells the widget that holds it nothing of entering or leaving.
class HeldRegionButton : public RegionButtonTest {
  protected:
    void SetUp() override
    {
        RegionButtonTest::SetUp();
        // A 20 x 20 button whose top-left 6 x 6 corner has the key colour and is cut away.
        QImage idle(20, 20, QImage::Format_RGB32);
        idle.fill(kBlack);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                idle.setPixel(x, y, kWhite);
        button->setPicIdle(idle);
        button->setPicUp(picture(20, 20, kWhite, qRgb(0, 0, 200)));
        button->setPicDown(picture(20, 20, kWhite, qRgb(200, 0, 0)));
        button->setPaintMode(pmCrop);
        show();
        // Wherever the last test left the pointer, start away from the button.
        QTest::mouseMove(handle(), QPoint(190, 110));
    }
    QWindow* handle() { return window.windowHandle(); }
    QPoint at(QPoint inButton) { return button->mapTo(&window, inButton); }
    void moveTo(QPoint inButton) { QTest::mouseMove(handle(), at(inButton)); }
    void pressAt(QPoint inButton) { QTest::mousePress(handle(), Qt::LeftButton, {}, at(inButton)); }
    void releaseAt(QPoint inButton) { QTest::mouseRelease(handle(), Qt::LeftButton, {}, at(inButton)); }
    const QImage& idle() { return button->PicIdle().image(); }
    const QImage& down() { return button->PicDown().image(); }
};

TEST_F(HeldRegionButton, DraggedOffTheShapeShowsRestAndLeavesComingBackEnters)
{
    const QPoint corner(2, 2), inside(12, 12), farAway(80, 60);
    ASSERT_FALSE(button->shape().contains(corner));
    moveTo(inside);
    ASSERT_TRUE(button->hover()) << "Qt's own enter, no button held";
    ASSERT_EQ(recorder.enters.size(), 1u);
    pressAt(inside);
    EXPECT_EQ(button->currentPicture(), down());

    moveTo(corner);
    EXPECT_TRUE(button->pressed());
    EXPECT_FALSE(button->hover()) << "the cut-away corner lies off the shape";
    EXPECT_EQ(button->currentPicture(), idle());
    ASSERT_EQ(recorder.leaves.size(), 1u);
    EXPECT_EQ(recorder.leaves[0].Msg, kMsgMouseLeave);
    EXPECT_EQ(recorder.leaves[0].XPos, 0);
    moveTo(QPoint(3, 4));
    EXPECT_EQ(recorder.leaves.size(), 1u) << "once per change";

    moveTo(QPoint(15, 15));
    EXPECT_TRUE(button->hover());
    EXPECT_EQ(button->currentPicture(), down());
    ASSERT_EQ(recorder.enters.size(), 2u);
    EXPECT_EQ(recorder.enters[1].Keys, 0u);

    moveTo(farAway);
    EXPECT_EQ(button->currentPicture(), idle());
    EXPECT_EQ(recorder.leaves.size(), 2u);
    releaseAt(farAway);
    QApplication::processEvents();
    EXPECT_EQ(recorder.clicks, 0);
    EXPECT_EQ(recorder.leaves.size(), 2u) << "Qt's leave after the release is not a second one";
    EXPECT_EQ(recorder.enters.size(), 2u);
    EXPECT_FALSE(button->pressed());

    moveTo(inside);
    EXPECT_EQ(recorder.enters.size(), 3u) << "back over it with no button held";
    EXPECT_EQ(button->currentPicture(), button->PicUp().image());
}

TEST_F(HeldRegionButton, ReleaseOnTheCutAwayCornerClicksAndLeavesOnce)
{
    moveTo(QPoint(12, 12));
    pressAt(QPoint(12, 12));
    moveTo(QPoint(1, 1));
    EXPECT_EQ(recorder.leaves.size(), 1u);
    releaseAt(QPoint(1, 1));
    QApplication::processEvents();
    EXPECT_EQ(recorder.clicks, 1) << "the release test takes the whole rectangle";
    EXPECT_EQ(recorder.leaves.size(), 1u);
    EXPECT_FALSE(button->hover());

    // Pressed, off and back on, released over the shape: the pointer never left for Qt.
    moveTo(QPoint(12, 12));
    EXPECT_EQ(recorder.enters.size(), 2u);
    pressAt(QPoint(12, 12));
    moveTo(QPoint(30, 12));
    moveTo(QPoint(12, 12));
    releaseAt(QPoint(12, 12));
    QApplication::processEvents();
    EXPECT_EQ(recorder.clicks, 2);
    EXPECT_EQ(recorder.enters.size(), 3u);
    EXPECT_EQ(recorder.leaves.size(), 2u);
    EXPECT_TRUE(button->hover());
    EXPECT_EQ(button->currentPicture(), button->PicUp().image());
}

TEST_F(HeldRegionButton, RepeatStopsWhileOffTheShapeAndResumesOnIt)
{
    button->setAutoRepeat(true);
    moveTo(QPoint(12, 12));
    pressAt(QPoint(12, 12));
    EXPECT_TRUE(button->repeating());
    moveTo(QPoint(2, 2));
    EXPECT_FALSE(button->repeating());
    const int whileOff = recorder.clicks;
    QTest::qWait(700);
    EXPECT_EQ(recorder.clicks, whileOff) << "no clicks while the pointer is off the shape";
    moveTo(QPoint(12, 12));
    EXPECT_TRUE(button->repeating());
    QTest::qWait(700);
    EXPECT_GE(recorder.clicks, whileOff + 1);
    releaseAt(QPoint(12, 12));
    EXPECT_FALSE(button->repeating());
}

TEST_F(RegionButtonTest, ImageListFillsPicturesByIndexAsCopies)
{
    PictureList list(12, 8);
    list.add(picture(12, 8, kWhite, qRgb(10, 0, 0)));
    list.add(picture(12, 8, kWhite, qRgb(20, 0, 0)));
    button->setPicDown(picture(5, 5, kWhite, kBlack));
    button->setPaintMode(pmCrop);
    const int builds = button->shapeBuilds();

    button->setImageList(&list);
    EXPECT_EQ(button->ImageList(), &list);
    EXPECT_EQ(button->PicIdle().image(), list.image(0));
    EXPECT_EQ(button->PicUp().image(), list.image(1));
    EXPECT_EQ(button->PicDown().size(), QSize(5, 5)) << "beyond the list's count: kept";
    EXPECT_TRUE(button->PicDsbld().empty());
    EXPECT_EQ(button->shapeBuilds(), builds) << "the region is not rebuilt";
    EXPECT_EQ(button->size(), QSize(12, 8));

    list.add(picture(12, 8, kWhite, qRgb(30, 0, 0)));
    button->setImageList(&list);
    EXPECT_EQ(button->PicDown().size(), QSize(5, 5)) << "the same list again does nothing";

    PictureList other(12, 8);
    for (int i = 0; i < 5; ++i)
        other.add(picture(12, 8, kWhite, qRgb(0, 40 * i, 0)));
    button->setImageList(&other);
    EXPECT_EQ(button->PicDown().image(), other.image(2));
    EXPECT_EQ(button->PicDsbld().image(), other.image(3));

    button->setImageList(nullptr);
    EXPECT_EQ(button->ImageList(), nullptr);
    EXPECT_EQ(button->PicIdle().image(), other.image(0));
}

TEST(PictureListTest, ImagesTakeTheListSizeAndForgottenListsAreReleased)
{
    auto* list = new PictureList(4, 3);
    QImage large(6, 6, QImage::Format_RGB32);
    large.fill(qRgb(9, 9, 9));
    QImage small(2, 2, QImage::Format_RGB32);
    small.fill(qRgb(9, 9, 9));
    list->add(large);
    list->add(small);
    EXPECT_EQ(list->image(0).size(), QSize(4, 3));
    EXPECT_EQ(list->image(0).pixel(3, 2), qRgb(9, 9, 9));
    EXPECT_EQ(list->image(1).pixel(1, 1), qRgb(9, 9, 9));
    EXPECT_EQ(list->image(1).pixel(3, 2), qRgb(255, 255, 255));

    RegionButton button;
    button.setImageList(list);
    delete list;
    EXPECT_EQ(button.ImageList(), nullptr);
}

TEST_F(RegionButtonTest, PaintsThePictureTransparentModeLeavesTheKeyColour)
{
    QImage symbol = picture(10, 10, qRgb(0, 255, 0), qRgb(200, 0, 0));
    button->setPicIdle(symbol);
    const auto rendered = [&] {
        QImage target(10, 10, QImage::Format_RGB32);
        target.fill(qRgb(1, 2, 3));
        button->render(&target, QPoint(), QRegion(), QWidget::RenderFlags());
        return target;
    };
    QImage normal = rendered();
    EXPECT_EQ(normal.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(normal.pixel(5, 5), qRgb(200, 0, 0));
    button->setPaintMode(pmTransparent);
    QImage transparent = rendered();
    EXPECT_EQ(transparent.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(transparent.pixel(9, 9), qRgb(1, 2, 3));
    EXPECT_EQ(transparent.pixel(5, 5), qRgb(200, 0, 0));
}

TEST_F(RegionButtonTest, PictureLoadedFromFileRepaintsAndFailureKeepsIt)
{
    test::TempDir dir;
    const std::string path = dir.path() + "/runn.bmp";
    ASSERT_TRUE(picture(33, 21, kWhite, kBlack).save(QString::fromStdString(path), "BMP"));
    button->setPaintMode(pmCrop);
    const int builds = button->shapeBuilds();
    button->PicIdle().loadFromFile(path);
    EXPECT_EQ(button->size(), QSize(33, 21));
    EXPECT_EQ(button->shapeBuilds(), builds);

    EXPECT_THROW(button->PicIdle().loadFromFile(dir.path() + "/missing.bmp"), std::exception);
    EXPECT_THROW(button->PicIdle().loadFromFile(dir.path() + "/runn.png"), PictureError);
    EXPECT_EQ(button->PicIdle().size(), QSize(33, 21));
}

} // namespace
} // namespace arcavio
