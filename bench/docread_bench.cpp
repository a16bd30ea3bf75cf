// Reading a large document: 200 graphs (190 function graphs and 10 tables) and 10,000 table
// points, generated in memory. Measures parsing alone, reading the parsed graph list, and the
// whole load as the slide window runs it, from text and from a file.

#include "common/decimalseparator.h"
#include "docfile/cvxml.h"
#include "docfile/documentloader.h"
#include "docfile/xmlsource.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace curvana {
namespace {

constexpr int FunctionCount = 190;
constexpr int TableCount = 10;
constexpr int PointsPerTable = 1000;

std::string GraphStyle(int i) {
    return "<GraphStyle><LineWidth>" + std::to_string(1 + i % 3) +
           "</LineWidth><LineStyle>0</LineStyle><LineColor>" + std::to_string(i * 997 % 16777216) +
           "</LineColor><BrushStyle>5</BrushStyle><BrushColor>0</BrushColor></GraphStyle>\n";
}

// A document written the way a writer of the format does: customary order, indented.
std::string LargeDocument() {
    std::string text = "<CurvanaDocument>\n  <Memory>\n";
    for (int i = 0; i < FunctionCount; ++i) {
        text += "    <FunctionObj>\n      <Name>f" + std::to_string(i) + "</Name>\n";
        text += "      <Exp>" + std::to_string(i % 7 + 1) + "*sin(x/" + std::to_string(i + 1) +
                ")+x^2/" + std::to_string(i + 3) + "</Exp>\n      <AddExp></AddExp>\n";
        text += "      <ShowEnabled>1</ShowEnabled>\n      <Description>graph " +
                std::to_string(i) + "</Description>\n      " + GraphStyle(i);
        text += "      <Interval><Min>-" + std::to_string(i % 10) + ".5</Min><Max>" +
                std::to_string(i % 10) + ".25</Max><Enabled>1</Enabled></Interval>\n";
        text += "      <AddInterval><Min>0</Min><Max>0</Max><Enabled>0</Enabled></AddInterval>\n";
        text += "      <PlotParameter><Steps>500</Steps><StepsOnX>50</StepsOnX><StepsOnY>50"
                "</StepsOnY><MaxGap>300</MaxGap></PlotParameter>\n";
        text += "      <FunctionObjType>" + std::to_string(i % 4) +
                "</FunctionObjType>\n    </FunctionObj>\n";
    }
    for (int t = 0; t < TableCount; ++t) {
        text += "    <TableObj>\n      <Name>t" + std::to_string(t) +
                "</Name>\n      <ShowEnabled>1</ShowEnabled>\n      " + GraphStyle(t);
        text += "      <Smooth>0</Smooth>\n      <SortingType>0</SortingType>\n"
                "      <TableElemObjList>\n";
        for (int p = 0; p < PointsPerTable; ++p) {
            char point[128];
            std::snprintf(point, sizeof point,
                          "        <TableElemObj><x>%.6f</x><y>%.9g</y></TableElemObj>\n",
                          p * 0.01 - 5, (p % 97) * 0.123456789 - t);
            text += point;
        }
        text += "      </TableElemObjList>\n    </TableObj>\n";
    }
    text += "  </Memory>\n  <Coordinate>\n    <XInterval><Min>-10</Min><Max>10</Max>"
            "<Enabled>1</Enabled></XInterval>\n    <LegendEnabled>1</LegendEnabled>\n"
            "  </Coordinate>\n</CurvanaDocument>\n";
    return text;
}

const std::string& Document() {
    static const std::string text = LargeDocument();
    return text;
}

void Counters(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(Document().size()));
    state.counters["graphs"] = FunctionCount + TableCount;
    state.counters["points"] = TableCount * PointsPerTable;
}

void BM_ParseOnly(benchmark::State& state) {
    for (auto _ : state) {
        TXMLSource source;
        source.LoadFromText(Document());
        benchmark::DoNotOptimize(source.DocumentElement());
    }
    Counters(state);
}
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond);

void BM_ReadMemoryOfParsedDocument(benchmark::State& state) {
    TDecimalSeparatorScope dot('.');
    TCVXML reader;
    reader.LoadFromText(Document());
    const pugi::xml_node memory = reader.DocumentElement().child("Memory");
    for (auto _ : state) {
        auto list = reader.ReadMemory(memory);
        benchmark::DoNotOptimize(list->Count());
    }
    Counters(state);
}
BENCHMARK(BM_ReadMemoryOfParsedDocument)->Unit(benchmark::kMillisecond);

void BM_LoadDocumentText(benchmark::State& state) {
    TDecimalSeparatorScope dot('.');
    TCoordinate view;
    auto list = std::make_unique<TMemory>();
    std::vector<TAddLabelData> labels;
    for (auto _ : state) {
        LoadDocumentText(Document(), {view, list, labels});
        benchmark::DoNotOptimize(list->Count());
    }
    Counters(state);
}
BENCHMARK(BM_LoadDocumentText)->Unit(benchmark::kMillisecond);

void BM_LoadDocumentFile(benchmark::State& state) {
    TDecimalSeparatorScope dot('.');
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("curvana-docread-" + std::to_string(::getpid()) + ".xml");
    std::ofstream(file, std::ios::binary) << Document();
    TCoordinate view;
    auto list = std::make_unique<TMemory>();
    std::vector<TAddLabelData> labels;
    for (auto _ : state) {
        LoadDocumentFile(file.string(), {view, list, labels});
        benchmark::DoNotOptimize(list->Count());
    }
    std::filesystem::remove(file);
    Counters(state);
}
BENCHMARK(BM_LoadDocumentFile)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace curvana

BENCHMARK_MAIN();
