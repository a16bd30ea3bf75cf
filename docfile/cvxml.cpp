#include "docfile/cvxml.h"

#include "common/errors.h"
#include "common/numtext.h"
#include "docfile/documenterror.h"

#include <cstring>
#include <string_view>

namespace curvana {

namespace {

bool Is(pugi::xml_node node, const char* name) {
    return std::strcmp(node.name(), name) == 0;
}

// Element children only: text, comments and instructions between elements carry nothing.
pugi::xml_node FirstElement(pugi::xml_node node) {
    pugi::xml_node child = node.first_child();
    while (child && child.type() != pugi::node_element) {
        child = child.next_sibling();
    }
    return child;
}

pugi::xml_node NextElement(pugi::xml_node node) {
    pugi::xml_node sibling = node.next_sibling();
    while (sibling && sibling.type() != pugi::node_element) {
        sibling = sibling.next_sibling();
    }
    return sibling;
}

template <typename F> void ForEachElement(pugi::xml_node node, F&& visit) {
    for (pugi::xml_node child = FirstElement(node); child; child = NextElement(child)) {
        visit(child);
    }
}

} // namespace

TXMLSource::TTextFilter TCVXML::PlainListFilter() {
    PlainLists.Clear();
    if (TableLists == TTableLists::FromTree) {
        return {};
    }
    return [this](std::string& text) { return PlainLists.Take(text); };
}

void TCVXML::LoadFromFile(const std::string& path) {
    Source.LoadFromFile(path, TXMLSource::ReadOnlyParseOptions, PlainListFilter());
}

void TCVXML::LoadFromText(std::string text) {
    Source.LoadFromText(std::move(text), TXMLSource::ReadOnlyParseOptions, PlainListFilter());
}

void TCVXML::Fail(pugi::xml_node node, EDocumentError::TKind kind,
                  const std::string& message) const {
    throw EDocumentError(kind, message, ElementPath(node), Source.LineOf(node),
                         Source.ColumnOf(node));
}

std::string TCVXML::ReadText(pugi::xml_node node) const {
    // A reader's tree keeps an element's first text as the element's value (see
    // TXMLSource::ReadOnlyParseOptions).
    std::string text = node.value();
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        switch (child.type()) {
        case pugi::node_pcdata:
        case pugi::node_cdata:
            text += child.value();
            break;
        case pugi::node_element:
            Fail(node, EDocumentError::TKind::NotText,
                 "Element does not contain a single text node");
        default:
            break;
        }
    }
    return text;
}

std::int32_t TCVXML::ReadInteger(pugi::xml_node node) const {
    const std::string text = ReadText(node);
    // Blanks after the digits are allowed, as after a real: editors and writers that put a value
    // on a line of its own leave them.
    std::string_view digits = text;
    while (!digits.empty() && (digits.back() == ' ' || digits.back() == '\t' ||
                               digits.back() == '\r' || digits.back() == '\n')) {
        digits.remove_suffix(1);
    }
    std::int32_t value = 0;
    if (TryStrToInt(digits, value)) {
        return value;
    }
    try {
        return StrToInt(text); // throws with the text as written
    } catch (const EConvertError& e) {
        Fail(node, EDocumentError::TKind::Conversion, e.what());
    }
}

std::uint8_t TCVXML::ReadByte(pugi::xml_node node) const {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(ReadInteger(node)) & 0xFFu);
}

double TCVXML::ReadReal(pugi::xml_node node) const {
    const std::string text = ReadText(node);
    try {
        return StrToFloat(text);
    } catch (const EOverflow& e) {
        Fail(node, EDocumentError::TKind::Overflow, e.what());
    } catch (const EConvertError& e) {
        Fail(node, EDocumentError::TKind::Conversion, e.what());
    }
}

