#pragma once

#include <QImage>
#include <QRegion>

namespace arcavio {

// The picture's rectangle less every pixel of its top-left pixel's colour, built in one pass.
QRegion keyedRegion(const QImage& picture);

// The same shape, one region subtraction per key-coloured pixel. Slow by nature: kept to check
// keyedRegion against and to measure it by.
QRegion keyedRegionPerPixel(const QImage& picture);

} // namespace arcavio
