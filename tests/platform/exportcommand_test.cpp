#include "app/exportcommand.h"
#include "app/tempslidefolder.h"
#include "pixels.h"
#include "platform/rastercanvas.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace curvana {
namespace {

namespace fs = std::filesystem;

constexpr TColor Red = 0x0000FF;

class ExportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        FRoot = fs::temp_directory_path() /
                ("curvana-export-test-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(FRoot);
        fs::create_directories(FRoot);
    }
    void TearDown() override { fs::remove_all(FRoot); }

    std::string Write(const std::string& name, const std::string& text) {
        const fs::path path = FRoot / name;
        std::ofstream(path) << text;
        return path.string();
    }

    std::string Out() const { return (FRoot / "out").string(); }

    // A 300 x 200 export under the given limits; its standard error stays in FErr.
    int RunWithin(const std::string& file, const TDrawLimits& limits = {}) {
        FErr.str("");
        return RunExportCommand({Out(), "--size", "300x200", file}, FOut, FErr, false, limits);
    }

    // The line that names what a limit cut on slide `slide`.
    std::string CutLine(const std::string& file, int slide, const std::string& what) const {
        const std::string number = (slide < 10 ? "0" : "") + std::to_string(slide);
        return file + ": slide " + std::to_string(slide) +
               ": not drawn in full (too much to draw for one picture): " + what +
               "; written as drawn to " + Out() + "/slide-" + number + ".png\n";
    }

    int Run(std::vector<std::string> arguments, bool progress = false) {
        FOut.str("");
        FErr.str("");
        return RunExportCommand(arguments, FOut, FErr, progress);
    }

    fs::path FRoot;
    std::ostringstream FOut;
    std::ostringstream FErr;
};

// Default view, no graphs: the axes cross at the origin's pixel.
const char* const EmptyDocument = "<CurvanaDocument>\n</CurvanaDocument>\n";

std::string Slide(const std::string& body) {
    return "  <CurvanaDocument>\n" + body + "  </CurvanaDocument>\n";
}

const std::string RedBackground =
    "<Coordinate><BackgroundColor>255</BackgroundColor></Coordinate>\n";
const std::string BadNumber = "<Coordinate><XAxesTicksStep>one</XAxesTicksStep></Coordinate>\n";

