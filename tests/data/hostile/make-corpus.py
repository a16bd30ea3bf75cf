#!/usr/bin/env python3
"""Writes the hostile documents and slide shows of this folder: files that must either render
or be refused with a clear message, never crash or hang. Run it from anywhere; it rewrites the
files next to itself. The big cases (a million table points, 100,000 graphs, a megabyte
expression, a million nested elements, 10,000 slides) are made by the test at run time, so
they never enter the repository."""

import os
import random
import re

HERE = os.path.dirname(os.path.abspath(__file__))


def leaf(name, value):
    return f"<{name}>{value}</{name}>"


def style(width=1, color=255, brush_style=1):
    return ("<GraphStyle>" + leaf("LineWidth", width) + leaf("LineStyle", 0) +
            leaf("LineColor", color) + leaf("BrushStyle", brush_style) +
            leaf("BrushColor", 16777215) + "</GraphStyle>")


def interval(tag, lo=0, hi=0, enabled=0):
    return f"<{tag}>" + leaf("Min", lo) + leaf("Max", hi) + leaf("Enabled", enabled) + f"</{tag}>"


def plot(steps=500, on_x=50, on_y=50, gap=300):
    return ("<PlotParameter>" + leaf("Steps", steps) + leaf("StepsOnX", on_x) +
            leaf("StepsOnY", on_y) + leaf("MaxGap", gap) + "</PlotParameter>")


def function(exp, kind=0, add_exp="", steps=None, rng=None, add_rng=None, width=1):
    return ("<FunctionObj>" + leaf("Name", "f") + leaf("Exp", exp) + leaf("AddExp", add_exp) +
            leaf("ShowEnabled", 1) + leaf("Description", "d") + style(width) +
            (rng or interval("Interval")) + (add_rng or interval("AddInterval")) +
            (steps or plot()) + leaf("FunctionObjType", kind) + "</FunctionObj>")


def table(points, smooth=0, steps=None):
    return ("<TableObj>" + leaf("Name", "t") + leaf("ShowEnabled", 1) + style(2) +
            interval("Interval") + (steps or plot()) + leaf("Smooth", smooth) +
            leaf("SortingType", 0) + "<TableElemObjList>" +
            "".join("<TableElemObj>" + leaf("x", x) + leaf("y", y) + "</TableElemObj>"
                    for x, y in points) + "</TableElemObjList></TableObj>")


def every_kind(steps=None, rng=None, add_rng=None):
    """One graph of every kind, so a setting reaches every plotter."""
    return ("<Memory>" +
            function("sin(x)", 0, steps=steps, rng=rng) +
            function("y^2", 1, steps=steps, rng=rng) +
            function("2+sin(3a)", 2, steps=steps, rng=rng) +
            function("cos(t)", 3, "sin(t)", steps=steps, rng=rng) +
            function("x^2+y^2-4", 4, "=0", steps=steps, rng=rng, add_rng=add_rng) +
            function("x*y", 4, ">1", steps=steps, rng=rng, add_rng=add_rng) +
            table([(-2, 1), (0, -1), (1, 3), (3, 0)], smooth=1, steps=steps) +
            "</Memory>")


def coordinate(**settings):
    return "<Coordinate>" + "".join(leaf(k, v) for k, v in settings.items()) + "</Coordinate>"


def document(*parts):
    return "<CurvanaDocument>" + "".join(parts) + "</CurvanaDocument>\n"


def view_steps(value, axes_style):
    return coordinate(AxesStyle=axes_style, XAxesTicksStep=value, YAxesTicksStep=value,
                      XAxesLabelsStep=value, YAxesLabelsStep=value, GridHorEnabled=1,
                      GridHorStep=value, GridVerEnabled=1, GridVerStep=value,
                      GridRadialEnabled=1, GridRadialStep=value, GridAngularEnabled=1,
                      GridAngularStep=value, LegendEnabled=1)


