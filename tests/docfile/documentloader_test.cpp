#include "common/decimalseparator.h"
#include "docfile/documenterror.h"
#include "docfile/documentloader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace curvana {
namespace {

// The state of a slide window across loads: one view, one graph list, the labels.
struct Window {
    Window() : GraphList(std::make_unique<TMemory>()) { View.GraphList = GraphList.get(); }

    TDocumentTargets Targets() { return {View, GraphList, Labels}; }
    TLoadOutcome Load(const std::string& text) { return LoadDocumentText(text, Targets()); }

    EDocumentError LoadFailing(const std::string& text) {
        try {
            Load(text);
        } catch (const EDocumentError& e) {
            return e;
        }
        ADD_FAILURE() << "no error for: " << text;
        return EDocumentError(EDocumentError::TKind::File, "", "", 0);
    }

    TCoordinate View;
    std::unique_ptr<TMemory> GraphList;
    std::vector<TAddLabelData> Labels;
};

std::string Graph(const char* exp) {
    return std::string("<FunctionObj><Exp>") + exp + "</Exp></FunctionObj>";
}

std::string Label(const char* caption) {
    return std::string("<AddLabel><Caption>") + caption + "</Caption></AddLabel>";
}

TEST(LoadDocument, TheLastMemoryWinsAndTheViewFollowsTheNewList) {
    Window w;
    EXPECT_EQ(w.Load("<CurvanaDocument><Memory>" + Graph("a") + Graph("b") + "</Memory>" +
                     "<Memory>" + Graph("c") + "</Memory></CurvanaDocument>"),
              TLoadOutcome::Loaded);
    ASSERT_EQ(w.GraphList->Count(), 1);
    EXPECT_EQ(w.GraphList->Function(0)->Exp, "c");
    EXPECT_EQ(w.View.GraphList, w.GraphList.get());
}

TEST(LoadDocument, WithoutMemoryKeepsTheGraphListAndSettingsPersistAcrossLoads) {
    Window w;
    w.Load("<CurvanaDocument><Memory>" + Graph("a") +
           "</Memory><Coordinate>"
           "<BackgroundColor>255</BackgroundColor><GridHorEnabled>1</GridHorEnabled>"
           "</Coordinate></CurvanaDocument>");
    const TMemory* first = w.GraphList.get();
    w.Load("<CurvanaDocument><Coordinate><GridHorEnabled>0</GridHorEnabled></Coordinate>"
           "</CurvanaDocument>");
    EXPECT_EQ(w.GraphList.get(), first);
    EXPECT_EQ(w.GraphList->Function(0)->Exp, "a");
    EXPECT_EQ(w.View.BackgroundColor, 255) << "the earlier slide's background stays";
    EXPECT_EQ(w.View.GridHorEnabled, 0);
}

TEST(LoadDocument, LabelsOfEveryAddLabelsAreKeptInOrderAndReplacedByTheNextLoad) {
    Window w;
    w.Load("<CurvanaDocument><AddLabels>" + Label("one") + "<Other/>" + Label("two") +
           "</AddLabels><Coordinate/><AddLabels>" + Label("three") +
           "</AddLabels></CurvanaDocument>");
    ASSERT_EQ(w.Labels.size(), 3u);
    EXPECT_EQ(w.Labels[0].Caption, "one");
    EXPECT_EQ(w.Labels[1].Caption, "two");
    EXPECT_EQ(w.Labels[2].Caption, "three");
    w.Load("<CurvanaDocument/>");
    EXPECT_TRUE(w.Labels.empty()) << "a slide without AddLabels removes the earlier labels";
}

TEST(LoadDocument, AnotherRootChangesNothingButTheLabels) {
    Window w;
    w.Load("<CurvanaDocument><Memory>" + Graph("a") + "</Memory><AddLabels>" + Label("l") +
           "</AddLabels></CurvanaDocument>");
    for (const char* root : {"<curvanadocument>", "<CurvanaSlides>", "<Other>"}) {
        std::string text = std::string(root) + "<Memory/><Coordinate><BackgroundColor>1" +
                           "</BackgroundColor></Coordinate><AddLabels>" + Label("x") +
                           "</AddLabels>";
        text += "</" + std::string(root + 1);
        w.Labels.push_back(TAddLabelData());
        EXPECT_EQ(w.Load(text), TLoadOutcome::NotADocument) << root;
        EXPECT_TRUE(w.Labels.empty()) << root;
        EXPECT_EQ(w.GraphList->Count(), 1) << root;
        EXPECT_EQ(w.View.BackgroundColor, clWhite) << root;
    }
}

TEST(LoadDocument, AFailingMemoryKeepsTheOldListAndWhatCameBefore) {
    Window w;
    w.Load("<CurvanaDocument><Memory>" + Graph("old") + "</Memory></CurvanaDocument>");
    const TMemory* old = w.GraphList.get();
    const EDocumentError e =
        w.LoadFailing("<CurvanaDocument>\n<Coordinate><AxesStyle>1</AxesStyle></Coordinate>\n"
                      "<AddLabels>" +
                      Label("kept") + "</AddLabels>\n<Memory>" + Graph("new") +
                      "\n<FunctionObj><ShowEnabled>on</ShowEnabled></FunctionObj></Memory>\n"
                      "<Coordinate><BackgroundColor>255</BackgroundColor></Coordinate>\n"
                      "<AddLabels>" +
                      Label("late") + "</AddLabels></CurvanaDocument>");
    EXPECT_STREQ(e.what(), "'on' is not a valid integer value");
    EXPECT_EQ(e.ElementPath, "CurvanaDocument/Memory/FunctionObj[2]/ShowEnabled");
    EXPECT_EQ(e.Line, 5);
    EXPECT_EQ(w.GraphList.get(), old);
    ASSERT_EQ(w.GraphList->Count(), 1);
    EXPECT_EQ(w.GraphList->Function(0)->Exp, "old");
    EXPECT_EQ(w.View.GraphList, old);
    EXPECT_EQ(w.View.AxesStyle, 1) << "settings read before the failure stay applied";
    EXPECT_EQ(w.View.BackgroundColor, clWhite) << "nothing after the failure is read";
    ASSERT_EQ(w.Labels.size(), 1u);
    EXPECT_EQ(w.Labels[0].Caption, "kept");
}

TEST(LoadDocument, AFailureAfterANewMemoryLeavesTheViewOnTheNewList) {
    Window w;
    w.LoadFailing("<CurvanaDocument><Memory>" + Graph("new") +
                  "</Memory><Coordinate><XAxesTicksStep>x</XAxesTicksStep></Coordinate>"
                  "</CurvanaDocument>");
    ASSERT_EQ(w.GraphList->Count(), 1);
    EXPECT_EQ(w.View.GraphList, w.GraphList.get()) << "the view must not keep the freed list";
}

TEST(LoadDocument, MalformedXmlRemovesTheLabelsAndReadsNothing) {
    Window w;
    w.Labels.push_back(TAddLabelData());
    const EDocumentError e = w.LoadFailing("<CurvanaDocument>\n<Coordinate><BackgroundColor>1"
                                           "</BackgroundColor>\n</CurvanaDocument>");
    EXPECT_EQ(e.Kind, EDocumentError::TKind::Syntax);
    EXPECT_EQ(e.Line, 3);
    EXPECT_TRUE(w.Labels.empty());
    EXPECT_EQ(w.View.BackgroundColor, clWhite);
}

TEST(LoadDocumentFile, AMissingFileChangesNothingAndAFileIsRead) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("curvana-loader-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    Window w;
    w.Labels.push_back(TAddLabelData());
    EXPECT_EQ(LoadDocumentFile((folder / "absent.xml").string(), w.Targets()),
              TLoadOutcome::NoFile);
    EXPECT_EQ(LoadDocumentFile(folder.string(), w.Targets()), TLoadOutcome::NoFile);
    EXPECT_EQ(w.Labels.size(), 1u);

    const std::filesystem::path file = folder / "doc.xml";
    std::ofstream(file) << "<CurvanaDocument><AddLabels>" << Label("file")
                        << "</AddLabels></CurvanaDocument>";
    EXPECT_EQ(LoadDocumentFile(file.string(), w.Targets()), TLoadOutcome::Loaded);
    ASSERT_EQ(w.Labels.size(), 1u);
    EXPECT_EQ(w.Labels[0].Caption, "file");
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace curvana

namespace curvana {
namespace {

TEST(LoadDocument, DetailsNameTheElementOfEveryGraphOfTheAppliedList) {
    Window w;
    TLoadDetails details;
    LoadDocumentText("<CurvanaDocument><Memory>" + Graph("a") + "</Memory><Coordinate/><Memory>" +
                         Graph("b") + "<TableObj/>" + Graph("c") +
                         "</Memory><Coordinate/></CurvanaDocument>",
                     w.Targets(), &details);
    EXPECT_TRUE(details.MemoryApplied);
    EXPECT_EQ(details.CoordinatesRead, 2);
    EXPECT_EQ(details.GraphPaths,
              (std::vector<std::string>{"CurvanaDocument/Memory[2]/FunctionObj[1]",
                                        "CurvanaDocument/Memory[2]/TableObj",
                                        "CurvanaDocument/Memory[2]/FunctionObj[2]"}));
}

} // namespace
} // namespace curvana

namespace curvana {
namespace {

// Whatever a file holds, a load either succeeds or ends with a document error that says where;
// nothing else escapes and nothing crashes.
TEST(LoadDocument, EveryCutOfADocumentLoadsOrFailsWithADocumentError) {
    TDecimalSeparatorScope dot('.');
    const std::string document =
        "<CurvanaDocument>\n<Memory>\n<FunctionObj><Name>f</Name><Exp>sin(x)</Exp>"
        "<ShowEnabled>1</ShowEnabled><GraphStyle><LineWidth>2</LineWidth><LineColor>255"
        "</LineColor></GraphStyle><Interval><Min>-1.5</Min><Max>2e1</Max><Enabled>1</Enabled>"
        "</Interval><PlotParameter><Steps>100</Steps></PlotParameter><FunctionObjType>0"
        "</FunctionObjType></FunctionObj>\n<TableObj><TableElemObjList><TableElemObj><x>1</x>"
        "<y>-2.25</y></TableElemObj><TableElemObj><x>3</x><y>4</y></TableElemObj>"
        "</TableElemObjList></TableObj>\n</Memory>\n<Coordinate><XInterval><Min>-5</Min>"
        "<Max>5</Max></XInterval><XArrow><Name>t</Name></XArrow><TitleTopFont><Size>12</Size>"
        "<Style><fsBold/></Style></TitleTopFont><GridHorStep>0.5</GridHorStep></Coordinate>\n"
        "<AddLabels><AddLabel><Caption>P</Caption><x>1</x><y>2</y></AddLabel></AddLabels>\n"
        "</CurvanaDocument>\n";
    int loaded = 0;
    int failed = 0;
    for (std::size_t length = 0; length <= document.size(); ++length) {
        Window w;
        try {
            w.Load(document.substr(0, length));
            ++loaded;
        } catch (const EDocumentError& e) {
            ++failed;
            EXPECT_GT(e.Line, 0) << "cut at " << length << ": " << e.what();
        }
    }
    EXPECT_GE(loaded, 1) << "the whole document loads";
    EXPECT_GT(failed, 0);

    // Every leaf's text replaced by a word: converting leaves fail with their path, text
    // leaves take it.
    for (std::size_t at = document.find('>'); at != std::string::npos;
         at = document.find('>', at + 1)) {
        const std::size_t end = document.find('<', at);
        if (end == std::string::npos || end == at + 1) {
            continue;
        }
        const std::string changed = document.substr(0, at + 1) + "word" + document.substr(end);
        Window w;
        try {
            w.Load(changed);
        } catch (const EDocumentError& e) {
            EXPECT_EQ(e.Kind, EDocumentError::TKind::Conversion) << changed;
            EXPECT_FALSE(e.ElementPath.empty());
            EXPECT_EQ(std::string(e.what()).find("'word' is not a valid"), 0u) << e.what();
        }
    }
}

} // namespace
} // namespace curvana