TEST_F(ExportCommand, DocumentToPngWithTheDefaultView) {
    const std::string file = Write("doc.xml", EmptyDocument);
    ASSERT_EQ(Run({Out(), "--size", "673x433", file}), 0) << FErr.str();
    const QImage image(QString::fromStdString(Out() + "/slide-01.png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(673, 433));
    // The default view on 673 x 433 puts the origin at (336, 216): both axes pass there.
    EXPECT_EQ(image.pixel(336, 216), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(100, 216), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(336, 100), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(100, 100), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(100, 215), qRgb(255, 255, 255));
    EXPECT_NE(FOut.str().find("1 of 1 slide written"), std::string::npos);
    EXPECT_TRUE(FErr.str().empty()) << FErr.str();
}

// The same layout at more pixels: the axes cross at the origin's device pixels, two wide.
TEST_F(ExportCommand, ScaleDrawsTheSameLayoutAtMorePixels) {
    const std::string file = Write("doc.xml", EmptyDocument);
    ASSERT_EQ(Run({Out(), "--size", "673x433", "--scale", "2", file}), 0) << FErr.str();
    const QImage image(QString::fromStdString(Out() + "/slide-01.png"));
    ASSERT_EQ(image.size(), QSize(1346, 866));
    for (const int d : {0, 1}) {
        EXPECT_EQ(image.pixel(672 + d, 432 + d), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(200 + d, 432 + d), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(672 + d, 200), qRgb(0, 0, 0));
    }
    EXPECT_EQ(image.pixel(200, 431), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(200, 434), qRgb(255, 255, 255));

    ASSERT_EQ(Run({Out(), "--size", "673x433", "--scale", "1.5", file}), 0) << FErr.str();
    EXPECT_EQ(QImage(QString::fromStdString(Out() + "/slide-01.png")).size(), QSize(1010, 650));
}

// Smooth lines leave shades between the curve's red and the white ground; crisp ones do not.
TEST_F(ExportCommand, SmoothDrawsCurvesAntialiased) {
    const std::string file =
        Write("doc.xml", "<CurvanaDocument><Memory><FunctionObj><Exp>x^2/3</Exp>"
                         "<ShowEnabled>1</ShowEnabled><GraphStyle><LineColor>255</LineColor>"
                         "</GraphStyle><FunctionObjType>0</FunctionObjType></FunctionObj>"
                         "</Memory></CurvanaDocument>\n");
    const auto shadesOfRed = [&](std::vector<std::string> options) {
        options.insert(options.end(), {Out(), "--size", "400x300", file});
        EXPECT_EQ(Run(options), 0) << FErr.str();
        const QImage image(QString::fromStdString(Out() + "/slide-01.png"));
        int shades = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                shades +=
                    qRed(p) == 255 && qGreen(p) == qBlue(p) && qGreen(p) > 0 && qGreen(p) < 255 ? 1
                                                                                                : 0;
            }
        return shades;
    };
    EXPECT_EQ(shadesOfRed({}), 0);
    EXPECT_GT(shadesOfRed({"--smooth"}), 100);
    EXPECT_GT(shadesOfRed({"--smooth", "--scale", "2"}), 200);
}

TEST_F(ExportCommand, DefaultSizeAndLabels) {
    const std::string label = "<AddLabels><AddLabel><Caption>Label</Caption><Color>255</Color>"
                              "<Transparent>0</Transparent><x>0</x><y>0</y></AddLabel>"
                              "</AddLabels>\n";
    const std::string file =
        Write("doc.xml", "<CurvanaDocument>\n" + label + "</CurvanaDocument>\n");
    ASSERT_EQ(Run({file, Out()}), 1); // swapped: the "file" is the output folder, not there yet
    ASSERT_EQ(Run({Out(), file}), 0) << FErr.str();
    const QImage image(QString::fromStdString(Out() + "/slide-01.png"));
    EXPECT_EQ(image.size(), QSize(1920, 1080));
    // The label's box starts at the origin's pixel, in front of the axes.
    TCoordinate view;
    view.Width = 1920;
    view.Height = 1080;
    const TPoint origin = view.WorldToScreen(0, 0);
    EXPECT_EQ(image.pixel(origin.X, origin.Y), ToQColor(Red).rgb());
    EXPECT_EQ(image.pixel(origin.X - 1, origin.Y), qRgb(0, 0, 0));
}

TEST_F(ExportCommand, SlideShowWithAFailingSlideInTheMiddle) {
    const std::string show =
        Write("show.sld", "<CurvanaSlides>\n" + Slide(RedBackground) + Slide(BadNumber) +
                              Slide("") + "</CurvanaSlides>\n");
    const fs::path root = TempSlideRoot();
    EXPECT_EQ(Run({Out(), "--size", "200x100", show}, true), 1);
    EXPECT_TRUE(fs::exists(Out() + "/slide-01.png"));
    EXPECT_FALSE(fs::exists(Out() + "/slide-02.png"));
    EXPECT_TRUE(fs::exists(Out() + "/slide-03.png"));
    EXPECT_NE(FErr.str().find("slide 2: "), std::string::npos) << FErr.str();
    EXPECT_NE(FErr.str().find("'one'"), std::string::npos) << FErr.str();
    EXPECT_NE(FErr.str().find("[3/3]"), std::string::npos) << FErr.str();
    EXPECT_NE(FOut.str().find("2 of 3 slides"), std::string::npos);
    // Settings carry over: the third slide names no background and keeps the first one's.
    const QImage third(QString::fromStdString(Out() + "/slide-03.png"));
    EXPECT_EQ(third.pixel(0, 0), ToQColor(Red).rgb());
    // The run's slide folder is gone.
    const std::string mine = std::string(TempSlideFolderPrefix) + std::to_string(::getpid()) + "-";
    for (const auto& entry : fs::directory_iterator(root))
        EXPECT_NE(entry.path().filename().string().rfind(mine, 0), 0u) << entry.path();
}

// A slide that a drawing limit cuts is written as drawn, and stderr names the slide and the
// graph; the run still succeeds. Within the limits nothing is said. The first curve has 101
// samples, the second about 500.
TEST_F(ExportCommand, SlideThatALimitCutsIsWrittenAndReported) {
    const std::string graphs = "<Memory><FunctionObj><Exp>x</Exp><ShowEnabled>1</ShowEnabled>"
                               "<PlotParameter><Steps>100</Steps></PlotParameter></FunctionObj>"
                               "<FunctionObj><Exp>sin(x)</Exp><ShowEnabled>1</ShowEnabled>"
                               "</FunctionObj></Memory>\n";
    const std::string show =
        Write("show.sld", "<CurvanaSlides>\n" + Slide("") + Slide(graphs) + "</CurvanaSlides>\n");
    TDrawLimits limits;
    limits.WalkSamples = 300;
    ASSERT_EQ(RunWithin(show, limits), 0) << FErr.str();
    EXPECT_EQ(FErr.str(), CutLine(show, 2, "graph 2 \"Y(x)=sin(x)\""));
    EXPECT_TRUE(fs::exists(Out() + "/slide-02.png"));

    limits.WalkSamples = 600;
    EXPECT_EQ(RunWithin(show, limits), 0);
    EXPECT_EQ(FErr.str(), "");
}

TEST_F(ExportCommand, AxisMarksThatTheMarkCapCutsAreReportedWithTheGraphs) {
    // -10..10 in steps of 0.0001 is 200,001 ticks, beyond the cap of 100,000; 0.00021 is within.
    const auto show = [&](const std::string& ticksStep) {
        return Write("show.sld", "<CurvanaSlides>\n" +
                                     Slide("<Coordinate><XAxesTicksStep>" + ticksStep +
                                           "</XAxesTicksStep></Coordinate>\n"
                                           "<Memory><FunctionObj><Exp>sin(x)</Exp><ShowEnabled>1"
                                           "</ShowEnabled></FunctionObj></Memory>\n") +
                                     "</CurvanaSlides>\n");
    };
    const std::string file = show("0.0001");
    TDrawLimits limits;
    limits.WalkSamples = 300;
    ASSERT_EQ(RunWithin(file, limits), 0) << FErr.str();
    EXPECT_EQ(FErr.str(), CutLine(file, 1, "the x-axis marks, graph 1 \"Y(x)=sin(x)\""));

    ASSERT_EQ(RunWithin(file), 0);
    EXPECT_EQ(FErr.str(), CutLine(file, 1, "the x-axis marks"));

    ASSERT_EQ(RunWithin(show("0.00021")), 0);
    EXPECT_EQ(FErr.str(), "");
}

TEST_F(ExportCommand, ProgressOnlyWhenAsked) {
    const std::string file = Write("doc.xml", EmptyDocument);
    ASSERT_EQ(Run({Out(), "--size", "50x40", file}, false), 0);
    EXPECT_TRUE(FErr.str().empty()) << FErr.str();
    ASSERT_EQ(Run({Out(), "--size", "50x40", file}, true), 0);
    EXPECT_NE(FErr.str().find("[1/1] " + Out() + "/slide-01.png"), std::string::npos) << FErr.str();
}

int PdfPages(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::regex page("/Type\\s*/Page[^s]");
    return static_cast<int>(std::distance(std::sregex_iterator(data.begin(), data.end(), page),
                                          std::sregex_iterator()));
}

TEST_F(ExportCommand, PdfHasAPagePerWrittenSlideAndSvgAFilePerSlide) {
    const std::string show = Write("show.sld", "<CurvanaSlides>\n" + Slide("") + Slide(BadNumber) +
                                                   Slide("") + Slide("") + "</CurvanaSlides>\n");
    EXPECT_EQ(Run({"--format", "pdf", Out(), show, "--size", "300x200"}), 1);
    ASSERT_TRUE(fs::exists(Out() + "/slides.pdf"));
    EXPECT_EQ(PdfPages(Out() + "/slides.pdf"), 3);
    EXPECT_FALSE(fs::exists(Out() + "/slide-01.png"));

    fs::remove_all(Out());
    EXPECT_EQ(Run({Out(), "--format", "svg", "--size", "300x200", show}), 1);
    for (const char* name : {"slide-01.svg", "slide-03.svg", "slide-04.svg"}) {
        std::ifstream in(Out() + "/" + name);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_NE(text.str().find("<svg"), std::string::npos) << name;
        EXPECT_NE(text.str().find("viewBox=\"0 0 300 200\""), std::string::npos) << name;
    }
    EXPECT_FALSE(fs::exists(Out() + "/slide-02.svg"));
}

// A slide whose drawing fails (here a literal beyond the double range) is kept as far as it
// was drawn, and reported, in every format alike: the files and pages stay in step with the
// slides.
TEST_F(ExportCommand, SlideThatFailsWhileDrawingIsKeptPartialInEveryFormat) {
    const std::string overflow = "<Memory><FunctionObj><Exp>x+1" + std::string(400, '0') +
                                 "</Exp><ShowEnabled>1</ShowEnabled></FunctionObj></Memory>\n";
    const std::string show = Write("show.sld", "<CurvanaSlides>\n" + Slide("") + Slide(overflow) +
                                                   Slide("<Memory/>") + "</CurvanaSlides>\n");
    for (const std::string format : {"png", "svg", "pdf"}) {
        SCOPED_TRACE(format);
        fs::remove_all(Out());
        EXPECT_EQ(Run({Out(), "--format", format, "--size", "300x200", show}), 1);
        EXPECT_NE(FErr.str().find("slide 2: "), std::string::npos) << FErr.str();
        EXPECT_NE(FErr.str().find("drawn only in part"), std::string::npos) << FErr.str();
        EXPECT_NE(FOut.str().find("3 of 3 slides written"), std::string::npos) << FOut.str();
        EXPECT_NE(FOut.str().find("1 of them only in part"), std::string::npos) << FOut.str();
        if (format == "pdf") {
            EXPECT_EQ(PdfPages(Out() + "/slides.pdf"), 3);
            continue;
        }
        for (const char* number : {"01", "02", "03"})
            EXPECT_TRUE(fs::exists(Out() + "/slide-" + number + "." + format)) << number;
    }
    // The partial picture holds what was drawn before the failure: the axes.
    fs::remove_all(Out());
    Run({Out(), "--size", "300x200", show});
    const QImage partial(QString::fromStdString(Out() + "/slide-02.png"));
    TCoordinate view;
    view.Width = 300;
    view.Height = 200;
    const TPoint origin = view.WorldToScreen(0, 0);
    EXPECT_EQ(partial.pixel(origin.X + 20, origin.Y), qRgb(0, 0, 0));
}

TEST_F(ExportCommand, InputsThatCannotBeRead) {
    EXPECT_EQ(Run({Out(), (FRoot / "missing.xml").string()}), 1);
    EXPECT_NE(FErr.str().find("no such file"), std::string::npos);
    EXPECT_EQ(Run({Out(), Write("other.xml", "<Other/>\n")}), 1);
    EXPECT_NE(FErr.str().find("neither a document nor a slide show"), std::string::npos);
    // An output folder that cannot be made.
    const std::string blocker = Write("blocker", "x");
    EXPECT_EQ(Run({blocker + "/out", Write("doc.xml", EmptyDocument)}), 1);
    EXPECT_NE(FErr.str().find("cannot make the output folder"), std::string::npos);
    // A slide show without slides writes nothing.
    EXPECT_EQ(Run({Out(), Write("empty.sld", "<CurvanaSlides>\n<Other/>\n</CurvanaSlides>\n")}), 1);
    EXPECT_NE(FErr.str().find("holds no slides"), std::string::npos);
    EXPECT_FALSE(fs::exists(Out()));
    // A PDF of slides that all fail to load is not written.
    EXPECT_EQ(
        Run({Out(), "--format", "pdf",
             Write("bad.sld", "<CurvanaSlides>\n" + Slide(BadNumber) + "</CurvanaSlides>\n")}),
        1);
    EXPECT_FALSE(fs::exists(Out() + "/slides.pdf"));
    // A document that is not well-formed XML after a document first line.
    EXPECT_EQ(Run({Out(), Write("broken.xml", "<CurvanaDocument><x>\n")}), 1);
    EXPECT_FALSE(fs::exists(Out() + "/slide-01.png"));
}

// A picture that cannot be stored is reported once and counted as not written.
TEST_F(ExportCommand, PictureThatCannotBeWrittenIsReportedOnce) {
    const std::string file = Write("doc.xml", EmptyDocument);
    const std::string picture = Out() + "/slide-01.png";
    fs::create_directories(picture);
    EXPECT_EQ(Run({Out(), "--size", "64x48", file}), 1);
    const std::string err = FErr.str();
    const std::string message = "cannot write " + picture;
    const std::size_t first = err.find(message);
    ASSERT_NE(first, std::string::npos) << err;
    EXPECT_EQ(err.find(message, first + message.size()), std::string::npos) << err;
    EXPECT_NE(FOut.str().find("0 of 1 slide written"), std::string::npos) << FOut.str();
}

TEST(ExportArguments, UsageErrors) {
    struct TCase {
        std::vector<std::string> Arguments;
        std::string Message;
    };
    const TCase cases[] = {
        {{}, "an output folder and a file are needed"},
        {{"out"}, "an output folder and a file are needed"},
        {{"out", "a.xml", "b.xml"}, "one output folder and one file"},
        {{"out", "a.xml", "--size"}, "--size needs a value"},
        {{"out", "a.xml", "--size", "0x10"}, "--size takes"},
        {{"out", "a.xml", "--size", "10x"}, "--size takes"},
        {{"out", "a.xml", "--size", "10x10x10"}, "--size takes"},
        {{"out", "a.xml", "--size", "-5x10"}, "--size takes"},
        {{"out", "a.xml", "--size", "10001x10"}, "--size takes"},
        {{"out", "a.xml", "--format", "gif"}, "--format takes png, svg or pdf"},
        {{"out", "a.xml", "--scale", "0.5"}, "--scale takes a number from 1 to 4"},
        {{"out", "a.xml", "--scale", "4.5"}, "--scale takes a number from 1 to 4"},
        {{"out", "a.xml", "--scale", "2x"}, "--scale takes a number from 1 to 4"},
        {{"out", "a.xml", "--scale"}, "--scale needs a value"},
        {{"out", "a.xml", "--size", "9000x100", "--scale", "3"}, "wider than 20000 pixels"},
        {{"out", "a.xml", "--quality", "9"}, "unknown option '--quality'"},
        {{"", "a.xml"}, "empty path"},
    };
    for (const TCase& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunExportCommand(c.Arguments, out, err, false), 2);
        EXPECT_NE(err.str().find(c.Message), std::string::npos) << err.str();
        EXPECT_NE(err.str().find("Usage: curvana --export"), std::string::npos);
        EXPECT_TRUE(out.str().empty());
    }
}

