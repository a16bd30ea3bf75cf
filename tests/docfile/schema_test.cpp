// The schema for editors (docs/curvana-document.xsd) against the files it is for: every example
// validates, documents the reader reads in the ways the schema promises validate and read, and
// documents with the mistakes it is meant to mark are refused. Runs xmllint.

#include "common/decimalseparator.h"
#include "docfile/documentloader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace curvana {
namespace {

namespace fs = std::filesystem;

const fs::path Root(CURVANA_SOURCE_DIR);
const fs::path Schema = Root / "docs/curvana-document.xsd";

struct TValidation {
    bool Valid = false;
    std::string Output;
};

TValidation Validate(const fs::path& file) {
    TValidation result;
    const std::string command = std::string(CURVANA_XMLLINT) + " --noout --schema '" +
                                Schema.string() + "' '" + file.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        result.Output = "cannot run " + command;
        return result;
    }
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        result.Output += buffer.data();
    }
    result.Valid = ::pclose(pipe) == 0;
    return result;
}

class DocumentSchema : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::string(CURVANA_XMLLINT).size() > 0)
            << "xmllint is missing: scripts/install-deps.sh installs libxml2-utils";
        std::string name = (fs::temp_directory_path() / "curvana-schema-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        Folder = name;
    }
    void TearDown() override { fs::remove_all(Folder); }

    fs::path Write(const std::string& text) {
        const fs::path path = Folder / ("doc" + std::to_string(++Count) + ".xml");
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    fs::path Folder;
    int Count = 0;
};

TEST_F(DocumentSchema, EveryExampleValidates) {
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(Root / "examples")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".xml" && ext != ".sld") {
            continue;
        }
        ++checked;
        const TValidation v = Validate(entry.path());
        EXPECT_TRUE(v.Valid) << v.Output;
    }
    EXPECT_GE(checked, 5);
}

std::string Doc(const std::string& body) {
    return "<CurvanaDocument>\n" + body + "\n</CurvanaDocument>\n";
}

TEST_F(DocumentSchema, WhatTheReaderReadsValidates) {
    const std::string cases[] = {
        // Any order, repeated, blanks around numbers, hexadecimal integers, exponents, a lone
        // separator, comments.
        Doc("<Coordinate><BackgroundColor> $FF </BackgroundColor><XInterval><Enabled>1</Enabled>"
            "<Max>\n 1.5e3\n</Max><Min>-.5</Min></XInterval><AxesStyle>1</AxesStyle>"
            "<GridAngularStep>0.25</GridAngularStep><BackgroundColor>0x10</BackgroundColor>"
            "</Coordinate><!-- a comment --><Memory/><Memory><TableObj><TableElemObjList>"
            "<TableElemObj><x>1</x><y>+2.</y></TableElemObj></TableElemObjList></TableObj>"
            "<FunctionObj><FunctionObjType>4</FunctionObjType><Exp>x&lt;y</Exp>"
            "<AddExp><![CDATA[<0]]></AddExp><ShowEnabled> 1 </ShowEnabled></FunctionObj>"
            "</Memory>"),
        Doc("<AddLabels><AddLabel><Font><Style><fsBold/><fsItalic></fsItalic></Style>"
            "<Size>12</Size><Pitch>2</Pitch><Color>-2147483640</Color></Font><x>0</x>"
            "<Caption/></AddLabel></AddLabels><AddLabels/>"),
        "<CurvanaSlides>\n" + Doc("<Coordinate/>") + Doc("") + "</CurvanaSlides>\n",
    };
    TDecimalSeparatorScope dot('.');
    for (const std::string& text : cases) {
        const TValidation v = Validate(Write(text));
        EXPECT_TRUE(v.Valid) << text << "\n" << v.Output;
        if (text.starts_with("<CurvanaDocument>")) {
            TCoordinate view;
            auto list = std::make_unique<TMemory>();
            std::vector<TAddLabelData> labels;
            EXPECT_NO_THROW(LoadDocumentText(text, {view, list, labels})) << text;
            view.GraphList = nullptr;
        }
    }
}

TEST_F(DocumentSchema, MistakesAreMarked) {
    const struct {
        std::string text;
        const char* complaint;
    } cases[] = {
        {Doc("<Memory><FunctionObj><ShowEnable>1</ShowEnable></FunctionObj></Memory>"),
         "ShowEnable"},
        {Doc("<Memory><FunctionObj><ShowEnabled>yes</ShowEnabled></FunctionObj></Memory>"),
         "ShowEnabled"},
        {Doc("<Memory><FunctionObj><FunctionObjType>5</FunctionObjType></FunctionObj></Memory>"),
         "FunctionObjType"},
        {Doc("<Coordinate><XInterval><Min>1 000</Min></XInterval></Coordinate>"), "Min"},
        {Doc("<Coordinate><XAxesTicksStep>1e</XAxesTicksStep></Coordinate>"), "XAxesTicksStep"},
        {Doc("<Coordinate><XAxesGraphStyle><LineStyle>9</LineStyle></XAxesGraphStyle>"
             "</Coordinate>"),
         "LineStyle"},
        {Doc("<Memory><TableObj><TableElemObjList><TableElemObj><y>1</y><x>2</x>"
             "</TableElemObj></TableElemObjList></TableObj></Memory>"),
         "y"},
        {Doc("<Memory>stray text</Memory>"), "Memory"},
        {Doc("<AddLabels><AddLabel><Font><Style><fsBlod/></Style></Font></AddLabel>"
             "</AddLabels>"),
         "fsBlod"},
        {"<CurvanaSlides>\n<Slide/>\n</CurvanaSlides>\n", "Slide"},
    };
    for (const auto& c : cases) {
        const TValidation v = Validate(Write(c.text));
        EXPECT_FALSE(v.Valid) << c.text;
        EXPECT_NE(v.Output.find(c.complaint), std::string::npos) << c.text << "\n" << v.Output;
    }
}

} // namespace
} // namespace curvana
