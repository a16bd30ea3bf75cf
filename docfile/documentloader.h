#pragma once

#include "docfile/addlabeldata.h"
#include "model/memory.h"
#include "view/coordinate.h"

#include <memory>
#include <string>
#include <vector>

namespace curvana {

enum class TLoadOutcome {
    NoFile,       // nothing at the path: nothing changed, the labels included
    NotADocument, // the root is not CurvanaDocument: only the labels were removed
    Loaded,       // every child of the root was read
};

// What a document load writes into: the slide window's view, its graph list and the labels of
// the slide. The view's settings persist from load to load; the graph list is replaced only by
// a Memory element, and only once that element has been read completely; labels hold exactly
// the labels of the document last read.
struct TDocumentTargets {
    TCoordinate& View;
    std::unique_ptr<TMemory>& GraphList;
    std::vector<TAddLabelData>& Labels;
};

// What a load applied, for tools that report on documents.
struct TLoadDetails {
    // A Memory element replaced the graph list; GraphPaths then names the element of each graph
    // of the new list, in list order ("CurvanaDocument/Memory[2]/TableObj[3]").
    bool MemoryApplied = false;
    std::vector<std::string> GraphPaths;
    // Coordinate elements read completely.
    int CoordinatesRead = 0;
};

// Loads one document as the slide window does: when a file exists at the path, clears the
// labels, parses the file and, only if its root element is exactly "CurvanaDocument", reads the
// root's children in order: Memory -> a new graph list replacing the current one, Coordinate ->
// into the view, AddLabels -> its AddLabel children appended to the labels; other children are
// ignored. The first failure is thrown (EDocumentError) with everything read before it applied.
//
// When the graph list is replaced, a view that still refers to the old list is pointed at the
// new one, so it never keeps a reference to a destroyed list even when a later element fails.
TLoadOutcome LoadDocumentFile(const std::string& path, const TDocumentTargets& targets,
                              TLoadDetails* details = nullptr);

// The same for document text already in memory (no file test).
TLoadOutcome LoadDocumentText(std::string text, const TDocumentTargets& targets,
                              TLoadDetails* details = nullptr);

} // namespace curvana
