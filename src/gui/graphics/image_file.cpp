#include "graphics/image_file.h"

#include <QBuffer>
#include <QImageWriter>

#include <string_view>

#include "base/file_writer.h"

namespace vortak {

std::optional<std::string> saveImageFile(const QImage& image, const std::string& path,
                                         const char* format, bool flush) {
    if (image.isNull()) return std::string("The picture is empty.");
    // The picture is encoded in memory first, so that the file itself is written by the
    // program's one file writer: atomically, through links, never over a device.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArray(format));
    if (!writer.write(image)) {
        const QString why = writer.errorString();
        return why.isEmpty() ? std::string("The picture could not be encoded.") : why.toStdString();
    }
    return writeFileAtomically(path, std::string_view(bytes.constData(), std::size_t(bytes.size())),
                               flush);
}

}  // namespace vortak
