// The first-line test and the splitting of a slide show, on a file written into a private
// folder that is removed again after every input. Every slide written must read back as a
// document whose root is CurvanaDocument (an empty slide is written as "<CurvanaDocument />",
// so its first line alone does not tell).

#include "app/slideshowfile.h"
#include "common/errors.h"

#include <pugixml.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

using namespace curvana;

namespace {

// One folder for the whole run, made on first use and removed when the process ends.
class TPrivateFolder {
public:
    TPrivateFolder() {
        Path = (std::filesystem::temp_directory_path() / "curvana-fuzz-XXXXXX").string();
        if (::mkdtemp(Path.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
    }
    ~TPrivateFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    std::string Path;
};

const std::string& PrivateFolder() {
    static const TPrivateFolder folder;
    return folder.Path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = PrivateFolder() + "/input.sld";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    } else {
        std::abort();
    }

    const TFileKindResult kind = ReadFileKind(path);
    if (kind.Problem != TFileProblem::None)
        std::abort(); // a plain file that was just written must be readable
    if (kind.Kind == TFileKind::SlideShow) {
        try {
            TSlideShowSplit split = SplitSlideShowToTempFolder(path, PrivateFolder());
            for (const std::string& slide : split.Slides) {
                pugi::xml_document document;
                if (!document.load_file(slide.c_str()) ||
                    std::string_view(document.document_element().name()) != "CurvanaDocument") {
                    std::fprintf(stderr, "slide %s does not read back as a document\n",
                                 slide.c_str());
                    std::abort();
                }
            }
        } catch (const ECurvanaError&) {
            // A malformed slide show is refused with a message.
        }
        // The split's folder is gone once the split is destroyed, also after a failure.
        std::size_t left = 0;
        for (const auto& entry : std::filesystem::directory_iterator(PrivateFolder()))
            left += entry.path().filename() != "input.sld";
        if (left != 0)
            std::abort();
    }
    std::filesystem::remove(path);
    return 0;
}
