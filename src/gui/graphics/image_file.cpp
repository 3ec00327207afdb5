#include "graphics/image_file.h"

#include <QImageWriter>
#include <QSaveFile>

namespace vortak {

namespace {

std::string reason(const QString& text, const char* fallback) {
    return text.isEmpty() ? std::string(fallback) : text.toStdString();
}

}  // namespace

std::optional<std::string> saveImageFile(const QImage& image, const std::string& path,
                                         const char* format) {
    if (image.isNull()) return std::string("The picture is empty.");
    QSaveFile file(QString::fromStdString(path));
    // Never fall back to writing over the old file in place (a folder where no temporary
    // file can be made): a failure half-way would destroy it.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        return reason(file.errorString(), "The file could not be created.");
    }
    QImageWriter writer(&file, QByteArray(format));
    if (!writer.write(image)) {
        // The device's own error (disk full) says more than the writer's generic one.
        const QString why =
            file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        file.cancelWriting();
        return reason(why, "The picture could not be written.");
    }
    if (!file.commit()) return reason(file.errorString(), "The file could not be saved.");
    return std::nullopt;
}

}  // namespace vortak