TFont TCVXML::ReadFont(pugi::xml_node node) const {
    TFont result;
    ForEachElement(node, [&](pugi::xml_node child) {
        if (Is(child, "Charset")) {
            result.Charset = ReadByte(child);
        } else if (Is(child, "Color")) {
            result.Color = ReadInteger(child);
        } else if (Is(child, "Height")) {
            result.Height = ReadInteger(child);
        } else if (Is(child, "Name")) {
            result.Name = ReadText(child);
        } else if (Is(child, "Pitch")) {
            result.Pitch = ReadByte(child);
        } else if (Is(child, "PixelsPerInch")) {
            result.PixelsPerInch = ReadInteger(child);
        } else if (Is(child, "Size")) {
            result.SetSize(ReadInteger(child));
        } else if (Is(child, "Style")) {
            result.Style.Clear();
            ForEachElement(child, [&](pugi::xml_node flag) {
                if (Is(flag, "fsBold")) {
                    result.Style.Include(fsBold);
                } else if (Is(flag, "fsItalic")) {
                    result.Style.Include(fsItalic);
                } else if (Is(flag, "fsUnderline")) {
                    result.Style.Include(fsUnderline);
                } else if (Is(flag, "fsStrikeOut")) {
                    result.Style.Include(fsStrikeOut);
                }
            });
        }
    });
    return result;
}

TPlotParameter TCVXML::ReadPlotParameter(pugi::xml_node node) const {
    TPlotParameter result;
    ForEachElement(node, [&](pugi::xml_node child) {
        if (Is(child, "Steps")) {
            result.Steps = ReadInteger(child);
        }
        if (Is(child, "StepsOnX")) {
            result.StepsOnX = ReadInteger(child);
        }
        if (Is(child, "StepsOnY")) {
            result.StepsOnY = ReadInteger(child);
        }
        if (Is(child, "MaxGap")) {
            result.MaxGap = ReadInteger(child);
        }
    });
    return result;
}

TInterval TCVXML::ReadInterval(pugi::xml_node node) const {
    TInterval result;
    ForEachElement(node, [&](pugi::xml_node child) {
        if (Is(child, "Min")) {
            result.Min = ReadReal(child);
        }
        if (Is(child, "Max")) {
            result.Max = ReadReal(child);
        }
        if (Is(child, "Enabled")) {
            result.Enabled = ReadByte(child);
        }
    });
    return result;
}

TGraphStyle TCVXML::ReadGraphStyle(pugi::xml_node node) const {
    TGraphStyle result;
    ForEachElement(node, [&](pugi::xml_node child) {
        if (Is(child, "LineWidth")) {
            result.LineWidth = ReadInteger(child);
        }
        if (Is(child, "LineStyle")) {
            result.LineStyle = ReadByte(child);
        }
        if (Is(child, "LineColor")) {
            result.LineColor = ReadInteger(child);
        }
        if (Is(child, "BrushStyle")) {
            result.BrushStyle = ReadByte(child);
        }
        if (Is(child, "BrushColor")) {
            result.BrushColor = ReadInteger(child);
        }
    });
    return result;
}

std::unique_ptr<TFunctionObj> TCVXML::ReadFunctionObj(pugi::xml_node node) const {
    auto result = std::make_unique<TFunctionObj>();
    ForEachElement(node, [&](pugi::xml_node child) {
        if (Is(child, "Name")) {
            result->Name = ReadText(child);
        } else if (Is(child, "Exp")) {
            result->Exp = ReadText(child);
        } else if (Is(child, "AddExp")) {
            result->AddExp = ReadText(child);
        } else if (Is(child, "ShowEnabled")) {
            result->ShowEnabled = ReadByte(child);
        } else if (Is(child, "Description")) {
            result->Description = ReadText(child);
        } else if (Is(child, "GraphStyle")) {
            result->GraphStyle.Assign(ReadGraphStyle(child));
        } else if (Is(child, "Interval")) {
            result->Interval.Assign(ReadInterval(child));
        } else if (Is(child, "AddInterval")) {
            result->AddInterval.Assign(ReadInterval(child));
        } else if (Is(child, "PlotParameter")) {
            result->PlotParameter.Assign(ReadPlotParameter(child));
        } else if (Is(child, "FunctionObjType")) {
            result->FunctionObjType = ReadByte(child);
        }
    });
    return result;
}

// A point's x is its first child element and y its second, in that order; a child that is
// missing or named otherwise leaves the value of the previous point (0 for the first), and the
// point is appended whatever the element holds.
bool TCVXML::ReadTableElemObjList(pugi::xml_node node, TTableObj& table) const {
    if (Source.Filtered() && Source.Holds(node)) {
        if (const auto* points = PlainLists.Find(node.offset_debug())) {
            for (const TPlainTableLists::TPoint& point : *points) {
                table.AddPoint(point.x, point.y);
            }
            return true; // only lists with points are taken
        }
    }
    double x = 0;
    double y = 0;
    int count = 0;
    ForEachElement(node, [&](pugi::xml_node child) {
        if (!Is(child, "TableElemObj")) {
            return;
        }
        const pugi::xml_node first = FirstElement(child);
        if (first) {
            if (Is(first, "x")) {
                x = ReadReal(first);
            }
            const pugi::xml_node second = NextElement(first);
            if (second && Is(second, "y")) {
                y = ReadReal(second);
            }
        }
        table.AddPoint(x, y);
        ++count;
    });
    return count > 0;
}

