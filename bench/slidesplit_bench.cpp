// Splitting slide shows into the run's temporary slide files.
#include "app/slideshowfile.h"
#include "app/tempslidefolder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace curvana;

// One slide as an author writes it: a few graphs, a table, the usual view settings and labels.
std::string SlideBody(int n) {
    std::string s = "  <CurvanaDocument>\n    <Memory>\n";
    for (int g = 0; g < 4; ++g) {
        s += "      <FunctionObj>\n"
             "        <Name>Graph " +
             std::to_string(g) +
             "</Name>\n"
             "        <Exp>" +
             std::to_string(g + 1) + "sin(" + std::to_string(n % 7 + 1) +
             "x)+x^2/10</Exp>\n"
             "        <AddExp></AddExp>\n"
             "        <ShowEnabled>1</ShowEnabled>\n"
             "        <Description>slide " +
             std::to_string(n) +
             "</Description>\n"
             "        <GraphStyle><LineWidth>2</LineWidth><LineStyle>0</LineStyle>"
             "<LineColor>255</LineColor><BrushStyle>1</BrushStyle>"
             "<BrushColor>16777215</BrushColor></GraphStyle>\n"
             "        <Interval><Min>0</Min><Max>0</Max><Enabled>0</Enabled></Interval>\n"
             "        <PlotParameter><Steps>500</Steps><StepsOnX>50</StepsOnX>"
             "<StepsOnY>50</StepsOnY><MaxGap>300</MaxGap></PlotParameter>\n"
             "        <FunctionObjType>0</FunctionObjType>\n"
             "      </FunctionObj>\n";
    }
    s += "      <TableObj>\n        <Name>Data</Name>\n        <ShowEnabled>1</ShowEnabled>\n"
         "        <Smooth>1</Smooth>\n        <TableElemObjList>\n";
    for (int p = 0; p < 20; ++p) {
        s += "          <TableElemObj><x>" + std::to_string(p) + ".5</x><y>" +
             std::to_string(p * p % 13) + "</y></TableElemObj>\n";
    }
    s += "        </TableElemObjList>\n      </TableObj>\n    </Memory>\n"
         "    <Coordinate>\n"
         "      <XInterval><Min>-10</Min><Max>10</Max><Enabled>1</Enabled></XInterval>\n"
         "      <YInterval><Min>-10</Min><Max>10</Max><Enabled>1</Enabled></YInterval>\n"
         "      <AxesStyle>0</AxesStyle>\n      <BackgroundColor>16777215</BackgroundColor>\n"
         "      <XArrow><Enabled>1</Enabled><Name>x</Name></XArrow>\n"
         "      <TitleTopEnabled>1</TitleTopEnabled>\n      <TitleTop>Slide " +
         std::to_string(n) +
         "</TitleTop>\n"
         "      <TitleTopFont><Charset>1</Charset><Color>0</Color><Name>DejaVu Sans</Name>"
         "<Size>20</Size><Style><fsBold/></Style></TitleTopFont>\n"
         "      <GridHorEnabled>1</GridHorEnabled>\n      <GridHorStep>1</GridHorStep>\n"
         "      <LegendEnabled>1</LegendEnabled>\n"
         "    </Coordinate>\n"
         "    <AddLabels>\n"
         "      <AddLabel><Caption>Note &amp; remark</Caption><Transparent>1</Transparent>"
         "<x>1.5</x><y>2.5</y></AddLabel>\n"
         "    </AddLabels>\n"
         "  </CurvanaDocument>\n";
    return s;
}

class TBenchDir {
public:
    TBenchDir() {
        std::string name =
            (std::filesystem::temp_directory_path() / "curvana-bench-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr)
            std::abort();
        Path = name;
    }
    ~TBenchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    std::string Write(const std::string& name, const std::string& content) const {
        const std::string path = Path + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string Path;
};

// The whole job of opening a slide show: first-line test, private folder, split, removal.
void BM_SplitSlideShow(benchmark::State& state) {
    const int slides = static_cast<int>(state.range(0));
    std::string show = "<CurvanaSlides>\n";
    for (int n = 1; n <= slides; ++n)
        show += SlideBody(n);
    show += "</CurvanaSlides>\n";
    const TBenchDir dir;
    const std::string path = dir.Write("show.sld", show);
    for (auto _ : state) {
        if (ReadFileKind(path).Kind != TFileKind::SlideShow)
            state.SkipWithError("not recognised");
        TTempSlideFolder folder(dir.Path);
        const std::vector<std::string> paths = SplitSlideShow(path, folder.Path());
        if (paths.size() != static_cast<std::size_t>(slides))
            state.SkipWithError("wrong slide count");
        benchmark::DoNotOptimize(paths.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(show.size()));
    state.counters["slides/s"] = benchmark::Counter(
        static_cast<double>(slides) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SplitSlideShow)->Arg(100)->Unit(benchmark::kMillisecond);

// A hostile slide: one element nested a million levels deep.
void BM_SplitDeeplyNestedSlide(benchmark::State& state) {
    const std::size_t depth = static_cast<std::size_t>(state.range(0));
    std::string show = "<CurvanaSlides><CurvanaDocument>";
    for (std::size_t i = 0; i < depth; ++i)
        show += "<a>";
    for (std::size_t i = 0; i < depth; ++i)
        show += "</a>";
    show += "</CurvanaDocument></CurvanaSlides>";
    const TBenchDir dir;
    const std::string path = dir.Write("deep.sld", show);
    for (auto _ : state) {
        TTempSlideFolder folder(dir.Path);
        benchmark::DoNotOptimize(SplitSlideShow(path, folder.Path()).size());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(show.size()));
}
BENCHMARK(BM_SplitDeeplyNestedSlide)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
