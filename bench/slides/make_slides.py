#!/usr/bin/env python3
"""Writes the redraw benchmark's slides into this folder: python3 make_slides.py"""
import math
import os
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))


def style(color, width=1, line=0, brush_style=1, brush_color=16777215):
    return (f"<GraphStyle><LineWidth>{width}</LineWidth><LineStyle>{line}</LineStyle>"
            f"<LineColor>{color}</LineColor><BrushStyle>{brush_style}</BrushStyle>"
            f"<BrushColor>{brush_color}</BrushColor></GraphStyle>")


def function(name, kind, exp, add="", color=0, interval=(0, 0), steps=500, on_x=50, on_y=50,
             max_gap=300, brush_style=1, brush_color=16777215):
    return (f"    <FunctionObj><Name>{name}</Name><Exp>{escape(exp)}</Exp><AddExp>{escape(add)}</AddExp>"
            f"<ShowEnabled>1</ShowEnabled>{style(color, 2, 0, brush_style, brush_color)}"
            f"<Interval><Min>{interval[0]}</Min><Max>{interval[1]}</Max><Enabled>1</Enabled>"
            f"</Interval><PlotParameter><Steps>{steps}</Steps><StepsOnX>{on_x}</StepsOnX>"
            f"<StepsOnY>{on_y}</StepsOnY><MaxGap>{max_gap}</MaxGap></PlotParameter>"
            f"<FunctionObjType>{kind}</FunctionObjType></FunctionObj>\n")


def coordinate(xmin, xmax, ymin, ymax, extra=""):
    return (f"  <Coordinate>\n    <XInterval><Min>{xmin}</Min><Max>{xmax}</Max>"
            f"<Enabled>1</Enabled></XInterval>\n    <YInterval><Min>{ymin}</Min><Max>{ymax}</Max>"
            f"<Enabled>1</Enabled></YInterval>\n{extra}  </Coordinate>\n")


def document(name, graphs, coord):
    text = ("<CurvanaDocument>\n  <Memory>\n" + "".join(graphs) + "  </Memory>\n" + coord +
            "</CurvanaDocument>\n")
    with open(os.path.join(HERE, name), "w", encoding="utf-8") as f:
        f.write(text)


ALL_GRIDS = (
    "    <TitleTopEnabled>1</TitleTopEnabled><TitleTop>Many curves, every grid</TitleTop>\n"
    "    <TitleBottomEnabled>1</TitleBottomEnabled><TitleBottom>x</TitleBottom>\n"
    "    <TitleLeftEnabled>1</TitleLeftEnabled><TitleLeft>y</TitleLeft>\n"
    "    <TitleRightEnabled>1</TitleRightEnabled><TitleRight>right</TitleRight>\n"
    "    <LegendEnabled>1</LegendEnabled><LegendPosition>0</LegendPosition>\n"
    "    <XAxesTicksStep>0.5</XAxesTicksStep><YAxesTicksStep>0.5</YAxesTicksStep>\n"
    "    <GridHorEnabled>1</GridHorEnabled><GridHorStep>0.5</GridHorStep>\n"
    "    <GridVerEnabled>1</GridVerEnabled><GridVerStep>0.5</GridVerStep>\n"
    "    <GridRadialEnabled>1</GridRadialEnabled><GridRadialStep>1</GridRadialStep>\n"
    "    <GridAngularEnabled>1</GridAngularEnabled><GridAngularStep>0.125</GridAngularStep>\n")

document("explicit-curves.xml", [
    function("sine", 0, "3*sin(x)", color=255, steps=1000),
    function("cosine", 0, "3*cos(x)", color=65280, steps=1000),
    function("tangent", 0, "tan(x)", color=16711680, steps=1000),
    function("parabola", 0, "x^2/4-5", color=128),
    function("hyperbola", 0, "1/x", color=32768, steps=1000),
    function("exponential", 0, "exp(x/2)-3", color=8388608),
    function("logarithm", 0, "ln(x)*2", color=8421376),
    function("root", 0, "sqrt(x+10)", color=8388736),
    function("cubic", 0, "x^3/20-x", color=32896),
    function("damped", 0, "5*exp(-abs(x)/4)*sin(3*x)", color=4210752, steps=2000),
    function("inverse", 1, "y^2/8-6", color=16744448),
    function("rose", 2, "6*sin(4*a)", color=33023, interval=(0, 2), steps=2000),
    function("lissajous", 3, "8*sin(3*t)", "8*cos(5*t)", color=16711935,
             interval=(0, 6.2832), steps=2000),
], coordinate(-10, 10, -10, 10, ALL_GRIDS))

document("implicit-circle.xml", [function("circle", 4, "x^2+y^2-25", "=0", color=255)],
         coordinate(-10, 10, -10, 10))

document("implicit-lemniscate.xml",
         [function("lemniscate", 4, "(x^2+y^2)^2-8*(x^2-y^2)", "=0", color=16711680)],
         coordinate(-4, 4, -3, 3))

# Curves the subdivision finds only by splitting every cell: off-centre circles whose corners
# all lie outside them, and rings of sin(x^2+y^2) = 0 that narrow toward the corners.
document("implicit-offcentre.xml", [
    function("circle", 4, "(x-3)^2+(y-2)^2-4", "=0", color=255),
    function("two circles", 4, "(x^2+y^2-1)*((x-6)^2+(y-6)^2-1)", "=0", color=16711680),
    function("rings", 4, "sin(x^2+y^2)", "=0", color=32768),
], coordinate(-10, 10, -10, 10))

# x^y = y^x: the line y = x and a curve through (2, 4) and (4, 2), crossing at (e, e); the
# powers fail for negative bases with fractional exponents.
document("implicit-singular.xml", [function("power", 4, "x^y-y^x", "=0", color=32768)],
         coordinate(-1, 8, -1, 8))

document("region-200.xml", [
    function("disc", 4, "x^2+y^2-49", "<0", color=0, on_x=200, on_y=200, brush_style=0,
             brush_color=11204095),
    function("waves", 4, "sin(x)*cos(y)", ">0.5", color=0, on_x=200, on_y=200,
             brush_style=5, brush_color=128),
], coordinate(-10, 10, -10, 10))

points = []
for i in range(10000):
    x = -10 + 20 * i / 9999
    y = 6 * math.sin(x) * math.exp(-x * x / 80) + 0.3 * math.sin(37 * x)
    points.append(f"<TableElemObj><x>{x:.4f}</x><y>{y:.4f}</y></TableElemObj>\n")
table = ("    <TableObj><Name>samples</Name><ShowEnabled>1</ShowEnabled>" + style(255, 1) +
         "<Smooth>1</Smooth>\n      <TableElemObjList>\n" + "".join(points) +
         "      </TableElemObjList>\n    </TableObj>\n")
document("table-10000-smooth.xml", [table],
         coordinate(-10, 10, -10, 10, "    <LegendEnabled>1</LegendEnabled>\n"))
