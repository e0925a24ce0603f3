#include "components/picture.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/readlimits.h"
#include "support/error_message.h"
#include "support/temp_dir.h"
#include "text/errors.h"

namespace arcavio {
namespace {

using test::TempDir;

std::string loadError(const std::string& path)
{
    return test::errorMessageOf<Error>([&] { loadPicture(path); });
}

std::string bitmap()
{
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "bmp");
    return bytes.toStdString();
}

TEST(PictureRead, StopsAtSixtyFourMebibytes)
{
    TempDir dir;
    const std::string under = dir.writeSized("under.bmp", bitmap(), platform::kPictureFileLimit);
    EXPECT_EQ(loadPicture(under).size(), QSize(8, 4));
    const std::string over = dir.writeSized("over.bmp", bitmap(), platform::kPictureFileLimit + 1);
    EXPECT_EQ(loadError(over), "Cannot open file " + over);
}

TEST(PictureRead, APipeOrADeviceIsNeverRead)
{
    TempDir dir;
    alarm(20);
    const std::string pipe = dir.mkfifo("picture.bmp");
    EXPECT_EQ(loadError(pipe), "Cannot open file " + pipe);
    const std::string zero = dir.file("zero.jpg");
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    EXPECT_EQ(loadError(zero), "Cannot open file " + zero);
    alarm(0);
}

} // namespace
} // namespace arcavio
