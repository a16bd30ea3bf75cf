#pragma once

#include "app/tempslidefolder.h"
#include "common/errors.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
class xml_node;
}

namespace curvana {

// What a file holds, told by the start of its first line alone (never by its extension).
enum class TFileKind { Neither, Document, SlideShow };

// Why a file could not be examined. A missing file is passed over silently by the launcher;
// an unreadable one is reported.
enum class TFileProblem { None, Missing, Unreadable };

struct TFileKindResult {
    TFileKind Kind = TFileKind::Neither;
    TFileProblem Problem = TFileProblem::None;
    std::string Reason; // empty unless Problem is set
};

inline constexpr std::string_view DocumentTag = "<CurvanaDocument>";
inline constexpr std::string_view SlideShowTag = "<CurvanaSlides>";

// The kind of a file whose first line is given: the tag must stand at its very first character,
// case-sensitive; anything may follow it.
TFileKind FileKindOfFirstLine(std::string_view firstLine);

// Reads the first line of the file (up to CR, LF, Ctrl-Z or the end) and tells its kind. A
// missing path or a folder is Missing; a file that cannot be opened or read, or that is not a
// regular file (a pipe would block), is Unreadable. Both give Neither.
TFileKindResult ReadFileKind(const std::string& path);

// Loading a slide show or writing one of its slides failed.
class ESlideShowError : public ECurvanaError {
public:
    using ECurvanaError::ECurvanaError;
};

// "~TempSlide<N>.xml", N in decimal without leading zeros.
std::string TempSlideFileName(std::size_t number);

// Writes every CurvanaDocument child of the slide show's root element, in order, to
// folder/~TempSlide<N>.xml (N from 1) and returns their paths in slide order. The root's name,
// its other children and all attributes are ignored. Throws ESlideShowError; files written
// before a failure stay in the folder, whose owner removes them.
std::vector<std::string> SplitSlideShow(const std::string& path, const std::string& folder);

// A slide show split for one show: the run's private folder and the slide paths inside it, in
// slide order. Destroying it removes the folder with the files.
struct TSlideShowSplit {
    TTempSlideFolder Folder;
    std::vector<std::string> Slides;
};

// Creates a private folder under root (TempSlideRoot() by default) and splits the slide show
// into it. On failure the folder is removed before the ESlideShowError (or the ECurvanaError of
// the folder's creation) leaves.
TSlideShowSplit SplitSlideShowToTempFolder(const std::string& path);
TSlideShowSplit SplitSlideShowToTempFolder(const std::string& path, const std::string& root);

// Appends to target a copy of source's children, level by level: elements by name, text and
// character data as they are. Attributes, comments and processing instructions are not copied,
// so the copy reads back with the same element tree and texts. Works with an explicit stack, so
// depth costs no call stack. Returns the number of levels copied below target (0 when nothing
// was copied).
std::size_t CopyChildren(const pugi::xml_node& source, pugi::xml_node& target);

} // namespace curvana
