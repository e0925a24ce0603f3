#include "components/picture.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "support/error_message.h"
#include "support/metafile_samples.h"
#include "support/temp_dir.h"
#include "text/errors.h"

namespace arcavio {
namespace {

using test::TempDir;

// 40 x 30: red left half, blue right half.
QImage sampleImage()
{
    QImage image(40, 30, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, 20, 30, Qt::red);
    painter.fillRect(20, 0, 20, 30, Qt::blue);
    return image;
}

std::string encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, quality));
    return bytes.toStdString();
}

std::string loadError(const std::string& path)
{
    return test::errorMessageOf<Error>([&] { loadPicture(path); });
}

bool near(QColor actual, QColor expected, int tolerance = 40)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

void expectSample(const QImage& image)
{
    ASSERT_EQ(image.size(), QSize(40, 30));
    EXPECT_TRUE(near(image.pixelColor(5, 15), Qt::red)) << image.pixelColor(5, 15).name().toStdString();
    EXPECT_TRUE(near(image.pixelColor(35, 15), Qt::blue)) << image.pixelColor(35, 15).name().toStdString();
}

TEST(LoadPicture, ReadsEveryRasterFormatWhateverTheCaseOfItsExtension)
{
    TempDir dir;
    const QImage sample = sampleImage();
    expectSample(loadPicture(dir.write("a.bmp", encoded(sample, "BMP"))));
    expectSample(loadPicture(dir.write("b.BMP", encoded(sample, "BMP"))));
    expectSample(loadPicture(dir.write("c.ico", encoded(sample, "ICO"))));
    expectSample(loadPicture(dir.write("d.jpg", encoded(sample, "JPG", 95))));
    expectSample(loadPicture(dir.write("e.JPeG", encoded(sample, "JPG", 95))));
}

TEST(LoadPicture, DrawsMetafilesAtTheirOwnSize)
{
    TempDir dir;
    for (const std::string& path : {dir.write("a.emf", test::enhancedMetafileSample(0x00FF0000)),
                                    dir.write("b.WMF", test::metafileSample(0x00FF0000))}) {
        SCOPED_TRACE(path);
        const QImage image = loadPicture(path);
        EXPECT_NEAR(image.width(), 100, 2);
        EXPECT_NEAR(image.height(), 50, 2);
        EXPECT_TRUE(near(image.pixelColor(50, 25), Qt::blue))
            << image.pixelColor(50, 25).name().toStdString();
    }
}

TEST(LoadPicture, TheExtensionDecidesBeforeTheFileIsOpened)
{
    TempDir dir;
    EXPECT_EQ(loadError(dir.file("missing.Gif")), "Unknown picture file extension (.Gif)");
    EXPECT_EQ(loadError(dir.write("real.png", encoded(sampleImage(), "PNG"))),
              "Unknown picture file extension (.png)");
    const std::string missing = dir.file("missing.jpg");
    EXPECT_EQ(loadError(missing), "Cannot open file " + missing);
    // A directory where the picture should be cannot be opened either.
    const std::string folder = dir.mkdir("folder.bmp");
    EXPECT_EQ(loadError(folder), "Cannot open file " + folder);
}

TEST(LoadPicture, ContentThatDoesNotMatchItsExtensionIsRefused)
{
    TempDir dir;
    const std::string jpeg = encoded(sampleImage(), "JPG");
    EXPECT_EQ(loadError(dir.write("bad.bmp", "BM this is no bitmap")), "Bitmap image is not valid");
    EXPECT_EQ(loadError(dir.write("jpeg.bmp", jpeg)), "Bitmap image is not valid");
    EXPECT_EQ(loadError(dir.write("empty.bmp", "")), "Bitmap image is not valid");
    EXPECT_EQ(loadError(dir.write("bad.ico", "not an icon")), "Icon image is not valid");
    EXPECT_EQ(loadError(dir.write("png.jpg", encoded(sampleImage(), "PNG"))), "JPEG error #53");
    EXPECT_EQ(loadError(dir.write("bad.emf", "not a metafile")), "Metafile is not valid");
    EXPECT_EQ(loadError(dir.write("bad.wmf", "not a metafile")), "Metafile is not valid");
}

TEST(LoadPicture, ATruncatedJpegShowsWhatItHas)
{
    TempDir dir;
    const std::string jpeg = encoded(sampleImage(), "JPG", 95);
    const std::size_t scan = jpeg.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    // Without its end marker, and cut a few bytes into the picture data.
    for (std::size_t keep : {jpeg.size() - 2, scan + 20}) {
        const QImage image = loadPicture(dir.write("cut.jpg", jpeg.substr(0, keep)));
        EXPECT_EQ(image.size(), QSize(40, 30));
    }
    expectSample(loadPicture(dir.write("noend.jpg", jpeg.substr(0, jpeg.size() - 2))));
}

TEST(LoadPicture, DialogFilterOffersEveryFormat)
{
    const QString filter = pictureDialogFilter();
    for (const char* pattern : {"*.jpg", "*.jpeg", "*.bmp", "*.ico", "*.emf", "*.wmf"})
        EXPECT_TRUE(filter.contains(QLatin1String(pattern))) << pattern;
}

} // namespace
} // namespace arcavio
