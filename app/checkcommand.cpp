#include "app/checkcommand.h"

#include "app/slideshowfile.h"
#include "app/tempslidefolder.h"
#include "common/errors.h"
#include "common/flags.h"
#include "common/numtext.h"
#include "docfile/documenterror.h"
#include "docfile/documentloader.h"
#include "docfile/slidestate.h"
#include "docfile/xmlsource.h"
#include "expr/expcal.h"
#include "expr/expexplain.h"
#include "expr/operatorlib.h"
#include "expr/varmemory.h"
#include "view/canvas.h"
#include "view/coordinate.h"
#include "view/cutparts.h"
#include "view/graphcaption.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <numbers>
#include <optional>
#include <ostream>
#include <span>
#include <string_view>

namespace curvana {

namespace {

using TSeverity = TCheckFinding::TSeverity;

// Evaluations a check spends on one walk at most; walks with more samples are thinned out.
constexpr long double SampleLimit = 10000;
constexpr long double GridLimit = 100;

// Expressions and captions in messages, cut so that one finding stays one readable line.
std::string Quoted(const std::string& text) {
    constexpr std::size_t limit = 60;
    if (text.size() <= limit) {
        return "\"" + text + "\"";
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut; // not inside a UTF-8 character
    }
    std::string quoted(1, '"');
    quoted.append(text, 0, cut);
    quoted += "...\"";
    return quoted;
}

// The element a path names below start ("Memory[2]/FunctionObj" and so on), as far as it can be
// followed; skipFirst drops the root's own name when start already is that root. Each level
// goes on from the element the last path found there when it can, so the paths of a long list
// of graphs, asked for in order, are followed in time linear in the list.
class TPathResolver {
public:
    pugi::xml_node Resolve(pugi::xml_node start, std::string_view path, bool skipFirst) {
        pugi::xml_node node = start;
        bool first = true;
        std::size_t level = 0;
        while (!path.empty()) {
            const std::size_t slash = path.find('/');
            std::string_view part = path.substr(0, slash);
            path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
            if (first && skipFirst) {
                first = false;
                continue;
            }
            first = false;
            int index = 1;
            const std::size_t bracket = part.find('[');
            if (bracket != std::string_view::npos) {
                index = std::atoi(std::string(part.substr(bracket + 1)).c_str());
                part = part.substr(0, bracket);
            }
            if (FLevels.size() <= level) {
                FLevels.resize(level + 1);
            }
            TStep& last = FLevels[level++];
            const std::string name(part);
            pugi::xml_node child;
            int seen = 0;
            if (last.Child && last.Parent == node && last.Name == name && last.Index <= index) {
                child = last.Child;
                seen = last.Index;
            } else {
                child = node.child(name.c_str());
                seen = 1;
            }
            while (child && seen < index) {
                child = child.next_sibling(name.c_str());
                ++seen;
            }
            if (!child || index < 1) {
                break;
            }
            last = {node, name, index, child};
            node = child;
        }
        return node;
    }

private:
    // The element found last at one level: the index-th child of that name of the parent.
    struct TStep {
        pugi::xml_node Parent;
        std::string Name;
        int Index = 0;
        pugi::xml_node Child;
    };
    std::vector<TStep> FLevels;
};

// The legend's caption; "kind N" for a FunctionObjType that has none.
std::string Caption(const TMemory& list, int index) {
    if (const TTableObj* table = list.Table(index)) {
        return GraphCaption(*table);
    }
    const TFunctionObj* function = list.Function(index);
    if (function == nullptr) {
        return std::string();
    }
    std::string caption = GraphCaption(*function);
    return caption.empty() ? "kind " + std::to_string(function->FunctionObjType) : caption;
}

// A canvas that only counts the marks a plot leaves inside the picture.
class TMarkCounter : public TCanvas {
public:
    TMarkCounter(std::int32_t width, std::int32_t height) : Width(width), Height(height) {}

    std::int64_t Marks = 0;

    std::int32_t TextWidth(const std::string& text) override {
        return static_cast<std::int32_t>(text.size()) * 7;
    }
    std::int32_t TextHeight(const std::string&) override { return 16; }

protected:
    void DoLineTo(TPoint from, TPoint to) override { Count(from, to); }
    void DoRectangle(const TRect& rect) override { Count(rect); }
    void DoEllipse(const TRect& rect) override { Count(rect); }
    void DoPolygon(std::span<const TPoint> points) override {
        for (const TPoint& point : points) {
            Count(point, point);
        }
    }
    void DoFillRect(const TRect& rect) override { Count(rect); }
    void DoTextOut(TPoint, const std::string&) override {}
    void DoSetPixel(TPoint at, TColor) override { Count(at, at); }

private:
    void Count(const TRect& rect) {
        Count({rect.Left, rect.Top}, {rect.Right - 1, rect.Bottom - 1});
    }
    void Count(TPoint a, TPoint b) {
        if (std::max(a.X, b.X) >= 0 && std::min(a.X, b.X) < Width && std::max(a.Y, b.Y) >= 0 &&
            std::min(a.Y, b.Y) < Height) {
            ++Marks;
        }
    }

