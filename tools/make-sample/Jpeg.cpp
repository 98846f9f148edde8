#include "make-sample/Jpeg.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <stdexcept>

namespace orv {

std::string encodeJpeg(const Raster& picture, int quality) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const Rgb& p = picture.at(x, y);
            image.setPixel(x, y, qRgb(p.r, p.g, p.b));
        }
    // Fixed density, so the JFIF header does not depend on the screen.
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(image))
        throw std::runtime_error("cannot write a JPEG picture: " + writer.errorString().toStdString());
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace orv
