#include "text/errors.h"

#include "text/boundedtext.h"

namespace arcavio {

ListIndexError::ListIndexError(long long index)
    : Error("List index out of bounds (" + std::to_string(index) + ")"), index_(index)
{
}

ConvertError ConvertError::invalidInteger(std::string_view text)
{
    return ConvertError("'" + boundedText(text, kQuotedValueLimit) + "' is not a valid integer value");
}

FileOpenError::FileOpenError(std::string_view path) : Error("Cannot open file " + std::string(path)) {}

FileCreateError::FileCreateError(std::string_view path) : Error("Cannot create file " + std::string(path)) {}

FileBusyError::FileBusyError(std::string_view path)
    : Error("The file " + std::string(path) +
            " is being changed by another program; nothing was written. Try again when it has finished")
{
}

PictureError PictureError::unknownExtension(std::string_view extension)
{
    return PictureError("Unknown picture file extension (." + boundedText(extension, kQuotedValueLimit) +
                        ")");
}

PictureError PictureError::invalidBitmap()
{
    return PictureError("Bitmap image is not valid");
}

PictureError PictureError::jpeg(int messageNumber)
{
    return PictureError("JPEG error #" + std::to_string(messageNumber));
}

std::string errorBoxText(std::string_view message)
{
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

} // namespace arcavio