TEST(ExportArguments, OptionsAnywhere) {
    TExportOptions options;
    std::string error;
    ASSERT_TRUE(ParseExportArguments({"--format", "svg", "dir", "--size", "640X480", "f.sld"},
                                     options, error))
        << error;
    EXPECT_EQ(options.OutputDirectory, "dir");
    EXPECT_EQ(options.File, "f.sld");
    EXPECT_EQ(options.Width, 640);
    EXPECT_EQ(options.Height, 480);
    EXPECT_EQ(options.Format, TExportFormat::Svg);
    EXPECT_EQ(options.Scale, 1);
    EXPECT_FALSE(options.Smooth);
    TExportOptions defaults;
    ASSERT_TRUE(ParseExportArguments({"dir", "f.xml"}, defaults, error));
    EXPECT_EQ(defaults.Width, 1920);
    EXPECT_EQ(defaults.Height, 1080);
    EXPECT_EQ(defaults.Format, TExportFormat::Png);
    TExportOptions scaled;
    ASSERT_TRUE(ParseExportArguments({"--smooth", "dir", "--scale", "1,5", "f.xml"}, scaled, error))
        << error;
    EXPECT_EQ(scaled.Scale, 1.5);
    EXPECT_TRUE(scaled.Smooth);
}

TEST(ExportFileName, DigitsGrowWithTheSlideCount) {
    EXPECT_EQ(ExportFileName(1, 1, "png"), "slide-01.png");
    EXPECT_EQ(ExportFileName(8, 99, "svg"), "slide-08.svg");
    EXPECT_EQ(ExportFileName(7, 100, "png"), "slide-007.png");
    EXPECT_EQ(ExportFileName(1234, 1234, "png"), "slide-1234.png");
}