    std::int32_t Width;
    std::int32_t Height;
};

// The size the slide's picture is assumed to have when checking what a graph draws.
constexpr std::int32_t CheckWidth = 1024;
constexpr std::int32_t CheckHeight = 768;
// The size the whole slide is drawn at to find graphs a drawing limit cuts: the export's default.
constexpr std::int32_t ExportWidth = 1920;
constexpr std::int32_t ExportHeight = 1080;

// Samples from..to, both ends included, by step (repeated addition, as the plots walk), with
// at most SampleLimit steps; true as soon as one sample succeeds.
bool AnySampleSucceeds(long double from, long double to, long double step,
                       const std::function<bool(double)>& sample) {
    if (!(step > 0) || !(from <= to)) {
        return false;
    }
    step = std::max(step, (to - from) / SampleLimit);
    for (long double v = from; v <= to; v += step) {
        if (sample(static_cast<double>(v))) {
            return true;
        }
        if (v + step == v) {
            break;
        }
    }
    return false;
}

class TChecker {
public:
    TChecker(std::string path, const TDrawLimits& limits) : Path(std::move(path)) {
        Slide.View.DrawLimits = limits;
        Slide.View.GraphList = Slide.GraphList.get();
    }

    std::vector<TCheckFinding> Run();

private:
    void Add(TSeverity severity, int line, std::string message) {
        Findings.push_back({severity, Path, line, 0, std::move(message)});
    }
    // A file that is not well-formed XML: its place and the parser's reason.
    void AddSyntaxError(const EDocumentError& e) {
        Findings.push_back(
            {TSeverity::Error, Path, e.Line, e.Column, e.Reason.empty() ? e.what() : e.Reason});
    }

    void CheckDocument();
    void CheckSlideShow();
    // Reads one document file into the persisting view and graph list and checks the result.
    // Paths of its elements are resolved below base (the slide element of a show, or the
    // document node of a plain document) to give lines in the checked file.
    void ReadDocument(const std::string& file, pugi::xml_node base, bool baseIsRoot,
                      const std::string& prefix);
    void CheckView(pugi::xml_node root, const std::string& prefix);
    void CheckGraph(int index, int line, const std::string& prefix);
    void CheckFunction(const TFunctionObj& f, int line, const std::string& what);
    // Notes on what the expressions of a graph say otherwise than their author likely meant.
    void ExplainFunction(const TFunctionObj& f, int line, const std::string& what);
    void Explain(const char* field, const std::string& expression, int line,
                 const std::string& what);
    void CheckLabels(pugi::xml_node root, const std::string& prefix);
    // A note for a flag written as neither 0 nor 1.
    void NoteFlag(TFlag value, const std::string& what, int line);
    // Plots the graph (shown) on a counting canvas; true when it marks the picture.
    bool CheckDrawing(int index);
    // The line of the last element that wrote a setting of the view, in the last Coordinate of
    // root that has one; 0 when none does.
    int SettingLine(pugi::xml_node root, const char* setting) const;
    // Draws the whole slide as the show would, on a picture of the size an export makes by
    // default, and reports each graph and each part of the coordinate system that a drawing
    // limit cuts; lines[i] is graph i's line, root the element that holds the slide's Coordinate.
    void CheckWholePicture(pugi::xml_node root, const std::vector<int>& lines,
                           const std::string& prefix);
    // The line to report a cut part of the coordinate system on: that of the setting that asks
    // for it (of the finest step, for axis marks), else that of the slide's Coordinate element.
    int CutPartLine(pugi::xml_node root, const std::string& part) const;
    // Compiles an expression of a graph; reports and answers nullptr when it cannot be used.
    std::unique_ptr<TExpCal> Compile(const std::string& expression, int line,
                                     const std::string& what);
    bool Evaluate(TExpCal& calculator, double x, double y, double t, double a) {
        Slide.Variables.SetValue("x", x);
        Slide.Variables.SetValue("y", y);
        Slide.Variables.SetValue("t", t);
        Slide.Variables.SetValue("a", a);
        return calculator.Evaluate();
    }

