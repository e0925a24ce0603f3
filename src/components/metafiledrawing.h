#pragma once

#include <string>

#include <QImage>

namespace arcavio {

// An SVG document drawn at its own size, scaled down to at most kLargestMetafileSide on a
// side, on a transparent premultiplied ARGB picture. Needs a QGuiApplication. Throws
// invalidMetafileError() for a document that cannot be drawn.
QImage drawSvg(const std::string& svg);

} // namespace arcavio
