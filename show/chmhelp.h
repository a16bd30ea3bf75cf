#pragma once

#include <QString>

class QWidget;

namespace curvana {

// The help collection that both the launcher and the slide window open.
inline constexpr const char* HelpFileName = "CVShowHelp.qhc";

// Opens the program's help book in a help window. Callers create one, make one call and drop it.
class TCHMHelp {
public:
    // Shows the help collection fileName at topic (a page such as "about.htm"; empty for the
    // default page) in a help window owned by owner. When relativeToProgram is true the file is
    // looked up beside the program, then in the installed program's data folder. A second call
    // for the same owner and file reuses the open window. A missing or unreadable file, or one
    // without documentation, shows nothing. Returns the window shown, or nullptr.
    QWidget* ShowHelp(QWidget* owner, const QString& fileName, bool relativeToProgram,
                      const QString& topic);

    // Where fileName is looked for: programDir/fileName when that exists, else
    // programDir/<installed data folder>/fileName when that exists, else programDir/fileName.
    static QString HelpFilePath(const QString& programDir, const QString& fileName);
};

} // namespace curvana