std::unique_ptr<TTableObj> TCVXML::ReadTableObj(pugi::xml_node node) const {
    auto result = std::make_unique<TTableObj>();
    ReadTableObjInto(node, *result);
    return result;
}

void TCVXML::ReadTableObjInto(pugi::xml_node node, TTableObj& table) const {
    ForEachElement(node, [&](pugi::xml_node child) {
        if (Is(child, "Name")) {
            table.Name = ReadText(child);
        } else if (Is(child, "ShowEnabled")) {
            table.ShowEnabled = ReadByte(child);
        } else if (Is(child, "Description")) {
            table.Description = ReadText(child);
        } else if (Is(child, "GraphStyle")) {
            table.GraphStyle.Assign(ReadGraphStyle(child));
        } else if (Is(child, "Interval")) {
            table.Interval.Assign(ReadInterval(child));
        } else if (Is(child, "PlotParameter")) {
            table.PlotParameter.Assign(ReadPlotParameter(child));
        } else if (Is(child, "Smooth")) {
            table.Smooth = ReadByte(child);
        } else if (Is(child, "SortingType")) {
            table.SortingType = ReadByte(child);
        } else if (Is(child, "TableElemObjList")) {
            ReadTableElemObjList(child, table);
        }
    });
}

std::unique_ptr<TMemory> TCVXML::ReadMemory(pugi::xml_node node) const {
    auto result = std::make_unique<TMemory>();
    ForEachElement(node, [&](pugi::xml_node child) {
        if (Is(child, "FunctionObj")) {
            result->AddFunctionCopy(*ReadFunctionObj(child));
        } else if (Is(child, "TableObj")) {
            // Read into the list's own table: a copy would hold a large table twice.
            ReadTableObjInto(child, result->AddTableCopy(TTableObj()));
        }
    });
    return result;
}

