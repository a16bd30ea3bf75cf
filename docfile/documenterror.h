#pragma once

#include "common/errors.h"

#include <string>
#include <utility>

namespace curvana {

// A failure while loading or reading a document. what() is exactly the text shown to the user
// (the parser's message, "Element does not contain a single text node", "'x' is not a valid
// integer value", ...); the other fields say where it happened, for `curvana --check`.
class EDocumentError : public ECurvanaError {
public:
    enum class TKind {
        Syntax,     // the file is not well-formed XML
        NotText,    // a leaf holds elements or several text pieces
        Conversion, // a number that does not convert
        Overflow,   // a real beyond the double range
        File,       // the file cannot be read
    };

    EDocumentError(TKind kind, const std::string& message, std::string elementPath, int line,
                   int column = 0)
        : ECurvanaError(message), Kind(kind), ElementPath(std::move(elementPath)), Line(line),
          Column(column) {}

    TKind Kind;
    // Slash-separated names from the root, e.g. "CurvanaDocument/Memory/FunctionObj[2]/Exp";
    // empty for syntax and file errors.
    std::string ElementPath;
    // 1-based; 0 where unknown.
    int Line;
    int Column;
    // Syntax errors: the parser's reason alone, without the place that what() begins with.
    std::string Reason;
};

} // namespace curvana
