#pragma once

#include "view/coordinate.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace curvana {

// One line of the report of `curvana --check`.
struct TCheckFinding {
    enum class TSeverity { Info, Note, Error };
    TSeverity Severity = TSeverity::Error;
    std::string File;
    int Line = 0;   // 0 where unknown
    int Column = 0; // 0 where unknown or not told
    std::string Message;
};

// Checks one file as the slide window would read it: tells a document from a slide show by the
// first line, reads every document (every slide of a show, one view and one graph list
// persisting from slide to slide) and reports XML and reader errors, graphs whose expression
// does not compile or raises, graphs that cannot draw anything, hidden graphs (as notes) and
// settings of the view that leave nothing to draw, and graphs that a drawing limit would cut
// (each slide drawn whole at 1920 x 1080). The first finding says what the file is.
// `limits` are the drawing limits the slides are drawn with (tests make them small).
std::vector<TCheckFinding> CheckFile(const std::string& path, const TDrawLimits& limits = {});

// `curvana --check FILE...`: arguments are those after --check. Writes the findings, one per
// line ("file:line:column: error: message", "file:line: error: message", "file: note: message";
// control characters of a message written as escapes), and a summary per file to out;
// usage errors to err. Exit code: 0 when no file has errors, 1 when one has, 2 for a usage error.
int RunCheckCommand(const std::vector<std::string>& arguments, std::ostream& out,
                    std::ostream& err);

// The text --help shows for --check.
const char* CheckCommandHelp();

} // namespace curvana
