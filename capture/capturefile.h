#pragma once

#include <QByteArray>

#include <cstdint>
#include <string>

class QImage;

namespace curvana {

class TCapScreen;

// Writes the bytes to a new file at the path, complete or not at all: they go to a temporary
// file in the same folder, which takes the name only when everything was written and only when
// nothing holds the name yet. Returns false when the name is taken (nothing is left behind);
// throws ECurvanaError with the system's reason when the file cannot be written.
bool WriteNewPictureFile(const QByteArray& data, const std::string& path);

// The first number at or after the job's whose file, in the job's format, does not exist yet:
// the number the next capture writes. Throws ECurvanaError when MaxCaptureProbes names in a row
// are taken.
std::int32_t FreeCaptureIndex(const TCapScreen& job);
inline constexpr int MaxCaptureProbes = 10000;

// One capture: writes the picture in the job's format to the first free name of its series
// (never over an existing file) and sets the job's number to the one after it. On any error the
// job is unchanged and no file is created. Returns the path written.
std::string CapturePicture(TCapScreen& job, const QImage& picture);

// The program's folder when captures can be written there, else the user's pictures folder
// (or the home folder where there is none).
std::string DefaultOutputDirectory(const std::string& exeDir);

} // namespace curvana
