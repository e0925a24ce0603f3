#include "components/picturedecoders.h"
#include "support/error_message.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>
#include <jerror.h>
#include <jpeglib.h>

namespace arcavio {
namespace {

std::string messageOf(auto&& action)
{
    return test::errorMessageOf<PictureError>(action);
}

TEST(PictureFormat, ChosenByExtensionWithoutRegardToCase)
{
    EXPECT_EQ(pictureFormatOf("a/b.bmp"), PictureFormat::Bitmap);
    EXPECT_EQ(pictureFormatOf("logo.ICO"), PictureFormat::Icon);
    EXPECT_EQ(pictureFormatOf("x.Emf"), PictureFormat::EnhancedMetafile);
    EXPECT_EQ(pictureFormatOf("x.wmF"), PictureFormat::Metafile);
    EXPECT_EQ(pictureFormatOf("shot.JPG"), PictureFormat::Jpeg);
    EXPECT_EQ(pictureFormatOf("my.game.jpeg"), PictureFormat::Jpeg);
}

TEST(PictureFormat, UnknownExtensionNamesItAsWritten)
{
    EXPECT_EQ(messageOf([] { pictureFormatOf("/pics/title.GiF"); }), "Unknown picture file extension (.GiF)");
    EXPECT_EQ(messageOf([] { pictureFormatOf("/pics/noextension"); }), "Unknown picture file extension (.)");
    // A dot in a directory name is no extension.
    EXPECT_EQ(messageOf([] { pictureFormatOf("/pics.jpg/title"); }), "Unknown picture file extension (.)");
    EXPECT_EQ(messageOf([] { pictureFormatOf("title.jpg.png"); }), "Unknown picture file extension (.png)");
}

std::string jpegError(int code)
{
    return "JPEG error #" + std::to_string(code);
}

TEST(JpegDecoder, BadDataGivesTheDecodersMessageNumber)
{
    EXPECT_EQ(jpegError(JERR_NO_SOI), "JPEG error #53");
    EXPECT_EQ(messageOf([] { decodeJpeg("GIF89a not a jpeg at all"); }), jpegError(JERR_NO_SOI));
    EXPECT_EQ(messageOf([] { decodeJpeg(""); }), jpegError(JERR_INPUT_EMPTY));
    EXPECT_EQ(messageOf([] { decodeJpeg(std::string("\xFF\xD8", 2) + "garbage without markers"); }),
              jpegError(JERR_NO_IMAGE));
    // A frame header whose length cannot hold its own fields.
    EXPECT_EQ(messageOf([] { decodeJpeg(std::string("\xFF\xD8\xFF\xC0\x00\x02\x08\x00", 8)); }),
              jpegError(JERR_BAD_LENGTH));
    // The same file twice over is still read as one picture's header; a second SOI inside is not.
    EXPECT_EQ(messageOf([] { decodeJpeg(std::string("\xFF\xD8\xFF\xD8", 4)); }),
              jpegError(JERR_SOI_DUPLICATE));
}

TEST(JpegDecoder, RefusesAPictureTooLargeToHold)
{
    // A frame of 65000 x 65000 pixels claimed by a file of a few bytes.
    std::string bytes("\xFF\xD8"
                      "\xFF\xDB\x00\x43\x00",
                      7);
    bytes += std::string(64, '\x01');
    bytes += std::string("\xFF\xC0\x00\x0B\x08\xFD\xE8\xFD\xE8\x01\x01\x11\x00", 13);
    bytes += std::string("\xFF\xC4\x00\x14\x00\x01", 6) + std::string(15, '\0') + std::string("\x00", 1);
    bytes += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
    EXPECT_EQ(messageOf([&] { decodeJpeg(bytes); }), jpegError(JERR_IMAGE_TOO_BIG));
}

} // namespace
} // namespace arcavio
