#include "view/cutgraphs.h"

#include "view/graphcaption.h"

namespace curvana {

namespace {

constexpr std::size_t NamedGraphs = 3;
constexpr std::size_t CaptionLength = 40;

std::string Caption(const TMemory& graphs, int index) {
    if (const TTableObj* table = graphs.Table(index))
        return GraphCaption(*table);
    if (const TFunctionObj* function = graphs.Function(index))
        return GraphCaption(*function);
    return {};
}

} // namespace

std::string GraphName(const TMemory& graphs, int index) {
    std::string caption = Caption(graphs, index);
    if (caption.size() > CaptionLength) {
        std::size_t cut = CaptionLength;
        while (cut > 0 && (static_cast<unsigned char>(caption[cut]) & 0xC0) == 0x80)
            --cut; // not inside a UTF-8 character
        caption.resize(cut);
        caption += "...";
    }
    return "graph " + std::to_string(index + 1) + " \"" + caption + "\"";
}

std::string CutGraphsMessage(const TMemory& graphs, const TCoordinate& view) {
    std::vector<std::string> parts = view.CutMarks;
    parts.insert(parts.end(), view.CutTexts.begin(), view.CutTexts.end());
    const std::vector<int>& cut = view.CutGraphs;
    std::string message = "not drawn in full (too much to draw for one picture): ";
    for (std::size_t i = 0; i < parts.size(); ++i)
        message += (i > 0 ? ", " : "") + parts[i];
    for (std::size_t i = 0; i < cut.size() && i < NamedGraphs; ++i)
        message += (i > 0 || !parts.empty() ? ", " : "") + GraphName(graphs, cut[i]);
    if (cut.size() > NamedGraphs)
        message += " and " + std::to_string(cut.size() - NamedGraphs) + " more";
    return message;
}

} // namespace curvana
