#include "app/exportcommand.h"

#include "app/slideshowfile.h"
#include "common/flags.h"
#include "docfile/documentloader.h"
#include "docfile/slidestate.h"
#include "expr/operatorlib.h"
#include "expr/varmemory.h"
#include "model/memory.h"
#include "platform/paintercanvas.h"
#include "platform/pngwriter.h"
#include "platform/rastercanvas.h"
#include "view/cutgraphs.h"

#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <memory>
#include <mutex>
#include <numbers>
#include <optional>
#include <ostream>
#include <thread>

namespace curvana {

namespace {

constexpr const char* ExportUsage =
    "curvana --export OUTDIR [--size WxH] [--scale F] [--smooth] [--format png|svg|pdf] FILE";

bool ParseSide(std::string_view text, std::int32_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 1 &&
           value <= MaxExportSide;
}

// A number from 1 to the largest scale, with "." or "," as its decimal point.
bool ParseScale(std::string text, double& scale) {
    std::replace(text.begin(), text.end(), ',', '.');
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), scale);
    return ec == std::errc() && end == text.data() + text.size() && scale >= 1 &&
           scale <= MaxExportScale;
}

bool ParseSize(const std::string& text, std::int32_t& width, std::int32_t& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    return ParseSide(std::string_view(text).substr(0, x), width) &&
           ParseSide(std::string_view(text).substr(x + 1), height);
}

void WriteFile(const std::string& path, const QByteArray& data) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size() ||
        !file.flush())
        throw ECurvanaError("cannot write " + path + ": " + file.errorString().toStdString());
}

// Where the pictures go. BeginSlide gives a canvas of the picture's size for one slide;
// EndSlide stores what was drawn (throwing ECurvanaError when it cannot), AbandonSlide
// forgets it. Prepare makes ahead what BeginSlide needs, on any thread.
class TSlideSink {
public:
    virtual ~TSlideSink() = default;
    virtual void Prepare() {}
    virtual TPainterCanvas& BeginSlide() = 0;
    virtual std::string EndSlide(std::size_t number, std::size_t count) = 0;
    virtual void AbandonSlide() {}
    virtual void Finish() {}
};

class TPngSink : public TSlideSink {
public:
    TPngSink(std::string directory, std::int32_t width, std::int32_t height, double scale)
        : FDirectory(std::move(directory)), FWidth(width), FHeight(height), FScale(scale) {}

    void Prepare() override { Canvas(); }

    TPainterCanvas& BeginSlide() override { return Canvas(); }

    std::string EndSlide(std::size_t number, std::size_t count) override {
        const std::string path = FDirectory + "/" + ExportFileName(number, count, "png");
        // At the picture's own pixels, whatever its ratio.
        if (!WritePng(Canvas().Image(), path))
            throw ECurvanaError("cannot write " + path);
        return path;
    }

private:
    // Made once, by the first thread that asks; one that asks meanwhile waits for it.
    TRasterCanvas& Canvas() {
        std::call_once(FMade, [this] { FCanvas.emplace(FWidth, FHeight, FScale); });
        return *FCanvas;
    }

    std::string FDirectory;
    std::int32_t FWidth;
    std::int32_t FHeight;
    double FScale;
    std::once_flag FMade;
    std::optional<TRasterCanvas> FCanvas;
};

class TSvgSink : public TSlideSink {
public:
    TSvgSink(std::string directory, std::int32_t width, std::int32_t height)
        : FDirectory(std::move(directory)), FWidth(width), FHeight(height) {}

    TPainterCanvas& BeginSlide() override {
        AbandonSlide();
        FData.clear();
        FBuffer = std::make_unique<QBuffer>(&FData);
        FBuffer->open(QIODevice::WriteOnly);
        FGenerator = std::make_unique<QSvgGenerator>();
        FGenerator->setOutputDevice(FBuffer.get());
        FGenerator->setSize(QSize(FWidth, FHeight));
        FGenerator->setViewBox(QRect(0, 0, FWidth, FHeight));
        FGenerator->setResolution(96);
        FPainter = std::make_unique<QPainter>(FGenerator.get());
        FCanvas = std::make_unique<TPainterCanvas>(*FPainter, FWidth, FHeight);
        return *FCanvas;
    }

