#pragma once

#include <QByteArray>

#include <string>

class QImage;

namespace curvana {

class TCapScreen;

// Writes the bytes to the path so that the file is either complete or not there: they go to a
// temporary file in the same folder, which replaces the file (an existing one is overwritten)
// only when everything was written. Throws ECurvanaError with the system's reason.
void WritePictureFile(const QByteArray& data, const std::string& path);

// One capture: writes the picture to the job's current path in its format and advances the
// job's number. On any error the job is unchanged and no file of that name is created.
// Returns the path written.
std::string CapturePicture(TCapScreen& job, const QImage& picture);

// The program's folder when captures can be written there, else the user's pictures folder
// (or the home folder where there is none).
std::string DefaultOutputDirectory(const std::string& exeDir);

} // namespace curvana
