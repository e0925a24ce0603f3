#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/errors.h"

// The picture formats and the library decoders behind them, without any user-interface type:
// the windows turn these results into images.
namespace arcavio {

enum class PictureFormat { Bitmap, Icon, EnhancedMetafile, Metafile, Jpeg };

// Chosen by the file's extension without regard to case: bmp, ico, emf, wmf, jpg, jpeg.
// Throws PictureError "Unknown picture file extension (.%s)" with the extension as written.
PictureFormat pictureFormatOf(std::string_view path);

PictureError invalidIconError();     // "Icon image is not valid"
PictureError invalidMetafileError(); // "Metafile is not valid"

// 8-bit RGB rows, three bytes a pixel, no padding between rows.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

// Throws PictureError "JPEG error #%d" with the decoder's message number. A file that ends
// early is not an error: the decoder returns what it has.
RgbPicture decodeJpeg(std::string_view bytes);

} // namespace arcavio
