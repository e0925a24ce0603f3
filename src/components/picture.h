#pragma once

#include <string>

#include <QImage>

#include "components/picturedecoders.h"

namespace arcavio {

// Loads a picture file for a picture box. The format is chosen by the extension ("bmp", "ico",
// "emf", "wmf", "jpg", "jpeg", without regard to case) before the file is opened. Throws
// PictureError ("Unknown picture file extension (.%s)", "Bitmap image is not valid", "Icon image
// is not valid", "Metafile is not valid", "JPEG error #%d") or FileOpenError. Metafiles are
// drawn on a transparent image of their own size (at most 4096 pixels on a side).
QImage loadPicture(const std::string& path);

// The same decoders for a picture already in memory (a picture built into the program).
QImage decodePicture(const std::string& bytes, PictureFormat format);

// The name filter for picture open dialogs: the formats loadPicture understands.
QString pictureDialogFilter();

} // namespace arcavio
