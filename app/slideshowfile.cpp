#include "app/slideshowfile.h"

#include "docfile/documenterror.h"
#include "docfile/xmlsource.h"

#include <pugixml.hpp>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace curvana {

namespace {

std::string ErrnoText(int error) {
    return std::strerror(error);
}

// Closes a descriptor on every path out of a function.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : FFd(fd) {}
    ~TFileDescriptor() {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const { return FFd; }
    // Closes now and reports the error of close, which is where a full disk may show.
    int Close() {
        const int fd = std::exchange(FFd, -1);
        return fd >= 0 && ::close(fd) != 0 ? errno : 0;
    }

private:
    int FFd;
};

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n' || c == '\x1a';
}

// pugixml's writer interface onto a descriptor; remembers the first error and stops there.
class TDescriptorWriter : public pugi::xml_writer {
public:
    explicit TDescriptorWriter(int fd) : FFd(fd) {}
    void write(const void* data, size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0 && FError == 0) {
            const ssize_t done = ::write(FFd, p, size);
            if (done < 0) {
                if (errno != EINTR)
                    FError = errno;
                continue;
            }
            p += done;
            size -= static_cast<size_t>(done);
        }
    }
    int Error() const { return FError; }

private:
    int FFd;
    int FError = 0;
};

// Indentation costs one tab per level on every line, which grows with the square of the depth;
// deeper trees are written without it.
constexpr std::size_t IndentDepthLimit = 64;

void SaveSlide(const pugi::xml_document& slide, std::size_t depth, const std::string& path) {
    // The folder is private to this run; O_NOFOLLOW still keeps a planted link from redirecting
    // the write.
    TFileDescriptor file(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (file.Get() < 0) {
        const int error = errno;
        throw ESlideShowError("Cannot write '" + path + "': " + ErrnoText(error));
    }
    TDescriptorWriter writer(file.Get());
    // No declaration: the file starts with the document's root tag like any document file.
    const unsigned flags = pugi::format_no_declaration |
                           (depth <= IndentDepthLimit ? pugi::format_indent : pugi::format_raw);
    slide.save(writer, "\t", flags, pugi::encoding_utf8);
    int error = writer.Error();
    const int closeError = file.Close();
    if (error == 0)
        error = closeError;
    if (error != 0)
        throw ESlideShowError("Cannot write '" + path + "': " + ErrnoText(error));
}

} // namespace

TFileKind FileKindOfFirstLine(std::string_view firstLine) {
    if (firstLine.starts_with(DocumentTag))
        return TFileKind::Document;
    if (firstLine.starts_with(SlideShowTag))
        return TFileKind::SlideShow;
    return TFileKind::Neither;
}

TFileKindResult ReadFileKind(const std::string& path) {
    TFileKindResult result;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        result.Problem =
            error == ENOENT || error == ENOTDIR ? TFileProblem::Missing : TFileProblem::Unreadable;
        result.Reason = ErrnoText(error);
        return result;
    }
    if (S_ISDIR(info.st_mode)) {
        result.Problem = TFileProblem::Missing;
        result.Reason = "Is a folder, not a file";
        return result;
    }
    // O_NONBLOCK keeps open from hanging on a pipe; the kind is checked again on the open file.
    TFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) {
        const int error = errno;
        result.Problem = TFileProblem::Unreadable;
        result.Reason = ErrnoText(error);
        return result;
    }
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.Problem = TFileProblem::Unreadable;
        result.Reason = "Not a regular file";
        return result;
    }
    // Only the start of the first line decides, so no more than the longer tag is read: a file
    // that is one enormous line costs nothing.
    const std::size_t wanted = std::max(DocumentTag.size(), SlideShowTag.size());
    std::string line;
    char buffer[32];
    while (line.size() < wanted) {
        const ssize_t got = ::read(file.Get(), buffer, wanted - line.size());
        if (got < 0) {
            const int error = errno;
            if (error == EINTR)
                continue;
            result.Problem = TFileProblem::Unreadable;
            result.Reason = ErrnoText(error);
            return result;
        }
        if (got == 0)
            break;
        const auto* end = std::find_if(buffer, buffer + got, IsLineEnd);
        line.append(buffer, static_cast<std::size_t>(end - buffer));
        if (end != buffer + got)
            break;
    }
    result.Kind = FileKindOfFirstLine(line);
    return result;
}

std::string TempSlideFileName(std::size_t number) {
    return "~TempSlide" + std::to_string(number) + ".xml";
}

std::size_t CopyChildren(const pugi::xml_node& source, pugi::xml_node& target) {
    struct TPending {
        pugi::xml_node Source;
        pugi::xml_node Target;
        std::size_t Depth; // levels of Target below the first target
    };
    std::vector<TPending> pending{{source, target, 0}};
    std::size_t depth = 0;
    while (!pending.empty()) {
        TPending item = pending.back();
        pending.pop_back();
        // Copies are appended here in source order, so the order in which the stack is worked
        // off does not matter.
        for (pugi::xml_node child = item.Source.first_child(); child;
             child = child.next_sibling()) {
            const pugi::xml_node_type type = child.type();
            if (type != pugi::node_element && type != pugi::node_pcdata && type != pugi::node_cdata)
                continue;
            pugi::xml_node copy = item.Target.append_child(type);
            if (!copy)
                throw ESlideShowError("Out of memory while copying a slide");
            depth = std::max(depth, item.Depth + 1);
            const bool copied = type == pugi::node_element ? copy.set_name(child.name())
                                                           : copy.set_value(child.value());
            if (!copied)
                throw ESlideShowError("Out of memory while copying a slide");
            if (type == pugi::node_element)
                pending.push_back({child, copy, item.Depth + 1});
        }
    }
    return depth;
}

std::vector<std::string> SplitSlideShow(const std::string& path, const std::string& folder) {
    // The same parser settings as for documents: comments, processing instructions and the
    // document type are not kept, and no entity of a document type is ever expanded.
    TXMLSource show;
    try {
        show.LoadFromFile(path);
    } catch (const EDocumentError& error) {
        // A syntax error names the file and the place already.
        throw ESlideShowError(error.Kind == EDocumentError::TKind::Syntax
                                  ? std::string(error.what())
                                  : "Cannot read slide show '" + path + "': " + error.what());
    }

    std::vector<std::string> slides;
    const pugi::xml_node root = show.DocumentElement();
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element || std::strcmp(child.name(), "CurvanaDocument") != 0)
            continue;
        pugi::xml_document slide;
        pugi::xml_node slideRoot = slide.append_child("CurvanaDocument");
        const std::size_t depth = CopyChildren(child, slideRoot);
        std::string slidePath = folder + "/" + TempSlideFileName(slides.size() + 1);
        SaveSlide(slide, depth, slidePath);
        slides.push_back(std::move(slidePath));
    }
    return slides;
}

TSlideShowSplit SplitSlideShowToTempFolder(const std::string& path) {
    return SplitSlideShowToTempFolder(path, TempSlideRoot());
}

TSlideShowSplit SplitSlideShowToTempFolder(const std::string& path, const std::string& root) {
    TSlideShowSplit split{TTempSlideFolder(root), {}};
    split.Slides = SplitSlideShow(path, split.Folder.Path());
    return split;
}

} // namespace curvana
