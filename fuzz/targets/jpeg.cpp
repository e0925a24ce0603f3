// JPEG pictures, through libjpeg.
#include "pictures.h"

ARCAVIO_FUZZ_TARGET
{
    arcavio::fuzz::decodeAsPreview(input, arcavio::PictureFormat::Jpeg);
}
