#include "docfile/documentloader.h"

#include "docfile/cvxml.h"
#include "docfile/documenterror.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace curvana {

namespace {

TLoadOutcome ReadRoot(const TCVXML& reader, const TDocumentTargets& targets) {
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
        } else if (std::strcmp(child.name(), "Coordinate") == 0) {
            reader.ReadCoordinate(child, targets.View);
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

TLoadOutcome LoadDocumentFile(const std::string& path, const TDocumentTargets& targets) {
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
    return ReadRoot(reader, targets);
}

TLoadOutcome LoadDocumentText(std::string text, const TDocumentTargets& targets) {
    targets.Labels.clear();
    TCVXML reader;
    reader.LoadFromText(std::move(text));
    return ReadRoot(reader, targets);
}

} // namespace curvana
