#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <ostream>

// Qt's geometry types as gtest shows them in failure messages.
inline void PrintTo(const QPoint& p, std::ostream* out)
{
    *out << p.x() << "," << p.y();
}
inline void PrintTo(const QSize& s, std::ostream* out)
{
    *out << s.width() << "x" << s.height();
}
inline void PrintTo(const QRect& r, std::ostream* out)
{
    *out << r.width() << "x" << r.height() << "+" << r.x() << "+" << r.y();
}
