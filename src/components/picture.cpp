#include "components/picture.h"

#include "platform/filesystem.h"
#include "text/errors.h"
#include "text/inifile.h"
#include "text/paths.h"

namespace arcavio {

// Interim loader through Qt's readers; the dedicated decoders replace it.
QImage loadPicture(const std::string& path)
{
    const std::string extension = foldCase(extensionOf(path));
    if (extension != "bmp" && extension != "ico" && extension != "emf" && extension != "wmf"
        && extension != "jpg" && extension != "jpeg")
        throw PictureError::unknownExtension(extensionOf(path));
    if (!platform::fileExists(path))
        throw FileOpenError(path);
    QImage image(QString::fromStdString(path));
    if (image.isNull())
        throw PictureError::invalidBitmap();
    return image;
}

QString pictureDialogFilter()
{
    return QStringLiteral("All (*.jpg *.jpeg *.bmp *.ico *.emf *.wmf);;JPEG Image File (*.jpg *.jpeg);;"
                          "Bitmaps (*.bmp);;Icons (*.ico);;Enhanced Metafiles (*.emf);;Metafiles (*.wmf)");
}

} // namespace arcavio