    std::string EndSlide(std::size_t number, std::size_t count) override {
        FCanvas.reset();
        FPainter->end();
        FPainter.reset();
        FGenerator.reset();
        FBuffer.reset();
        const std::string path = FDirectory + "/" + ExportFileName(number, count, "svg");
        WriteFile(path, FData);
        return path;
    }

    void AbandonSlide() override {
        FCanvas.reset();
        FPainter.reset();
        FGenerator.reset();
        FBuffer.reset();
    }

private:
    std::string FDirectory;
    std::int32_t FWidth;
    std::int32_t FHeight;
    QByteArray FData;
    std::unique_ptr<QBuffer> FBuffer;
    std::unique_ptr<QSvgGenerator> FGenerator;
    std::unique_ptr<QPainter> FPainter;
    std::unique_ptr<TPainterCanvas> FCanvas;
};

// One document with a page per slide, each page the size of the picture (at 96 pixels per
// inch).
class TPdfSink : public TSlideSink {
public:
    TPdfSink(const std::string& directory, std::int32_t width, std::int32_t height)
        : FPath(directory + "/slides.pdf"), FWidth(width), FHeight(height) {
        FBuffer.open(QIODevice::WriteOnly);
        FWriter = std::make_unique<QPdfWriter>(&FBuffer);
        FWriter->setCreator(QStringLiteral("Curvana Slide Show"));
        FWriter->setResolution(96);
        FWriter->setPageMargins(QMarginsF(0, 0, 0, 0));
        FWriter->setPageSize(
            QPageSize(QSizeF(width * 72.0 / 96.0, height * 72.0 / 96.0), QPageSize::Point));
    }

    TPainterCanvas& BeginSlide() override {
        if (!FPainter) {
            FPainter = std::make_unique<QPainter>(FWriter.get());
        } else {
            FWriter->newPage();
        }
        // Page sizes are kept in whole points; scale so that the picture fills the page.
        FPainter->resetTransform();
        FPainter->scale(static_cast<double>(FWriter->width()) / FWidth,
                        static_cast<double>(FWriter->height()) / FHeight);
        FCanvas = std::make_unique<TPainterCanvas>(*FPainter, FWidth, FHeight);
        return *FCanvas;
    }

    std::string EndSlide(std::size_t, std::size_t) override {
        FCanvas.reset();
        return FPath;
    }

    void AbandonSlide() override { FCanvas.reset(); }

    void Finish() override {
        // No slide got as far as drawing: no document rather than an empty page.
        if (!FPainter)
            return;
        FPainter->end();
        FPainter.reset();
        FWriter.reset();
        WriteFile(FPath, FBuffer.data());
    }

private:
    std::string FPath;
    std::int32_t FWidth;
    std::int32_t FHeight;
    QBuffer FBuffer;
    std::unique_ptr<QPdfWriter> FWriter;
    std::unique_ptr<QPainter> FPainter;
    std::unique_ptr<TPainterCanvas> FCanvas;
};

std::unique_ptr<TSlideSink> MakeSink(const TExportOptions& options) {
    switch (options.Format) {
    case TExportFormat::Svg:
        return std::make_unique<TSvgSink>(options.OutputDirectory, options.Width, options.Height);
    case TExportFormat::Pdf:
        return std::make_unique<TPdfSink>(options.OutputDirectory, options.Width, options.Height);
    case TExportFormat::Png:
        break;
    }
    return std::make_unique<TPngSink>(options.OutputDirectory, options.Width, options.Height,
                                      options.Scale);
}

