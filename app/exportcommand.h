#pragma once

#include "docfile/addlabeldata.h"
#include "view/canvas.h"
#include "view/coordinate.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace curvana {

enum class TExportFormat { Png, Svg, Pdf };

struct TExportOptions {
    std::string OutputDirectory;
    std::string File;
    std::int32_t Width = 1920;
    std::int32_t Height = 1080;
    TExportFormat Format = TExportFormat::Png;
    // Device pixels per pixel of the layout: a PNG of Scale times the size, the same slide.
    double Scale = 1;
    // Curves, axes and grids antialiased.
    bool Smooth = false;
};

// Largest picture side --size accepts, largest --scale, and largest side of a scaled picture.
constexpr std::int32_t MaxExportSide = 10000;
constexpr double MaxExportScale = 4;
constexpr std::int32_t MaxExportDeviceSide = 20000;

// Reads the arguments after --export: OUTDIR [--size WxH] [--scale F] [--smooth]
// [--format png|svg|pdf] FILE, the options anywhere. False with the reason in error for a
// usage error.
bool ParseExportArguments(const std::vector<std::string>& arguments, TExportOptions& options,
                          std::string& error);

// "slide-01.png" ... : the number padded to the digits of the slide count, at least two.
std::string ExportFileName(std::size_t number, std::size_t count, const std::string& extension);

// Draws a free text label where the slide window puts it: its top-left corner on the pixel of
// its world position, in its font, on a box of its colour unless it is transparent; a caption
// of several lines stacks them. The canvas's pen, brush and font are left as they were.
void PaintAddLabel(TCanvas& canvas, TCoordinate& view, const TAddLabelData& label);

// `curvana --export`: renders the document, or every slide of the slide show in order, as the
// show draws it (one view whose settings carry over, the graph list replaced by each Memory
// element, the labels of each slide) into OUTDIR: slide-NN.png or .svg per slide, or one
// slides.pdf with a page per slide. A slide that cannot be read is reported on err with its
// number and left out; one whose drawing fails is reported and written as far as it was drawn
// (in every format alike); the others are still written. A slide that a drawing limit cut is
// written as drawn, with a line on err naming what was cut. A line per slide goes to err when
// progress is set. Exit code: 0 when every slide was written, 1 when one failed or nothing could be
// read or written, 2 for a usage error. Needs no display: it makes its own offscreen application
// when there is none.
// `limits` are the drawing limits the slides are drawn with (tests make them small).
int RunExportCommand(const std::vector<std::string>& arguments, std::ostream& out,
                     std::ostream& err, bool progress, const TDrawLimits& limits = {});

// The text --help shows for --export.
const char* ExportCommandHelp();

} // namespace curvana