TEST(PaintAddLabel, BoxUnlessTransparentAndCanvasStateKept) {
    for (TFlag transparent : {TFlag{0}, TFlag{1}}) {
        TRasterCanvas canvas(200, 100);
        TCoordinate view;
        view.Canvas = &canvas;
        view.Width = 200;
        view.Height = 100;
        TAddLabelData label;
        label.Caption = "two\nlines";
        label.Color = Red;
        label.Transparent = transparent;
        label.Font.Height = -14;
        label.x = -10; // the left edge of the plot area, x = 30
        label.y = 10;  // its top, y = 30
        canvas.Font.Height = -30;
        canvas.Brush = {0x00FF00, bsBDiagonal};
        PaintAddLabel(canvas, view, label);
        EXPECT_EQ(canvas.Font.Height, -30);
        EXPECT_EQ(canvas.Brush.Style, bsBDiagonal);
        const QImage& image = canvas.Image();
        if (transparent) {
            EXPECT_EQ(test::CountColor(image, Red), 0);
        } else {
            canvas.Font = label.Font;
            const int width = canvas.TextWidth("lines");
            const int height = canvas.TextHeight("x");
            EXPECT_EQ(image.pixel(30, 30), ToQColor(Red).rgb());
            EXPECT_EQ(image.pixel(30 + width - 1, 30 + 2 * height - 1), ToQColor(Red).rgb());
            EXPECT_NE(image.pixel(30 + width, 30), ToQColor(Red).rgb());
            EXPECT_NE(image.pixel(30, 30 + 2 * height), ToQColor(Red).rgb());
            EXPECT_NE(image.pixel(29, 30), ToQColor(Red).rgb());
        }
        EXPECT_GT(test::CountColor(image, clBlack), 0); // the caption in the label's font colour
    }
}

} // namespace
} // namespace curvana