// Reading the font configuration takes a few milliseconds, and so does making an 8 MB picture;
// the first slide can be read without either. A second thread does them while the main thread
// reads: the fonts, then the sink's preparation unless the main thread has taken it on by then.
// Fonts may be looked up, and pictures made, from any thread; drawing waits for both.
class TWorkAhead {
public:
    explicit TWorkAhead(TSlideSink& sink) {
        try {
            FThread = std::thread([&sink] {
                QFontDatabase::families();
                try {
                    sink.Prepare();
                } catch (const std::exception&) {
                    // Left to the main thread, which reports what fails for it.
                }
            });
        } catch (const std::system_error&) {
            // No thread: the fonts are read when the first text needs them.
        }
    }
    ~TWorkAhead() { Wait(); }
    TWorkAhead(const TWorkAhead&) = delete;
    TWorkAhead& operator=(const TWorkAhead&) = delete;

    void Wait() {
        if (FThread.joinable())
            FThread.join();
    }

private:
    std::thread FThread;
};

// Reads the slide and draws it on a canvas of the sink; `begun` tells, when it throws, whether
// the picture had begun.
void RenderSlide(TSlideState& state, TSlideSink& sink, const std::string& path,
                 const TExportOptions& options, TWorkAhead& ahead, bool& begun) {
    begun = false;
    const TLoadOutcome outcome = LoadDocumentFile(path, state.Targets());
    if (outcome == TLoadOutcome::NoFile)
        throw ECurvanaError("no file at " + path);
    if (outcome == TLoadOutcome::NotADocument)
        throw ECurvanaError("the root element is not CurvanaDocument");
    sink.Prepare();
    ahead.Wait();
    TPainterCanvas& canvas = sink.BeginSlide();
    begun = true;
    canvas.Smooth = options.Smooth;
    state.View.Canvas = &canvas;
    state.View.Width = options.Width;
    state.View.Height = options.Height;
    state.Redraw();
    for (const TAddLabelData& label : state.Labels)
        PaintAddLabel(canvas, state.View, label);
}

QtMessageHandler GPreviousHandler = nullptr;

// The offscreen platform complains about a missing runtime folder it never uses here.
void QuietMessageHandler(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: ")) &&
        message.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    if (GPreviousHandler != nullptr)
        GPreviousHandler(type, context, message);
}

// Qt needs an application object for fonts; without one, an offscreen one is made for the
// command, so that no display is needed.
class TGuiScope {
public:
    TGuiScope() {
        if (QGuiApplication::instance() != nullptr)
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        GPreviousHandler = qInstallMessageHandler(QuietMessageHandler);
        static int argc = 1;
        static char name[] = "curvana";
        static char* argv[] = {name, nullptr};
        FApp = std::make_unique<QGuiApplication>(argc, argv);
    }
    ~TGuiScope() {
        if (FApp) {
            FApp.reset();
            qInstallMessageHandler(GPreviousHandler);
        }
    }
    TGuiScope(const TGuiScope&) = delete;
    TGuiScope& operator=(const TGuiScope&) = delete;

private:
    std::unique_ptr<QGuiApplication> FApp;
};

// An error about a file; one that names its place ("FILE:LINE:COLUMN: reason") already begins
// with the file.
std::string About(const std::string& file, const std::string& message) {
    return message.starts_with(file + ":") ? message : file + ": " + message;
}

} // namespace

