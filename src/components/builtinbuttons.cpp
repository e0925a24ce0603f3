#include "components/builtinbuttons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace arcavio {

namespace {

void sheet(QPainter& painter, int left, int top, int right, int bottom)
{
    const int fold = 4;
    const QPolygon outline({QPoint(left, top), QPoint(right - fold, top), QPoint(right, top + fold),
                            QPoint(right, bottom), QPoint(left, bottom)});
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::white);
    painter.drawPolygon(outline);
    painter.drawPolyline(
        QPolygon({QPoint(right - fold, top), QPoint(right - fold, top + fold), QPoint(right, top + fold)}));
}

void triangle(QPainter& painter, int left, int top, int bottom, int tip)
{
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygon({QPoint(left, top), QPoint(left, bottom), QPoint(tip, (top + bottom) / 2)}));
}

void drawSymbol(QPainter& painter, ButtonSymbol symbol)
{
    switch (symbol) {
    case ButtonSymbol::Run:
        triangle(painter, 10, 2, 20, 21);
        break;
    case ButtonSymbol::Edit:
        sheet(painter, 4, 2, 18, 20);
        painter.setPen(QPen(Qt::black, 1));
        for (int y = 8; y <= 16; y += 3)
            painter.drawLine(7, y, 14, y);
        painter.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(27, 3, 16, 14);
        painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(27, 3, 16, 14);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::black);
        painter.drawPolygon(QPolygon({QPoint(14, 13), QPoint(17, 16), QPoint(12, 18)}));
        break;
    case ButtonSymbol::Exclude:
        sheet(painter, 8, 2, 22, 20);
        painter.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(6, 4, 24, 18);
        painter.drawLine(24, 4, 6, 18);
        painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(6, 4, 24, 18);
        painter.drawLine(24, 4, 6, 18);
        break;
    case ButtonSymbol::New:
        sheet(painter, 7, 2, 21, 20);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawRect(18, 11, 11, 11);
        painter.setBrush(Qt::black);
        painter.drawRect(19, 15, 9, 3);
        painter.drawRect(22, 12, 3, 9);
        break;
    case ButtonSymbol::Refresh: {
        painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::FlatCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRect(8, 4, 15, 15), 100 * 16, 290 * 16);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::black);
        painter.drawPolygon(QPolygon({QPoint(11, 1), QPoint(18, 5), QPoint(11, 9)}));
        break;
    }
    case ButtonSymbol::Kwikstart:
        sheet(painter, 6, 2, 24, 20);
        triangle(painter, 11, 7, 16, 19);
        break;
    }
}

QImage twoColours()
{
    QImage image(kBuiltinButtonWidth, kBuiltinButtonHeight, QImage::Format_Mono);
    image.setColorCount(2);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    return image;
}

} // namespace

QImage builtinButtonPicture(ButtonSymbol symbol, ButtonState state)
{
    // Drawn without antialiasing, then cut to pure black and white, so that a crop takes
    // exactly the white away.
    QImage canvas(kBuiltinButtonWidth, kBuiltinButtonHeight, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        drawSymbol(painter, symbol);
    }
    QImage picture = twoColours();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool black = qGray(canvas.pixel(x, y)) < 128;
            const bool shown = state == ButtonState::PointerOver ? (x + y) % 2 == 0 : true;
            if (black && shown)
                picture.setPixel(x, y, 1);
        }
    return picture;
}

} // namespace arcavio
