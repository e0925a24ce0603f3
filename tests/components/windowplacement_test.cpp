#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

#include "components/windowplacement.h"
#include "support/qt_printers.h"

// The offscreen platform gives windows a thin frame of its own; the frames of a real window
// manager are looked at by the desktop tests.
namespace arcavio {
namespace {

QPoint centredTopLeft(const QWidget& window)
{
    const QRect area = window.screen()->availableGeometry();
    const QSize outer = window.frameGeometry().size();
    return area.topLeft() + QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2);
}

TEST(WindowPlacement, DesignedPlaceOnlyOnTheFirstShowing)
{
    QWidget window;
    window.resize(300, 200);
    WindowPlacement placement(&window);
    placement.setOuterPosition(QPoint(194, 112));
    EXPECT_EQ(window.pos(), QPoint(194, 112)) << "known before the window is shown";
    window.show();
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(194, 112));
    // Shown again (as after the emulator ends), the window stays where the user put it.
    window.move(400, 300);
    window.hide();
    window.show();
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(400, 300));
}

TEST(WindowPlacement, CentredOnEveryShowingOrOnlyTheFirst)
{
    for (const auto when : {WindowPlacement::Showing::Every, WindowPlacement::Showing::First}) {
        QWidget window;
        window.resize(333, 111);
        WindowPlacement placement(&window);
        placement.centreOnScreen(when);
        window.show();
        EXPECT_EQ(window.frameGeometry().topLeft(), centredTopLeft(window));
        window.move(10, 20);
        window.hide();
        window.show();
        EXPECT_EQ(window.frameGeometry().topLeft(),
                  when == WindowPlacement::Showing::Every ? centredTopLeft(window) : QPoint(10, 20));
    }
}

TEST(WindowPlacement, OuterSizesAreAppliedOneByOne)
{
    QWidget window;
    window.resize(300, 200);
    WindowPlacement placement(&window);
    placement.setOuterWidth(640);
    EXPECT_EQ(window.size(), QSize(640, 200)) << "the height stays as designed";
    placement.setOuterHeight(400);
    EXPECT_EQ(window.size(), QSize(640, 400));

    QSize asked;
    placement.setInnerSizer([&](QSize inner) { asked = inner; });
    placement.centreOnScreen(WindowPlacement::Showing::First);
    window.show();
    const QSize frame = window.frameGeometry().size() - window.size();
    EXPECT_EQ(asked, QSize(640, 400) - frame)
        << "applied again on the first showing, with the frame then known";
}

} // namespace
} // namespace arcavio