    std::string Path;
    std::vector<TCheckFinding> Findings;
    TXMLSource Source;
    TSlideState Slide;
};

std::vector<TCheckFinding> TChecker::Run() {
    const TFileKindResult kind = ReadFileKind(Path);
    if (kind.Problem == TFileProblem::Missing) {
        Add(TSeverity::Error, 0, "no such file (" + kind.Reason + ")");
    } else if (kind.Problem == TFileProblem::Unreadable) {
        Add(TSeverity::Error, 0, "cannot read the file (" + kind.Reason + ")");
    } else if (kind.Kind == TFileKind::Document) {
        Add(TSeverity::Info, 0, "document");
        CheckDocument();
    } else if (kind.Kind == TFileKind::SlideShow) {
        CheckSlideShow();
    } else {
        Add(TSeverity::Error, 1,
            "neither a document nor a slide show: the first line must begin with "
            "<CurvanaDocument> or <CurvanaSlides>");
    }
    return std::move(Findings);
}

void TChecker::CheckDocument() {
    try {
        Source.LoadFromFile(Path);
    } catch (const EDocumentError& e) {
        AddSyntaxError(e);
        return;
    }
    ReadDocument(Path, Source.DocumentElement().parent(), false, "");
}

void TChecker::CheckSlideShow() {
    try {
        Source.LoadFromFile(Path);
    } catch (const EDocumentError& e) {
        Add(TSeverity::Info, 0, "slide show");
        AddSyntaxError(e);
        return;
    }
    std::vector<pugi::xml_node> slideElements;
    for (pugi::xml_node child : Source.DocumentElement().children("CurvanaDocument")) {
        slideElements.push_back(child);
    }
    // The slides are read from the files the show itself would read, in a private folder that
    // is removed afterwards.
    std::optional<TTempSlideFolder> folder;
    std::vector<std::string> slides;
    try {
        folder.emplace();
        slides = SplitSlideShow(Path, folder->Path());
    } catch (const ECurvanaError& e) {
        Add(TSeverity::Info, 0, "slide show");
        Add(TSeverity::Error, 0, e.what());
        return;
    }
    Add(TSeverity::Info, 0,
        "slide show with " + std::to_string(slides.size()) +
            (slides.size() == 1 ? " slide" : " slides"));
    if (slides.empty()) {
        Add(TSeverity::Error, Source.LineOf(Source.DocumentElement()),
            "the slide show has no CurvanaDocument slide, so it shows nothing");
    }
    for (std::size_t i = 0; i < slides.size(); ++i) {
        const pugi::xml_node base =
            i < slideElements.size() ? slideElements[i] : Source.DocumentElement();
        ReadDocument(slides[i], base, true, "slide " + std::to_string(i + 1) + ": ");
    }
}

void TChecker::ReadDocument(const std::string& file, pugi::xml_node base, bool baseIsRoot,
                            const std::string& prefix) {
    TPathResolver paths;
    const auto lineOf = [&](const std::string& elementPath) {
        return Source.LineOf(paths.Resolve(base, elementPath, baseIsRoot));
    };
    TLoadDetails details;
    TLoadOutcome outcome = TLoadOutcome::NoFile;
    try {
        outcome = LoadDocumentFile(file, Slide.Targets(), &details);
    } catch (const EDocumentError& e) {
        if (e.ElementPath.empty()) {
            Add(TSeverity::Error, file == Path ? e.Line : 0, prefix + e.what());
        } else {
            Add(TSeverity::Error, lineOf(e.ElementPath),
                prefix + e.what() + " (at " + e.ElementPath + ")");
        }
    }
    if (outcome == TLoadOutcome::NotADocument) {
        Add(TSeverity::Error, Source.LineOf(Source.DocumentElement()),
            prefix + "the root element is not CurvanaDocument, so nothing is read");
    }
    if (details.CoordinatesRead > 0) {
        CheckView(baseIsRoot ? base : base.child("CurvanaDocument"), prefix);
    }
    std::vector<int> lines(static_cast<std::size_t>(Slide.GraphList->Count()), 0);
    if (details.MemoryApplied) {
        if (Slide.GraphList->Count() == 0) {
            Add(TSeverity::Note, 0, prefix + "the graph list is empty");
        }
        for (int i = 0; i < Slide.GraphList->Count(); ++i) {
            const auto n = static_cast<std::size_t>(i);
            lines[n] = n < details.GraphPaths.size() ? lineOf(details.GraphPaths[n]) : 0;
            CheckGraph(i, lines[n], prefix);
        }
    }
    if (outcome == TLoadOutcome::Loaded) {
        CheckWholePicture(baseIsRoot ? base : base.child("CurvanaDocument"), lines, prefix);
    }
    CheckLabels(baseIsRoot ? base : base.child("CurvanaDocument"), prefix);
}

void TChecker::CheckLabels(pugi::xml_node root, const std::string& prefix) {
    // Labels were read in the order of the AddLabel elements, so the n-th label is the n-th
    // element even when reading stopped early.
    std::vector<pugi::xml_node> elements;
    for (pugi::xml_node labels : root.children("AddLabels")) {
        for (pugi::xml_node label : labels.children("AddLabel")) {
            elements.push_back(label);
        }
    }
    TMarkCounter canvas(CheckWidth, CheckHeight); // measures the titles for the margins
    Slide.View.Width = CheckWidth;
    Slide.View.Height = CheckHeight;
    for (std::size_t i = 0; i < Slide.Labels.size(); ++i) {
        const TAddLabelData& label = Slide.Labels[i];
        const int line = i < elements.size() ? Source.LineOf(elements[i]) : 0;
        NoteFlag(label.Transparent, prefix + "label " + Quoted(label.Caption) + ": Transparent",
                 line);
        Slide.View.Canvas = &canvas;
        const TPoint corner = Slide.View.WorldToScreen(label.x, label.y);
        Slide.View.Canvas = nullptr;
        if (corner.X < 0 || corner.X >= CheckWidth || corner.Y < 0 || corner.Y >= CheckHeight) {
            Add(TSeverity::Note, line,
                prefix + "label " + Quoted(label.Caption) + " at (" + FloatToStr(label.x) + ", " +
                    FloatToStr(label.y) + ") lies outside the view the slide sets");
        }
    }
}

int TChecker::SettingLine(pugi::xml_node root, const char* setting) const {
    pugi::xml_node last;
    for (pugi::xml_node coordinate : root.children("Coordinate")) {
        for (pugi::xml_node child : coordinate.children(setting)) {
            last = child;
        }
    }
    return Source.LineOf(last);
}

void TChecker::CheckView(pugi::xml_node root, const std::string& prefix) {
    const auto lineOf = [&](const char* setting) { return SettingLine(root, setting); };
    const auto range = [&](const TInterval& interval, const char* element, const char* name) {
        if (!(interval.Min < interval.Max)) {
            Add(TSeverity::Error, lineOf(element),
                prefix + name + " " + FloatToStr(interval.Min) + ".." + FloatToStr(interval.Max) +
                    " is empty: Min must be below Max, or nothing can be placed in the view");
        }
    };
    range(Slide.View.XInterval, "XInterval", "the visible x range XInterval");
    range(Slide.View.YInterval, "YInterval", "the visible y range YInterval");
    const auto step = [&](double value, const char* name, const char* what) {
        if (!(value > 0)) {
            Add(TSeverity::Note, lineOf(name),
                prefix + name + " is " + FloatToStr(value) + ", so no " + what + " are drawn");
        }
    };
    step(Slide.View.XAxesTicksStep, "XAxesTicksStep", "x ticks");
    step(Slide.View.YAxesTicksStep, "YAxesTicksStep", "y ticks");
    step(Slide.View.XAxesLabelsStep, "XAxesLabelsStep", "x labels");
    step(Slide.View.YAxesLabelsStep, "YAxesLabelsStep", "y labels");
    if (IsOn(Slide.View.GridHorEnabled)) {
        step(Slide.View.GridHorStep, "GridHorStep", "horizontal grid lines");
    }
    if (IsOn(Slide.View.GridVerEnabled)) {
        step(Slide.View.GridVerStep, "GridVerStep", "vertical grid lines");
    }
    if (IsOn(Slide.View.GridRadialEnabled)) {
        step(Slide.View.GridRadialStep, "GridRadialStep", "grid circles");
    }
    if (IsOn(Slide.View.GridAngularEnabled)) {
        step(Slide.View.GridAngularStep, "GridAngularStep", "grid rays");
    }

    // Flags this slide writes with a value other than 0 or 1.
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, TFlag>>{
             {"EqualScaleEnabled", Slide.View.EqualScaleEnabled},
             {"TitleTopEnabled", Slide.View.TitleTopEnabled},
             {"TitleBottomEnabled", Slide.View.TitleBottomEnabled},
             {"TitleLeftEnabled", Slide.View.TitleLeftEnabled},
             {"TitleRightEnabled", Slide.View.TitleRightEnabled},
             {"LegendEnabled", Slide.View.LegendEnabled},
             {"ShowSampleEnabled", Slide.View.ShowSampleEnabled},
             {"TextColorAsGraphEnabled", Slide.View.TextColorAsGraphEnabled},
             {"GridHorEnabled", Slide.View.GridHorEnabled},
             {"GridVerEnabled", Slide.View.GridVerEnabled},
             {"GridRadialEnabled", Slide.View.GridRadialEnabled},
             {"GridAngularEnabled", Slide.View.GridAngularEnabled}}) {
        if (const int line = lineOf(name); line > 0) {
            NoteFlag(value, prefix + name, line);
        }
    }
    for (const auto& [name, arrow] :
         {std::pair<const char*, const TAxesArrow*>{"XArrow", &Slide.View.XArrow},
          {"YArrow", &Slide.View.YArrow}}) {
        pugi::xml_node last;
        for (pugi::xml_node coordinate : root.children("Coordinate")) {
            for (pugi::xml_node element : coordinate.children(name)) {
                if (pugi::xml_node enabled = element.child("Enabled")) {
                    last = enabled;
                }
            }
        }
        if (const int line = Source.LineOf(last); line > 0) {
            NoteFlag(arrow->Enabled, prefix + name + " Enabled", line);
        }
    }
}

void TChecker::NoteFlag(TFlag value, const std::string& what, int line) {
    if (value > 1) {
        Add(TSeverity::Note, line,
            what + " is " + std::to_string(value) +
                ", which counts as off: only 1 switches it on (write 0 or 1)");
    }
}

void TChecker::CheckGraph(int index, int line, const std::string& prefix) {
    const std::string what = prefix + "graph " + std::to_string(index + 1) + " " +
                             Quoted(Caption(*Slide.GraphList, index));
    const TFlag shown = Slide.GraphList->GetShowEnabled(index);
    if (shown == 0) {
        Add(TSeverity::Note, line,
            what + " is hidden (ShowEnabled 0); it is drawn once switched on in the graph list");
    } else {
        NoteFlag(shown, what + ": ShowEnabled", line);
    }
    if (const TTableObj* table = Slide.GraphList->Table(index)) {
        NoteFlag(table->Smooth, what + ": Smooth", line);
    }
    const std::size_t before = Findings.size();
    if (const TTableObj* table = Slide.GraphList->Table(index)) {
        if (table->Count() < 2) {
            Add(TSeverity::Error, line,
                what + " has " + std::to_string(table->Count()) +
                    (table->Count() == 1 ? " point" : " points") +
                    ", and a table needs two to draw");
        }
    } else if (const TFunctionObj* function = Slide.GraphList->Function(index)) {
        CheckFunction(*function, line, what);
    }
    // Nothing found so far: let the view draw the graph (as if shown) and see whether anything
    // lands in the picture.
    if (Findings.size() == before && !CheckDrawing(index)) {
        Add(TSeverity::Note, line,
            what + " draws nothing in the view the slide sets (x " +
                FloatToStr(Slide.View.XInterval.Min) + ".." + FloatToStr(Slide.View.XInterval.Max) +
                ", y " + FloatToStr(Slide.View.YInterval.Min) + ".." +
                FloatToStr(Slide.View.YInterval.Max) + ")");
    }
    if (const TFunctionObj* function = Slide.GraphList->Function(index)) {
        ExplainFunction(*function, line, what);
    }
}

void TChecker::ExplainFunction(const TFunctionObj& f, int line, const std::string& what) {
    switch (f.FunctionObjType) {
    case ftYofX:
    case ftXofY:
    case ftPolar:
        Explain("Exp", f.Exp, line, what);
        break;
    case ftParametric:
        Explain("Exp", f.Exp, line, what);
        Explain("AddExp", f.AddExp, line, what);
        break;
    case ftRelation: {
        Explain("Exp", f.Exp, line, what);
        if (IsImplicitCurve(f)) {
            break;
        }
        std::string condensed = f.AddExp;
        std::erase_if(condensed, [](char c) { return static_cast<unsigned char>(c) <= 32; });
        if (condensed == "=0") {
            Add(TSeverity::Note, line,
                what + ": AddExp " + Quoted(f.AddExp) +
                    " is read as the region where the value is exactly 0, which fills "
                    "nothing: write =0 to draw the curve");
        } else {
            Explain("AddExp", f.AddExp, line, what);
        }
        break;
    }
    default:
        break;
    }
}

void TChecker::Explain(const char* field, const std::string& expression, int line,
                       const std::string& what) {
    constexpr std::size_t shownNotes = 8; // a garbled expression must not flood the report
    const std::vector<TExpNote> notes =
        ExplainExpression(expression, Slide.OperatorLib, Slide.Variables, Slide.Constants);
    for (std::size_t i = 0; i < notes.size() && i < shownNotes; ++i) {
        Add(TSeverity::Note, line,
            what + ": " + field + " " + Quoted(expression) + " column " +
                std::to_string(notes[i].Column) + ": " + notes[i].Message);
    }
    if (notes.size() > shownNotes) {
        Add(TSeverity::Note, line,
            what + ": " + field + " " + Quoted(expression) + ": " +
                std::to_string(notes.size() - shownNotes) + " more notes like these");
    }
}

bool TChecker::CheckDrawing(int index) {
    TMarkCounter canvas(CheckWidth, CheckHeight);
    Slide.View.Canvas = &canvas;
    Slide.View.Width = CheckWidth;
    Slide.View.Height = CheckHeight;
    try {
        // The margins stay as they are while one graph is plotted: measured once, not at every
        // point (they go through the whole legend).
        const TCoordinate::TMarginFreeze margins(Slide.View);
        // Copies, so that the check changes nothing a later slide would see (a region plot
        // clears its graph's line).
        if (const TFunctionObj* function = Slide.GraphList->Function(index)) {
            TFunctionObj copy;
            copy.Assign(*function);
            copy.ShowEnabled = 1;
            Slide.View.PlotFunction(copy, Slide.OperatorLib, Slide.Variables, Slide.Constants);
        } else if (const TTableObj* table = Slide.GraphList->Table(index)) {
            TTableObj copy;
            copy.Assign(*table);
            copy.ShowEnabled = 1;
            Slide.View.PlotTable(copy);
        }
    } catch (const std::exception&) {
        Slide.View.Canvas = nullptr;
        return true; // what fails here was reported by the checks before
    }
    Slide.View.Canvas = nullptr;
    return canvas.Marks > 0;
}

int TChecker::CutPartLine(pugi::xml_node root, const std::string& part) const {
    struct TSetting {
        const char* Name;
        double Step; // the finest step is the likely cause; 0 for a setting without one
    };
    struct TPart {
        const char* Name;
        std::vector<TSetting> Settings;
    };
    const TPart parts[] = {
        {cutparts::XAxisMarks,
         {{"XAxesTicksStep", Slide.View.XAxesTicksStep},
          {"XAxesLabelsStep", Slide.View.XAxesLabelsStep}}},
        {cutparts::YAxisMarks,
         {{"YAxesTicksStep", Slide.View.YAxesTicksStep},
          {"YAxesLabelsStep", Slide.View.YAxesLabelsStep}}},
        {cutparts::HorizontalGrid, {{"GridHorStep", 0}}},
        {cutparts::VerticalGrid, {{"GridVerStep", 0}}},
        {cutparts::RadialGrid, {{"GridRadialStep", 0}}},
        {cutparts::AngularGrid, {{"GridAngularStep", 0}}},
        {cutparts::XAxisLabels, {{"XAxesLabelsString", 0}, {"XAxesLabelsStep", 0}}},
        {cutparts::YAxisLabels, {{"YAxesLabelsString", 0}, {"YAxesLabelsStep", 0}}},
        {cutparts::XAxisName, {{"XArrow", 0}}},
        {cutparts::YAxisName, {{"YArrow", 0}}},
        {cutparts::TopTitle, {{"TitleTop", 0}}},
        {cutparts::BottomTitle, {{"TitleBottom", 0}}},
        {cutparts::LeftTitle, {{"TitleLeft", 0}}},
        {cutparts::RightTitle, {{"TitleRight", 0}}},
        {cutparts::Legend, {{"LegendEnabled", 0}}},
    };
    for (const TPart& candidate : parts) {
        if (part != candidate.Name) {
            continue;
        }
        int line = 0;
        double finest = 0;
        for (const TSetting& setting : candidate.Settings) {
            const int at = SettingLine(root, setting.Name);
            if (at > 0 && (line == 0 || setting.Step < finest)) {
                line = at;
                finest = setting.Step;
            }
        }
        if (line > 0) {
            return line;
        }
    }
    pugi::xml_node coordinate;
    for (pugi::xml_node c : root.children("Coordinate")) {
        coordinate = c;
    }
    return Source.LineOf(coordinate);
}

void TChecker::CheckWholePicture(pugi::xml_node root, const std::vector<int>& lines,
                                 const std::string& prefix) {
    // A copy, so that the check changes nothing a later slide would see.
    TMemory graphs;
    for (int i = 0; i < Slide.GraphList->Count(); ++i) {
        if (const TFunctionObj* function = Slide.GraphList->Function(i)) {
            graphs.AddFunctionCopy(*function);
        } else if (const TTableObj* table = Slide.GraphList->Table(i)) {
            graphs.AddTableCopy(*table);
        }
    }
    TMarkCounter canvas(ExportWidth, ExportHeight);
    Slide.View.Canvas = &canvas;
    Slide.View.Width = ExportWidth;
    Slide.View.Height = ExportHeight;
    bool drawn = true;
    try {
        Slide.View.Redraw(&graphs, Slide.OperatorLib, Slide.Variables, Slide.Constants);
    } catch (const std::exception&) {
        drawn = false; // what fails here was reported by the checks before
    }
    Slide.View.Canvas = nullptr;
    Slide.View.GraphList = Slide.GraphList.get();
    if (!drawn) {
        return;
    }
    const std::string size = std::to_string(ExportWidth) + " x " + std::to_string(ExportHeight);
    for (const std::string& marks : Slide.View.CutMarks) {
        Add(TSeverity::Error, CutPartLine(root, marks),
            prefix + "not drawn in full at " + size + ": " + marks + " (more than " +
                std::to_string(Slide.View.DrawLimits.Marks) +
                " of them: the step is far too small for the range)");
    }
    for (const std::string& text : Slide.View.CutTexts) {
        Add(TSeverity::Error, CutPartLine(root, text),
            prefix + "not drawn in full at " + size + ": " + text +
                " (too much text to write for one picture: the limit is about 2 s of drawing)");
    }
    for (const int i : Slide.View.CutGraphs) {
        const auto n = static_cast<std::size_t>(i);
        Add(TSeverity::Error, n < lines.size() ? lines[n] : 0,
            prefix + "graph " + std::to_string(i + 1) + " " + Quoted(Caption(graphs, i)) +
                " is not drawn in full at " + size +
                ": too much to draw for one picture (the limit is about 2 s of drawing)");
    }
}

std::unique_ptr<TExpCal> TChecker::Compile(const std::string& expression, int line,
                                           const std::string& what) {
    try {
        auto calculator = std::make_unique<TExpCal>(expression, Slide.OperatorLib, Slide.Variables,
                                                    Slide.Constants);
        if (!calculator->Compiled) {
            Add(TSeverity::Error, line,
                what + ": the expression " + Quoted(expression) + " does not compile");
            return nullptr;
        }
        return calculator;
    } catch (const ECurvanaError& e) {
        Add(TSeverity::Error, line,
            what + ": compiling " + Quoted(expression) + " raises " + Quoted(e.what()));
        return nullptr;
    }
}

void TChecker::CheckFunction(const TFunctionObj& f, int line, const std::string& what) {
    const auto error = [&](const std::string& message) {
        Add(TSeverity::Error, line, what + " " + message);
    };
    const auto interval = [](const TInterval& i) {
        return FloatToStr(i.Min) + ".." + FloatToStr(i.Max);
    };
    const TInterval& range = f.Interval;
    const bool limited = range.Min < range.Max;
    const std::int32_t steps = f.PlotParameter.Steps;
    const auto noValue = [&](const std::string& expression) {
        error("draws nothing: the expression " + Quoted(expression) +
              " has no value anywhere on the graph's range");
    };
    switch (f.FunctionObjType) {
    case ftYofX:
    case ftXofY: {
        const bool ofX = f.FunctionObjType == ftYofX;
        auto calculator = Compile(f.Exp, line, what);
        if (steps <= 0) {
            error("draws nothing: PlotParameter Steps is " + std::to_string(steps) +
                  ", and a curve needs at least one step");
            return;
        }
        const TInterval& visible = ofX ? Slide.View.XInterval : Slide.View.YInterval;
        if (!(visible.Min < visible.Max)) {
            return; // reported with the view
        }
        long double from = visible.Min;
        long double to = visible.Max;
        if (limited) {
            from = std::max<long double>(from, range.Min);
            to = std::min<long double>(to, range.Max);
            if (from > to) {
                Add(TSeverity::Note, line,
                    what + " lies outside the visible " + (ofX ? "x" : "y") +
                        " range: its Interval is " + interval(range));
                return;
            }
        }
        if (calculator) {
            const long double step = (static_cast<long double>(visible.Max) - visible.Min) / steps;
            const bool any = AnySampleSucceeds(from, to, step, [&](double v) {
                return ofX ? Evaluate(*calculator, v, 0, 0, 0) : Evaluate(*calculator, 0, v, 0, 0);
            });
            if (!any) {
                noValue(f.Exp);
            }
        }
        return;
    }
    case ftPolar:
    case ftParametric: {
        const bool polar = f.FunctionObjType == ftPolar;
        auto first = Compile(f.Exp, line, what);
        std::unique_ptr<TExpCal> second;
        if (!polar) {
            second = Compile(f.AddExp, line, what);
        }
        if (steps <= 0) {
            error("draws nothing: PlotParameter Steps is " + std::to_string(steps) +
                  ", and a curve needs at least one step");
            return;
        }
        if (!limited) {
            error(std::string("draws nothing: its Interval ") + interval(range) +
                  " is empty; the " + (polar ? "angle a" : "parameter t") +
                  " runs from Min to Max, so Min must be below Max");
            return;
        }
        if (first && (polar || second)) {
            const long double scale = polar ? std::numbers::pi_v<long double> : 1;
            const long double from = scale * range.Min;
            const long double to = scale * range.Max;
            const bool any = AnySampleSucceeds(from, to, (to - from) / steps, [&](double v) {
                if (polar) {
                    return Evaluate(*first, 0, 0, 0, v);
                }
                return Evaluate(*first, 0, 0, v, 0) && Evaluate(*second, 0, 0, v, 0);
            });
            if (!any) {
                noValue(polar ? f.Exp : f.Exp + "\" and \"" + f.AddExp);
            }
        }
        return;
    }
    case ftRelation: {
        const bool curve = IsImplicitCurve(f);
        const std::string expression = curve ? f.Exp : "(" + f.Exp + ")" + f.AddExp;
        auto calculator = Compile(expression, line, what);
        if (!curve && (f.PlotParameter.StepsOnX <= 0 || f.PlotParameter.StepsOnY <= 0)) {
            error("draws nothing: PlotParameter StepsOnX and StepsOnY are " +
                  std::to_string(f.PlotParameter.StepsOnX) + " and " +
                  std::to_string(f.PlotParameter.StepsOnY) + ", and a region needs cells");
            return;
        }
        if (!(Slide.View.XInterval.Min < Slide.View.XInterval.Max) ||
            !(Slide.View.YInterval.Min < Slide.View.YInterval.Max)) {
            return; // reported with the view
        }
        long double xlo = Slide.View.XInterval.Min;
        long double xhi = Slide.View.XInterval.Max;
        long double ylo = Slide.View.YInterval.Min;
        long double yhi = Slide.View.YInterval.Max;
        if (limited) {
            xlo = std::max<long double>(xlo, range.Min);
            xhi = std::min<long double>(xhi, range.Max);
        }
        if (f.AddInterval.Min < f.AddInterval.Max) {
            ylo = std::max<long double>(ylo, f.AddInterval.Min);
            yhi = std::min<long double>(yhi, f.AddInterval.Max);
        }
        if (!(xlo < xhi) || !(ylo < yhi)) {
            Add(TSeverity::Note, line,
                what + " lies outside the visible ranges: its Interval is " + interval(range) +
                    " and its AddInterval " + interval(f.AddInterval));
            return;
        }
        if (calculator) {
            const long double cw =
                (xhi - xlo) /
                std::min<long double>(curve ? GridLimit : f.PlotParameter.StepsOnX, GridLimit);
            const long double ch =
                (yhi - ylo) /
                std::min<long double>(curve ? GridLimit : f.PlotParameter.StepsOnY, GridLimit);
            const bool any = AnySampleSucceeds(ylo, yhi, ch, [&](double y) {
                return AnySampleSucceeds(
                    xlo, xhi, cw, [&](double x) { return Evaluate(*calculator, x, y, 0, 0); });
            });
            if (!any) {
                noValue(expression);
            }
        }
        return;
    }
    default:
        error("draws nothing: FunctionObjType " + std::to_string(f.FunctionObjType) +
              " is not a kind of graph (0 to 4)");
    }
}

// A text as it may stand in one line of the report: control characters become escapes, so
// a value holding a line break cannot split a finding.
std::string OneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '\n') {
            line += "\\n";
        } else if (c == '\r') {
            line += "\\r";
        } else if (c == '\t') {
            line += "\\t";
        } else if (code < 0x20 || code == 0x7F) {
            static constexpr char hex[] = "0123456789ABCDEF";
            line += "\\x";
            line += hex[code >> 4];
            line += hex[code & 0xF];
        } else {
            line += c;
        }
    }
    return line;
}

} // namespace

