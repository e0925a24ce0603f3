// Draws the about window's logo (src/dialogs/images/logo.jpg). Not part of the build; run by hand:
//   g++ -std=c++20 -fPIC make_logo.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/make_logo
//   QT_QPA_PLATFORM=offscreen /tmp/make_logo ../../src/dialogs/images/logo.jpg
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QImage logo(247, 94, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);

    // A dark cabinet-screen panel with a sunset gradient; the bottom rows stay white.
    QLinearGradient screen(0, 0, 0, 84);
    screen.setColorAt(0, QColor(18, 12, 60));
    screen.setColorAt(0.55, QColor(120, 24, 110));
    screen.setColorAt(1, QColor(250, 120, 40));
    QPainterPath panel;
    panel.addRoundedRect(QRectF(2, 2, 243, 82), 10, 10);
    p.fillPath(panel, screen);

    // Scan lines.
    p.setPen(QColor(0, 0, 0, 40));
    for (int y = 4; y < 84; y += 3)
        p.drawLine(6, y, 241, y);

    // Joystick on the left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    p.drawRoundedRect(QRectF(14, 60, 34, 12), 4, 4);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(29, 34, 4, 28));
    p.setBrush(QColor(230, 30, 40));
    p.drawEllipse(QPointF(31, 30), 9, 9);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(28, 27), 3, 3);

    // Name with a drop shadow.
    QFont title("DejaVu Sans", 1, QFont::Black);
    title.setPixelSize(34);
    title.setItalic(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 160));
    p.drawText(QRectF(60, 10, 180, 44), Qt::AlignLeft | Qt::AlignVCenter, "ARCAVIO");
    p.setPen(QColor(255, 230, 90));
    p.drawText(QRectF(58, 8, 180, 44), Qt::AlignLeft | Qt::AlignVCenter, "ARCAVIO");

    // The big 2 and the subtitle.
    QFont two("DejaVu Sans", 1, QFont::Black);
    two.setPixelSize(26);
    p.setFont(two);
    p.setPen(QColor(90, 230, 255));
    p.drawText(QRectF(60, 48, 40, 30), Qt::AlignLeft | Qt::AlignVCenter, "2");
    QFont sub("DejaVu Sans", 1, QFont::Bold);
    sub.setPixelSize(11);
    p.setFont(sub);
    p.setPen(Qt::white);
    p.drawText(QRectF(84, 50, 160, 26), Qt::AlignLeft | Qt::AlignVCenter, "ARCADE FRONT-END");

    // Pixel stars.
    p.setBrush(Qt::white);
    for (QPointF star : {QPointF(220, 12), QPointF(236, 26), QPointF(206, 30), QPointF(52, 10)})
        p.drawRect(QRectF(star, QSizeF(2, 2)));
    p.end();
    return logo.save(QString::fromLocal8Bit(argv[1]), "JPG", 90) ? 0 : 1;
}
