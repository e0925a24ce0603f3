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

namespace {

std::string_view reasonText(WriteFailure reason)
{
    switch (reason) {
    case WriteFailure::NoSpace:
        return "no space left on the device";
    case WriteFailure::QuotaExceeded:
        return "the disk quota is used up";
    case WriteFailure::ReadOnly:
        return "the device is read-only";
    case WriteFailure::NameTooLong:
        return "the name is too long";
    case WriteFailure::TooLarge:
        return "the file would be larger than the system allows";
    case WriteFailure::DeviceError:
        return "the device reported an input/output error";
    case WriteFailure::Unknown:
        break;
    }
    return {};
}

std::string createMessage(std::string_view path, WriteFailure reason)
{
    std::string message = "Cannot create file " + std::string(path);
    if (const std::string_view why = reasonText(reason); !why.empty())
        message.append(": ").append(why);
    return message;
}

} // namespace

FileCreateError::FileCreateError(std::string_view path, WriteFailure reason)
    : Error(createMessage(path, reason)), reason_(reason)
{
}

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
