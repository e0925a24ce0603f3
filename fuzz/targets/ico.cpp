// Icons, through Qt's reader.
#include "pictures.h"

ARCAVIO_FUZZ_TARGET
{
    arcavio::fuzz::decodeAsPreview(input, arcavio::PictureFormat::Icon);
}
