#include "capture/capturefile.h"

#include "capture/bmpwriter.h"
#include "capture/capscreen.h"
#include "capture/emfwriter.h"
#include "common/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace curvana {

namespace {

[[noreturn]] void CannotCreate(std::string path, const QString& reason) {
    // A null character would cut the message short.
    for (std::size_t at = path.find('\0'); at != std::string::npos; at = path.find('\0', at))
        path.replace(at, 1, "\\0");
    throw ECurvanaError("Cannot create file \"" + path + "\". " + reason.toStdString());
}

// Anything holding the name counts, a link to nowhere too.
bool NameTaken(const std::string& path) {
    const QFileInfo entry(QString::fromStdString(path));
    return entry.exists() || entry.isSymLink();
}

// Wraps at the end of the range instead of overflowing.
std::int32_t NextIndex(std::int32_t index) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(index) + 1u);
}

} // namespace

bool WriteNewPictureFile(const QByteArray& data, const std::string& path) {
    const QString target = QString::fromStdString(path);
    const QString folder = QFileInfo(target).absolutePath();
    // A new file of our own beside the target, made with the user's usual permissions.
    QFile file;
    for (int attempt = 0;; ++attempt) {
        file.setFileName(folder + QStringLiteral("/.capture-") +
                         QString::number(QRandomGenerator::global()->generate64(), 36));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        if (!file.exists() || attempt >= 100)
            CannotCreate(path, file.errorString());
    }
    const auto fail = [&](const QString& reason) {
        file.close();
        file.remove();
        CannotCreate(path, reason);
    };
    // A full disk shows in the write; what is kept must be on the disk before it takes the name.
    if (file.write(data) != data.size())
        fail(file.errorString());
    if (::fsync(file.handle()) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    file.close();
    // Renaming never replaces an existing file.
    if (file.rename(target))
        return true;
    const QString reason = file.errorString();
    file.remove();
    if (NameTaken(path))
        return false;
    CannotCreate(path, reason);
}

std::int32_t FreeCaptureIndex(const TCapScreen& job) {
    TCapScreen probe = job;
    for (int tried = 0; tried < MaxCaptureProbes; ++tried) {
        if (!NameTaken(probe.CurrentPath()))
            return probe.CurrentIndex;
        probe.CurrentIndex = NextIndex(probe.CurrentIndex);
    }
    throw ECurvanaError("No free file name: the " + std::to_string(MaxCaptureProbes) +
                        " names from \"" + job.CurrentPath() +
                        "\" on are all taken. Choose another prefix or start number.");
}

std::string CapturePicture(TCapScreen& job, const QImage& picture) {
    if (const std::string problem = PrefixProblem(job.FileNamePrefix); !problem.empty())
        CannotCreate(job.CurrentPath(), QString::fromStdString(problem));
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
    TCapScreen target = job;
    for (int tried = 0; tried < MaxCaptureProbes; ++tried) {
        target.CurrentIndex = FreeCaptureIndex(target);
        const std::string path = target.CurrentPath();
        if (WriteNewPictureFile(data, path)) {
            job.CurrentIndex = NextIndex(target.CurrentIndex);
            return path;
        }
        // Someone took the name since the look: on to the next free one.
    }
    throw ECurvanaError("No free file name from \"" + job.CurrentPath() + "\" on.");
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