bool ParseExportArguments(const std::vector<std::string>& arguments, TExportOptions& options,
                          std::string& error) {
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--smooth") {
            options.Smooth = true;
        } else if (argument == "--size" || argument == "--format" || argument == "--scale") {
            if (i + 1 >= arguments.size()) {
                error = argument + " needs a value";
                return false;
            }
            const std::string& value = arguments[++i];
            if (argument == "--scale") {
                if (!ParseScale(value, options.Scale)) {
                    error = "--scale takes a number from 1 to 4: '" + value + "'";
                    return false;
                }
            } else if (argument == "--size") {
                if (!ParseSize(value, options.Width, options.Height)) {
                    error = "--size takes WIDTHxHEIGHT, each 1 to " +
                            std::to_string(MaxExportSide) + ": '" + value + "'";
                    return false;
                }
            } else if (value == "png") {
                options.Format = TExportFormat::Png;
            } else if (value == "svg") {
                options.Format = TExportFormat::Svg;
            } else if (value == "pdf") {
                options.Format = TExportFormat::Pdf;
            } else {
                error = "--format takes png, svg or pdf: '" + value + "'";
                return false;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            error = "unknown option '" + argument + "'";
            return false;
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() != 2) {
        error = positional.size() < 2 ? "an output folder and a file are needed"
                                      : "one output folder and one file, no more";
        return false;
    }
    if (positional[0].empty() || positional[1].empty()) {
        error = "empty path";
        return false;
    }
    if (std::max(options.Width, options.Height) * options.Scale > MaxExportDeviceSide) {
        error = "--size at --scale makes a picture wider than " +
                std::to_string(MaxExportDeviceSide) + " pixels";
        return false;
    }
    options.OutputDirectory = positional[0];
    options.File = positional[1];
    return true;
}

std::string ExportFileName(std::size_t number, std::size_t count, const std::string& extension) {
    const std::size_t digits = std::max<std::size_t>(2, std::to_string(count).size());
    std::string text = std::to_string(number);
    if (text.size() < digits)
        text.insert(0, digits - text.size(), '0');
    return "slide-" + text + "." + extension;
}

void PaintAddLabel(TCanvas& canvas, TCoordinate& view, const TAddLabelData& label) {
    const TPoint at = view.WorldToScreen(label.x, label.y);
    const TFont savedFont = canvas.Font;
    const TBrush savedBrush = canvas.Brush;
    canvas.Font = label.Font;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = label.Caption.find('\n', start);
        std::string line = label.Caption.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    const std::int32_t lineHeight = canvas.TextHeight("Wg");
    std::int64_t width = 0;
    for (const std::string& line : lines)
        width = std::max<std::int64_t>(width, canvas.TextWidth(line));
    if (!IsOn(label.Transparent)) {
        canvas.Brush = {label.Color, bsSolid};
        const auto clampInt = [](std::int64_t v) {
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
        };
        canvas.FillRect({at.X, at.Y, clampInt(at.X + width),
                         clampInt(at.Y + static_cast<std::int64_t>(lineHeight) *
                                             static_cast<std::int64_t>(lines.size()))});
    }
    canvas.Brush.Style = bsClear;
    std::int64_t y = at.Y;
    for (const std::string& line : lines) {
        if (y > INT32_MAX)
            break;
        canvas.TextOut(at.X, static_cast<std::int32_t>(y), line);
        y += lineHeight;
    }
    canvas.Font = savedFont;
    canvas.Brush = savedBrush;
}

