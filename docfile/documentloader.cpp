#include "docfile/documentloader.h"

#include "docfile/cvxml.h"
#include "docfile/documenterror.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace curvana {

namespace {

// Paths in one pass over the list (indexes counted, not searched), so a list of thousands of
// graphs costs no more than reading it.
void ListGraphPaths(pugi::xml_node memory, std::vector<std::string>& paths) {
    const auto isGraph = [](pugi::xml_node node, const char* name) {
        return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
    };
    int functions = 0;
    int tables = 0;
    for (pugi::xml_node graph : memory.children()) {
        functions += isGraph(graph, "FunctionObj") ? 1 : 0;
        tables += isGraph(graph, "TableObj") ? 1 : 0;
    }
    const std::string base = ElementPath(memory) + "/";
    const auto path = [&base](const char* name, int index, int count) {
        std::string result = base + name;
        if (count > 1) {
            result += '[';
            result += std::to_string(index);
            result += ']';
        }
        return result;
    };
    int function = 0;
    int table = 0;
    paths.clear();
    for (pugi::xml_node graph : memory.children()) {
        if (isGraph(graph, "FunctionObj")) {
            ++function;
            paths.push_back(path("FunctionObj", function, functions));
        } else if (isGraph(graph, "TableObj")) {
            ++table;
            paths.push_back(path("TableObj", table, tables));
        }
    }
}

TLoadOutcome ReadRoot(const TCVXML& reader, const TDocumentTargets& targets,
                      TLoadDetails* details) {
    const pugi::xml_node root = reader.DocumentElement();
    if (std::strcmp(root.name(), "CurvanaDocument") != 0) {
        return TLoadOutcome::NotADocument;
    }
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) {
            continue;
        }
        if (std::strcmp(child.name(), "Memory") == 0) {
            std::unique_ptr<TMemory> list = reader.ReadMemory(child);
            if (targets.View.GraphList == targets.GraphList.get()) {
                targets.View.GraphList = list.get();
            }
            targets.GraphList = std::move(list);
            if (details != nullptr) {
                details->MemoryApplied = true;
                ListGraphPaths(child, details->GraphPaths);
            }
        } else if (std::strcmp(child.name(), "Coordinate") == 0) {
            reader.ReadCoordinate(child, targets.View);
            if (details != nullptr) {
                ++details->CoordinatesRead;
            }
        } else if (std::strcmp(child.name(), "AddLabels") == 0) {
            for (pugi::xml_node label = child.child("AddLabel"); label;
                 label = label.next_sibling("AddLabel")) {
                targets.Labels.push_back(reader.ReadAddLabel(label));
            }
        }
    }
    return TLoadOutcome::Loaded;
}

} // namespace

TLoadOutcome LoadDocumentFile(const std::string& path, const TDocumentTargets& targets,
                              TLoadDetails* details) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status)) {
        return TLoadOutcome::NoFile;
    }
    targets.Labels.clear();
    // A pipe or device would block or never end; only plain files are read.
    if (!std::filesystem::is_regular_file(status)) {
        throw EDocumentError(EDocumentError::TKind::File, "Cannot open file \"" + path + "\"", "",
                             0);
    }
    TCVXML reader;
    reader.LoadFromFile(path);
    return ReadRoot(reader, targets, details);
}

TLoadOutcome LoadDocumentText(std::string text, const TDocumentTargets& targets,
                              TLoadDetails* details) {
    targets.Labels.clear();
    TCVXML reader;
    reader.LoadFromText(std::move(text));
    return ReadRoot(reader, targets, details);
}

} // namespace curvana
