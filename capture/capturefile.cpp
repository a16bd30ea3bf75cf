#include "capture/capturefile.h"

#include "capture/bmpwriter.h"
#include "capture/capscreen.h"
#include "capture/emfwriter.h"
#include "common/errors.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QStandardPaths>

#include <cstdint>

namespace curvana {

namespace {

[[noreturn]] void CannotCreate(std::string path, const QString& reason) {
    // A null character would cut the message short.
    for (std::size_t at = path.find('\0'); at != std::string::npos; at = path.find('\0', at))
        path.replace(at, 1, "\\0");
    throw ECurvanaError("Cannot create file \"" + path + "\". " + reason.toStdString());
}

} // namespace

void WritePictureFile(const QByteArray& data, const std::string& path) {
    QSaveFile file(QString::fromStdString(path));
    // Unbuffered: a buffered write fails only in the flush at commit, and that failure does not
    // stop the commit from putting the cut-off file in place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        CannotCreate(path, file.errorString());
    if (file.write(data) != data.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        CannotCreate(path, reason);
    }
    // Commit flushes, syncs and renames; on failure the temporary file is removed.
    if (!file.commit())
        CannotCreate(path, file.errorString());
}

std::string CapturePicture(TCapScreen& job, const QImage& picture) {
    const std::string path = job.CurrentPath();
    const std::string name = job.CurrentFileName() + job.Extension();
    // Only the prefix can bring a separator in; it must not send the file to another folder.
    for (const char bad : {'/', '\0'})
        if (name.find(bad) != std::string::npos)
            CannotCreate(path, bad == '/'
                                   ? QStringLiteral("A file name cannot hold \"/\".")
                                   : QStringLiteral("A file name cannot hold a null character."));
    QByteArray data;
    switch (job.PictureFormat) {
    case 0:
        data = EncodeBmp(picture);
        break;
    case 1:
        data = EncodeEmf(picture);
        break;
    default:
        throw ECurvanaError("Unknown picture format " + std::to_string(job.PictureFormat) + ".");
    }
    WritePictureFile(data, path);
    // Wraps at the end of the range instead of overflowing.
    job.CurrentIndex = static_cast<std::int32_t>(static_cast<std::uint32_t>(job.CurrentIndex) + 1u);
    return path;
}

std::string DefaultOutputDirectory(const std::string& exeDir) {
    const QFileInfo program(QString::fromStdString(exeDir));
    if (program.isDir() && program.isWritable())
        return exeDir;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures.toStdString();
    return QDir::homePath().toStdString();
}

} // namespace curvana
