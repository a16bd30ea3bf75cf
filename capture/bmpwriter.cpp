#include "capture/bmpwriter.h"

#include "common/errors.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace curvana {

QByteArray EncodeBmp(const QImage& picture) {
    if (picture.isNull())
        throw ECurvanaError("There is no picture to save.");
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    // Alpha is meaningless for the view's picture; an opaque format keeps the file 24-bit.
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB32)))
        throw ECurvanaError(writer.errorString().toStdString());
    return data;
}

} // namespace curvana