std::vector<TCheckFinding> CheckFile(const std::string& path, const TDrawLimits& limits) {
    try {
        return TChecker(path, limits).Run();
    } catch (const std::exception& e) {
        // Whatever else goes wrong (memory, the file system) is a finding, not a crash.
        return {{TSeverity::Error, path, 0, 0, std::string("the check failed: ") + e.what()}};
    }
}

const char* CheckCommandHelp() {
    return "curvana --check FILE...\n"
           "  Reads each file as the slide show would and reports, one finding per line\n"
           "  (FILE:LINE: error: MESSAGE, or FILE: ... where no line is known):\n"
           "  - what the file is, told by its first line: a document (<CurvanaDocument>), a\n"
           "    slide show (<CurvanaSlides>), or neither, which is an error;\n"
           "  - XML errors with line and column, and reader errors with the message the\n"
           "    slide show would show and the element's path; the first error ends the\n"
           "    reading of that document or slide, as it does in the show;\n"
           "  - errors for graphs, axis marks, grids and texts (titles, legend, labels)\n"
           "    that a limit of the drawing would cut, the whole slide drawn at 1920 x 1080\n"
           "    (the limits allow about 2 s of drawing a picture and 100000 marks an axis or\n"
           "    grid), on the line of the graph or of the setting;\n"
           "  - errors for graphs whose expression does not compile or raises, graphs that\n"
           "    cannot draw anything (Steps, StepsOnX or StepsOnY not positive, an empty\n"
           "    Interval of a polar or parametric curve, an unknown FunctionObjType, an\n"
           "    expression without a value anywhere on its range, a table of fewer than two\n"
           "    points) and an empty visible range;\n"
           "  - notes, which do not fail the check: hidden graphs (ShowEnabled 0), which the\n"
           "    presenter can switch on during the show; graphs whose Interval lies outside\n"
           "    the visible range; graphs that, drawn in the view the slide sets (on a\n"
           "    1024 x 768 picture), leave no mark in it; labels placed outside that view;\n"
           "    tick, label or grid steps that are not positive; flags (ShowEnabled, Smooth,\n"
           "    Transparent, the view's ...Enabled settings) written as neither 0 nor 1, which\n"
           "    count as off;\n"
           "  - notes on expressions, each with its column and a hint: characters that are\n"
           "    left out (Sin, X, x\xC2\xB2, 1e-3, ...), a blank inside a number, operands with\n"
           "    nothing joining them, a sign right after an operator, and a relation whose\n"
           "    AddExp is \"= 0\" where =0 draws the curve.\n"
           "  Slides of a show are read in order with one view and one graph list carried\n"
           "  from slide to slide; graphs are checked on the slides that give a Memory.\n"
           "  Exit status: 0 when no file has errors, 1 when one has, 2 for a usage error.\n";
}

