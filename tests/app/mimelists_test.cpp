#include "app/mimelists.h"

#include "tests/app/slidetestfiles.h"

#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace curvana {
namespace {

using testing::TTempDir;
using testing::WriteFile;

QByteArray Added(const std::string& list) {
    return WithAddedAssociation(QByteArray::fromStdString(list), "application/x-curvana-slides",
                                "curvana.desktop");
}

TEST(MimeAppsList, OursIsAddedAndEverythingElseStays) {
    struct Case {
        const char* what;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"no file yet", "",
         "[Added Associations]\napplication/x-curvana-slides=curvana.desktop;\n"},
        {"other groups and comments stay; a default the user chose is not touched",
         "# mine\n[Default Applications]\napplication/x-curvana-slides=other.desktop;\n",
         "# mine\n[Default Applications]\napplication/x-curvana-slides=other.desktop;\n\n"
         "[Added Associations]\napplication/x-curvana-slides=curvana.desktop;\n"},
        {"the group exists without our type; a file without a last newline",
         "[Added Associations]\ntext/plain=gedit.desktop;",
         "[Added Associations]\napplication/x-curvana-slides=curvana.desktop;\n"
         "text/plain=gedit.desktop;\n"},
        {"an application the user added keeps its place before ours",
         "[Added Associations]\napplication/x-curvana-slides = other.desktop\n[Other]\nk=v\n",
         "[Added Associations]\napplication/x-curvana-slides=other.desktop;curvana.desktop;\n"
         "[Other]\nk=v\n"},
        {"our type under another group only",
         "[Default Applications]\napplication/x-curvana-slides=curvana.desktop;\r\n",
         "[Default Applications]\napplication/x-curvana-slides=curvana.desktop;\r\n\n"
         "[Added Associations]\napplication/x-curvana-slides=curvana.desktop;\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Added(c.before).toStdString(), c.after) << c.what;
}

TEST(MimeAppsList, ListAlreadyHoldingOursOrRemovingItIsReturnedAsItCame) {
    const std::string lists[] = {
        "[Added Associations]\r\napplication/x-curvana-slides=a.desktop;curvana.desktop;\r\n",
        "[Added Associations]\napplication/x-curvana-slides=curvana.desktop\n# end",
        // The user took our program off the list: it stays off.
        "[Removed Associations]\napplication/x-curvana-slides=curvana.desktop;\n",
    };
    for (const std::string& list : lists)
        EXPECT_EQ(Added(list).toStdString(), list);
}

TEST(MimeInfoCache, ListsEachTypeWithTheEntriesThatOpenIt) {
    TTempDir folder;
    WriteFile(folder / "curvana.desktop",
              "[Desktop Entry]\nName=C\nMimeType=application/x-curvana-slides;text/xml\n"
              "[Desktop Action New]\nMimeType=ignored/type;\n");
    WriteFile(folder / "b-viewer.desktop",
              "[Desktop Entry]\nMimeType = text/xml;application/x-curvana-slides;text/xml;\n");
    WriteFile(folder / "nomime.desktop", "[Desktop Entry]\nName=N\n");
    WriteFile(folder / "notes.txt", "MimeType=text/plain;\n");
    std::filesystem::create_directories(folder.Path / "sub.desktop");
    EXPECT_EQ(MimeInfoCacheText(QString::fromStdString(folder.Path.string())).toStdString(),
              "[MIME Cache]\n"
              "application/x-curvana-slides=b-viewer.desktop;curvana.desktop;\n"
              "text/xml=b-viewer.desktop;curvana.desktop;\n");
}

} // namespace
} // namespace curvana