int RunExportCommand(const std::vector<std::string>& arguments, std::ostream& out,
                     std::ostream& err, bool progress, const TDrawLimits& limits) {
    TExportOptions options;
    std::string usage;
    if (!ParseExportArguments(arguments, options, usage)) {
        err << "curvana --export: " << usage << "\n"
            << "Usage: " << ExportUsage << "\n";
        return 2;
    }

    const TFileKindResult kind = ReadFileKind(options.File);
    if (kind.Problem != TFileProblem::None) {
        err << options.File << ": "
            << (kind.Problem == TFileProblem::Missing ? "no such file" : kind.Reason) << "\n";
        return 1;
    }
    if (kind.Kind == TFileKind::Neither) {
        err << options.File << ": neither a document nor a slide show (the first line starts "
            << "with neither " << DocumentTag << " nor " << SlideShowTag << ")\n";
        return 1;
    }

    std::optional<TSlideShowSplit> split;
    std::vector<std::string> slides;
    if (kind.Kind == TFileKind::SlideShow) {
        try {
            split.emplace(SplitSlideShowToTempFolder(options.File));
        } catch (const std::exception& e) {
            err << About(options.File, e.what()) << "\n";
            return 1;
        }
        slides = split->Slides;
        if (slides.empty()) {
            err << options.File << ": the slide show holds no slides\n";
            return 1;
        }
    } else {
        slides.push_back(options.File);
    }

    std::error_code ec;
    std::filesystem::create_directories(options.OutputDirectory, ec);
    if (ec || !std::filesystem::is_directory(options.OutputDirectory)) {
        err << options.OutputDirectory << ": cannot make the output folder"
            << (ec ? ": " + ec.message() : std::string()) << "\n";
        return 1;
    }

    TGuiScope gui;
    int failures = 0;
    int written = 0;
    int partial = 0;
    {
        TSlideState state;
        state.View.DrawLimits = limits;
        std::unique_ptr<TSlideSink> sink = MakeSink(options);
        TWorkAhead ahead(*sink);
        const std::size_t count = slides.size();
        for (std::size_t i = 0; i < count; ++i) {
            const std::string where = kind.Kind == TFileKind::SlideShow
                                          ? options.File + ": slide " + std::to_string(i + 1)
                                          : options.File;
            // A slide that cannot be read has no picture and is left out. One whose drawing
            // fails is written as far as it was drawn, in every format, as the show keeps it
            // on screen: the pictures stay numbered like the slides and the pages of a PDF
            // stay in step with them.
            bool begun = false;
            bool drawn = false;
            try {
                RenderSlide(state, *sink, slides[i], options, ahead, begun);
                drawn = true;
                const std::string path = sink->EndSlide(i + 1, count);
                ++written;
                if (progress)
                    err << "[" << i + 1 << "/" << count << "] " << path << "\n";
                if (!state.View.Whole())
                    err << About(where, CutGraphsMessage(*state.GraphList, state.View))
                        << "; written as drawn to " << path << "\n";
            } catch (const std::exception& e) {
                ++failures;
                // Unread, or drawn whole but not stored: nothing to store again.
                if (!begun || drawn) {
                    sink->AbandonSlide();
                    err << About(where, e.what()) << "\n";
                } else {
                    try {
                        const std::string path = sink->EndSlide(i + 1, count);
                        ++written;
                        ++partial;
                        err << About(where, e.what()) << "; drawn only in part to " << path << "\n";
                    } catch (const std::exception& writing) {
                        sink->AbandonSlide();
                        err << About(where, e.what()) << "; " << writing.what() << "\n";
                    }
                }
            }
            // The picture belongs to the sink; the view must not keep it past the slide.
            state.View.Canvas = nullptr;
        }
        try {
            sink->Finish();
        } catch (const std::exception& e) {
            err << e.what() << "\n";
            return 1;
        }
    }
    out << written << " of " << slides.size() << (slides.size() == 1 ? " slide" : " slides")
        << " written to " << options.OutputDirectory;
    if (partial > 0)
        out << ", " << partial << " of them only in part";
    out << "\n";
    return failures == 0 ? 0 : 1;
}

const char* ExportCommandHelp() {
    return "curvana --export OUTDIR [--size WxH] [--scale F] [--smooth] [--format png|svg|pdf] "
           "FILE\n"
           "  Renders a document, or every slide of a slide show, as the show draws it:\n"
           "  OUTDIR/slide-01.png, slide-02.png, ... (or .svg), or one OUTDIR/slides.pdf with a\n"
           "  page per slide. Default size 1920x1080. --scale F (1 to 4) draws the same layout\n"
           "  at F times the pixels, as on a HiDPI screen (PNG only; SVG and PDF are vectors).\n"
           "  --smooth draws curves, axes and grids antialiased. A slide that cannot be read is\n"
           "  reported and left out; one whose drawing fails is reported and written as far as\n"
           "  it was drawn, as the show keeps it on screen. Exit code 1 then, 2 for wrong\n"
           "  arguments. A slide with more to draw than one picture may take (about 2 s of\n"
           "  drawing) is written as drawn, with a line naming the graphs, axis marks, grids\n"
           "  or texts not drawn in full.\n";
}

} // namespace curvana