void TCVXML::ReadCoordinate(pugi::xml_node node, TCoordinate& view) const {
    const auto arrow = [this](pugi::xml_node element, TAxesArrow& target) {
        ForEachElement(element, [&](pugi::xml_node child) {
            if (Is(child, "Enabled")) {
                target.Enabled = ReadByte(child);
            } else if (Is(child, "Name")) {
                target.Name = ReadText(child);
            }
        });
    };
    ForEachElement(node, [&](pugi::xml_node child) {
        const char* name = child.name();
        const auto is = [name](const char* known) { return std::strcmp(name, known) == 0; };
        if (is("XInterval")) {
            view.XInterval.Assign(ReadInterval(child));
        } else if (is("YInterval")) {
            view.YInterval.Assign(ReadInterval(child));
        } else if (is("PlotParameter")) {
            view.PlotParameter.Assign(ReadPlotParameter(child));
        } else if (is("AxesStyle")) {
            view.AxesStyle = ReadByte(child);
        } else if (is("BackgroundColor")) {
            view.BackgroundColor = ReadInteger(child);
        } else if (is("EqualScaleEnabled")) {
            view.EqualScaleEnabled = ReadByte(child);
        } else if (is("XAxesDirection")) {
            view.XAxesDirection = ReadByte(child);
        } else if (is("YAxesDirection")) {
            view.YAxesDirection = ReadByte(child);
        } else if (is("XAxesGraphStyle")) {
            view.XAxesGraphStyle.Assign(ReadGraphStyle(child));
        } else if (is("YAxesGraphStyle")) {
            view.YAxesGraphStyle.Assign(ReadGraphStyle(child));
        } else if (is("XArrow")) {
            arrow(child, view.XArrow);
        } else if (is("YArrow")) {
            arrow(child, view.YArrow);
        } else if (is("XAxesTicksStep")) {
            view.XAxesTicksStep = ReadReal(child);
        } else if (is("XAxesTicksLength")) {
            view.XAxesTicksLength = ReadInteger(child);
        } else if (is("YAxesTicksStep")) {
            view.YAxesTicksStep = ReadReal(child);
        } else if (is("YAxesTicksLength")) {
            view.YAxesTicksLength = ReadInteger(child);
        } else if (is("XAxesLabelsStep")) {
            view.XAxesLabelsStep = ReadReal(child);
        } else if (is("XAxesLabelsString")) {
            view.XAxesLabelsString = ReadText(child);
        } else if (is("YAxesLabelsStep")) {
            view.YAxesLabelsStep = ReadReal(child);
        } else if (is("YAxesLabelsString")) {
            view.YAxesLabelsString = ReadText(child);
        } else if (is("XAxesLabelSide")) {
            view.XAxesLabelSide = ReadByte(child);
        } else if (is("YAxesLabelSide")) {
            view.YAxesLabelSide = ReadByte(child);
        } else if (is("TitleTopEnabled")) {
            view.TitleTopEnabled = ReadByte(child);
        } else if (is("TitleTop")) {
            view.TitleTop = ReadText(child);
        } else if (is("TitleTopFont")) {
            view.TitleTopFont.Assign(ReadFont(child));
        } else if (is("TitleBottomEnabled")) {
            view.TitleBottomEnabled = ReadByte(child);
        } else if (is("TitleBottom")) {
            view.TitleBottom = ReadText(child);
        } else if (is("TitleBottomFont")) {
            view.TitleBottomFont.Assign(ReadFont(child));
        } else if (is("TitleLeftEnabled")) {
            view.TitleLeftEnabled = ReadByte(child);
        } else if (is("TitleLeft")) {
            view.TitleLeft = ReadText(child);
        } else if (is("TitleLeftFont")) {
            view.TitleLeftFont.Assign(ReadFont(child));
        } else if (is("TitleRightEnabled")) {
            view.TitleRightEnabled = ReadByte(child);
        } else if (is("TitleRight")) {
            view.TitleRight = ReadText(child);
        } else if (is("TitleRightFont")) {
            view.TitleRightFont.Assign(ReadFont(child));
        } else if (is("LegendEnabled")) {
            view.LegendEnabled = ReadByte(child);
        } else if (is("ShowSampleEnabled")) {
            view.ShowSampleEnabled = ReadByte(child);
        } else if (is("TextColorAsGraphEnabled")) {
            view.TextColorAsGraphEnabled = ReadByte(child);
        } else if (is("LegendPosition")) {
            view.LegendPosition = ReadByte(child);
        } else if (is("GridHorEnabled")) {
            view.GridHorEnabled = ReadByte(child);
        } else if (is("GridHorStep")) {
            view.GridHorStep = ReadReal(child);
        } else if (is("GridHorGraphStyle")) {
            view.GridHorGraphStyle.Assign(ReadGraphStyle(child));
        } else if (is("GridVerEnabled")) {
            view.GridVerEnabled = ReadByte(child);
        } else if (is("GridVerStep")) {
            view.GridVerStep = ReadReal(child);
        } else if (is("GridVerGraphStyle")) {
            view.GridVerGraphStyle.Assign(ReadGraphStyle(child));
        } else if (is("GridRadialEnabled")) {
            view.GridRadialEnabled = ReadByte(child);
        } else if (is("GridRadialStep")) {
            view.GridRadialStep = ReadReal(child);
        } else if (is("GridRadialGraphStyle")) {
            view.GridRadialGraphStyle.Assign(ReadGraphStyle(child));
        } else if (is("GridAngularEnabled")) {
            view.GridAngularEnabled = ReadByte(child);
        } else if (is("GridAngularStep")) {
            view.GridAngularStep = ReadReal(child);
        } else if (is("GridAngularGraphStyle")) {
            view.GridAngularGraphStyle.Assign(ReadGraphStyle(child));
        }
    });
}

TAddLabelData TCVXML::ReadAddLabel(pugi::xml_node node) const {
    TAddLabelData result;
    ForEachElement(node, [&](pugi::xml_node child) {
        if (Is(child, "Caption")) {
            result.Caption = ReadText(child);
        } else if (Is(child, "Color")) {
            result.Color = ReadInteger(child);
        } else if (Is(child, "Transparent")) {
            result.Transparent = ReadByte(child);
        } else if (Is(child, "Font")) {
            result.Font.Assign(ReadFont(child));
        } else if (Is(child, "x")) {
            result.x = ReadReal(child);
        } else if (Is(child, "y")) {
            result.y = ReadReal(child);
        }
    });
    return result;
}

} // namespace curvana