def font(tag, height, size):
    return (f"<{tag}>" + leaf("Name", "DejaVu Sans") + leaf("Height", height) +
            leaf("Size", size) + leaf("Color", 0) + leaf("Style", 255) + leaf("Charset", 0) +
            leaf("Pitch", 0) + leaf("PixelsPerInch", 96) + f"</{tag}>")


def files():
    out = {}
    # Steps of every plotter: none, one, the largest integer, negative.
    for v in ["0", "1", "-5", "2147483647"]:
        out[f"plot-steps-{v}.xml"] = document(every_kind(plot(steps=v)))
        out[f"plot-stepsxy-{v}.xml"] = document(every_kind(plot(on_x=v, on_y=v)))
        out[f"plot-maxgap-{v}.xml"] = document(every_kind(plot(gap=v)))
    # Tick, label and grid steps in both axes styles.
    for name, v in [("0", "0"), ("negative", "-1"), ("nan", "NaN"), ("inf", "INF"),
                    ("tiny", "1e-300"), ("huge", "1e308")]:
        for axes_style in (0, 1):
            out[f"view-steps-{name}-style{axes_style}.xml"] = document(
                every_kind(), view_steps(v, axes_style))
    # Ranges: empty, reversed, enormous, beyond the double range.
    def ranges(lo, hi):
        return coordinate(XInterval=f"{leaf('Min', lo)}{leaf('Max', hi)}{leaf('Enabled', 1)}",
                          YInterval=f"{leaf('Min', lo)}{leaf('Max', hi)}{leaf('Enabled', 1)}")
    out["range-min-equals-max.xml"] = document(
        every_kind(rng=interval("Interval", 3, 3, 1), add_rng=interval("AddInterval", 3, 3, 1)),
        ranges(5, 5))
    out["range-reversed.xml"] = document(every_kind(), ranges(10, -10))
    out["range-1e308.xml"] = document(
        every_kind(rng=interval("Interval", -1e308, 1e308, 1),
                   add_rng=interval("AddInterval", -1e308, 1e308, 1)),
        ranges("-1e308", "1e308"), view_steps(1, 0))
    out["range-1e308-boxed.xml"] = document(every_kind(), ranges("-1e308", "1e308"),
                                            view_steps(1, 1))
    out["range-tiny-1e-300.xml"] = document(every_kind(), ranges("0", "1e-300"),
                                            view_steps("1e-300", 0))
    out["range-near-1e308.xml"] = document(every_kind(), ranges("1e308", "1.7e308"))
    out["range-beyond-double.xml"] = document(every_kind(), ranges("-1e309", "1e309"))
    out["range-nan-text.xml"] = document(every_kind(), ranges("NaN", "INF"))
    # Odd numbers in every kind of leaf.
    out["graph-kinds-unknown.xml"] = document(
        "<Memory>" + function("x", 5) + function("x", 255) + function("x", -1) +
        function("x", 256) + "</Memory>")
    out["graph-expressions-broken.xml"] = document(
        "<Memory>" + "".join(function(e, k, a) for e, k, a in [
            ("", 0, ""), ("((((", 0, ""), (")))", 0, ""), ("+-*/^", 0, ""), ("1e999", 0, ""),
            ("sqrt(-1)", 0, ""), ("1/0", 3, "ln(0)"), ("x", 4, ""), ("x", 4, "=0 =0"),
            ("0", 4, "=0"), ("1", 4, ">0"), ("TempVariable1", 0, ""), ("x^99999", 1, ""),
            ("(" * 5000 + "x" + ")" * 5000, 0, ""), ("-" * 10000 + "x", 0, ""),
            ("x" * 10000, 0, "")]) + "</Memory>")
    out["graph-style-extremes.xml"] = document(
        "<Memory>" + function("x", width=2147483647) + function("x", width=-2147483648) +
        function("x", width=0) + "</Memory>",
        coordinate(BackgroundColor=-1, XAxesTicksLength=2147483647,
                   YAxesTicksLength=-2147483648, XAxesDirection=255, YAxesDirection=0,
                   LegendEnabled=1, LegendPosition=255, AxesStyle=7, EqualScaleEnabled=1,
                   XAxesLabelsString="\u00e9" * 300, YAxesLabelsString="%s%n%d"))
    out["fonts-extremes.xml"] = document(
        every_kind(),
        coordinate(TitleTopEnabled=1, TitleTop="Top", TitleBottomEnabled=1, TitleBottom="B",
                   TitleLeftEnabled=1, TitleLeft="L", TitleRightEnabled=1, TitleRight="R",
                   LegendEnabled=1)[:-len("</Coordinate>")] +
        font("TitleTopFont", -2147483648, 2147483647) + font("TitleBottomFont", 2147483647, 0) +
        font("TitleLeftFont", 0, -2147483648) + font("TitleRightFont", 100000, 100000) +
        "</Coordinate>",
        "<AddLabels><AddLabel>" + leaf("Caption", "label") + leaf("Color", 0) +
        leaf("Transparent", 0) + font("Font", -2147483648, 2147483647)[:] + leaf("x", "1e308") +
        leaf("y", "-1e308") + "</AddLabel></AddLabels>")
    out["tables-odd.xml"] = document(
        "<Memory>" + table([]) + table([(0, 0)], smooth=1) + table([(1, 1)] * 50, smooth=1) +
        table([("1e308", "-1e308"), ("-1e308", "1e308"), (0, 0)], smooth=1) +
        table([("1e-300", 0), ("2e-300", 1), ("3e-300", 0)], smooth=1) + "</Memory>")
    out["table-nan-point.xml"] = document(
        "<Memory>" + table([("NaN", 0)]) + "</Memory>")
    # Markup: attributes everywhere, entity bombs, declarations, broken text.
    base = document(every_kind(), view_steps(1, 0),
                    "<AddLabels><AddLabel>" + leaf("Caption", "a") + "</AddLabel></AddLabels>")
    # Every start tag but the root's (which must stand alone on the first line) gets
    # attributes, including one with escaped markup.
    decorated = re.sub(r"<(\w+)>", r'<\1 a="1" b="&lt;x&gt;">', base)
    out["attributes-everywhere.xml"] = decorated.replace(
        '<CurvanaDocument a="1" b="&lt;x&gt;">', "<CurvanaDocument>", 1)
    bomb = ('<!DOCTYPE CurvanaDocument [<!ENTITY lol "lol">' + "".join(
        f'<!ENTITY lol{i} "' + f"&lol{i - 1 if i > 1 else ''};" * 10 + '">'
        for i in range(1, 10)) + "]>")
    out["entity-bomb.xml"] = "<CurvanaDocument>" + bomb + "</CurvanaDocument>\n"
    out["entity-bomb-after-root.xml"] = (
        bomb + document("<Memory>" + function("&lol9;") + "</Memory>"))
    out["entity-bomb-in-show.sld"] = "<CurvanaSlides>" + bomb + document(
        "<Memory>" + function("&lol9;") + "</Memory>") + "</CurvanaSlides>\n"
    out["external-entity.xml"] = (
        '<CurvanaDocument><!DOCTYPE x [<!ENTITY e SYSTEM "file:///etc/passwd">]>' +
        "<Coordinate>" + leaf("TitleTopEnabled", 1) + leaf("TitleTop", "&e;") +
        "</Coordinate></CurvanaDocument>\n")
    out["declaration-first.xml"] = '<?xml version="1.0"?>\n' + base
    out["byte-order-mark.xml"] = "\ufeff" + base
    out["empty.xml"] = ""
    out["empty.sld"] = ""
    out["only-root-tag.xml"] = "<CurvanaDocument>"
    out["truncated.xml"] = base[:len(base) // 2]
    out["truncated.sld"] = ("<CurvanaSlides>" + base + base)[: len(base) * 3 // 2]
    out["unknown-elements.xml"] = document("<Foo><Memory>" + function("x") + "</Memory></Foo>",
                                           "<memory/><COORDINATE/><x:Memory xmlns:x='u'/>")
    out["leaf-holds-elements.xml"] = document(
        "<Memory><FunctionObj><Exp><b>x</b></Exp></FunctionObj></Memory>")
    out["cdata-and-comments.xml"] = document(
        "<Memory><FunctionObj><Exp><![CDATA[x]]><!-- c -->^2</Exp><ShowEnabled>1"
        "</ShowEnabled></FunctionObj></Memory>")
    out["numbers-odd.xml"] = document(
        "<Memory>" + function("x", rng=interval("Interval", " 1 ", "$10", "0x1")) + "</Memory>",
        coordinate(BackgroundColor="99999999999", LegendEnabled="-0"))
    return out


def binary_files():
    out = {}
    rnd = random.Random(20261210)
    out["random-bytes.xml"] = bytes(rnd.getrandbits(8) for _ in range(4096))
    out["random-bytes-after-tag.xml"] = b"<CurvanaDocument>" + bytes(
        rnd.getrandbits(8) for _ in range(4096))
    out["random-bytes-after-tag.sld"] = b"<CurvanaSlides>" + bytes(
        rnd.getrandbits(8) for _ in range(4096))
    bad = b"\xff\xfe\xc0\x80\xed\xa0\x80\xf4\x90\x80\x80"
    out["invalid-utf8.xml"] = (
        b"<CurvanaDocument><Memory><FunctionObj><Name>" + bad + b"</Name><Exp>x" + bad +
        b"</Exp><ShowEnabled>1</ShowEnabled></FunctionObj></Memory><Coordinate>"
        b"<TitleTopEnabled>1</TitleTopEnabled><TitleTop>" + bad + b"</TitleTop>"
        b"<XAxesLabelsString>" + bad + b"</XAxesLabelsString></Coordinate><AddLabels><AddLabel>"
        b"<Caption>" + bad + b"</Caption></AddLabel></AddLabels></CurvanaDocument>\n")
    out["invalid-utf8-name.xml"] = b"<CurvanaDocument><Mem\xffory/><\xc0\x80/></CurvanaDocument>"
    out["nul-bytes.xml"] = (b"<CurvanaDocument><Memory><FunctionObj><Exp>x\0+1</Exp>"
                            b"<ShowEnabled>1</ShowEnabled></FunctionObj></Memory>"
                            b"</CurvanaDocument>\0\0")
    out["utf16.xml"] = document(every_kind()).encode("utf-16")
    return out


def shows():
    out = {}
    slides = [
        document(every_kind()),
        document("<Memory/>", view_steps("0", 0)),
        "<CurvanaDocument/>",
        document("<CurvanaDocument>" + every_kind() + "</CurvanaDocument>"),
        document(every_kind(plot(steps="2147483647"))),
    ]
    out["show-mixed.sld"] = "<CurvanaSlides>" + "".join(slides) + "<Other/>text</CurvanaSlides>"
    out["show-no-slides.sld"] = "<CurvanaSlides><Foo/></CurvanaSlides>"
    out["show-root-only.sld"] = "<CurvanaSlides>"
    out["show-bad-slide-in-middle.sld"] = (
        "<CurvanaSlides>" + slides[0] + document(coordinate(GridHorStep="abc")) + slides[0] +
        "</CurvanaSlides>")
    out["show-wrong-root.sld"] = "<CurvanaSlides/><x/>"
    out["show-attributes.sld"] = ('<CurvanaSlides a="1"><CurvanaDocument b="2">' +
                                  every_kind() + "</CurvanaDocument></CurvanaSlides>")
    return out


def main():
    for name, text in {**files(), **shows()}.items():
        with open(os.path.join(HERE, name), "w", encoding="utf-8", newline="") as f:
            f.write(text)
    for name, data in binary_files().items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