int RunCheckCommand(const std::vector<std::string>& arguments, std::ostream& out,
                    std::ostream& err) {
    if (arguments.empty()) {
        err << "curvana --check: no file given\n" << CheckCommandHelp();
        return 2;
    }
    for (const std::string& argument : arguments) {
        if (argument.size() > 1 && argument[0] == '-') {
            err << "curvana --check: unknown option " << argument << "\n" << CheckCommandHelp();
            return 2;
        }
    }
    bool anyError = false;
    for (const std::string& path : arguments) {
        int errors = 0;
        int notes = 0;
        for (const TCheckFinding& finding : CheckFile(path)) {
            out << OneLine(finding.File);
            if (finding.Line > 0) {
                out << ':' << finding.Line;
                if (finding.Column > 0) {
                    out << ':' << finding.Column;
                }
            }
            switch (finding.Severity) {
            case TSeverity::Error:
                ++errors;
                out << ": error: ";
                break;
            case TSeverity::Note:
                ++notes;
                out << ": note: ";
                break;
            case TSeverity::Info:
                out << ": ";
                break;
            }
            out << OneLine(finding.Message) << '\n';
        }
        out << OneLine(path) << ": " << (errors == 0 ? "ok" : std::to_string(errors) + " error(s)");
        if (notes > 0) {
            out << ", " << notes << " note(s)";
        }
        out << '\n';
        anyError = anyError || errors > 0;
    }
    return anyError ? 1 : 0;
}

} // namespace curvana
