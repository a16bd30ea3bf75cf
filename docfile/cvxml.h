#pragma once

#include "docfile/addlabeldata.h"
#include "docfile/documenterror.h"
#include "docfile/plaintablelists.h"
#include "docfile/xmlsource.h"
#include "model/functionobj.h"
#include "model/graphstyle.h"
#include "model/interval.h"
#include "model/memory.h"
#include "model/plotparameter.h"
#include "model/tableobj.h"
#include "view/coordinate.h"
#include "view/font.h"

#include <pugixml.hpp>

#include <cstdint>
#include <memory>
#include <string>

namespace curvana {

// The document reader: loads a document file and reads its elements into model objects and
// view settings. Every reading operation takes an element of any loaded document; positions in
// errors are known for elements of the document this reader loaded, and so are the points of
// lists read from the text (another reader sees such a list empty).
//
// Leaf values ("a single text node"):
//   <Exp>x^2</Exp>                 "x^2"
//   <Exp/>, <Exp></Exp>            ""  (the empty text: an error for every number)
//   <Exp>  </Exp>                  "  " (blanks are a value when they are all there is)
//   <Exp><![CDATA[x<1]]></Exp>     "x<1" (character data is text)
//   <Exp>x<!-- c -->+1</Exp>       "x+1" (comments and instructions drop out; the pieces of
//                                        text and character data left are joined, as the
//                                        slide show splitting joins them)
//   <Exp>x<b/></Exp>               "Element does not contain a single text node"
// Failures are EDocumentError with the element's path and line; what was written into a target
// before the failure stays written.
class TCVXML {
public:
    // Where table points are read: FromText takes lists in the plain form this program writes
    // straight from the text, without a tree node per point (see plaintablelists.h), and
    // leaves the rest to the tree; FromTree reads every list from the tree. Both read the same
    // points and fail with the same errors.
    enum class TTableLists { FromText, FromTree };

    explicit TCVXML(TTableLists tableLists = TTableLists::FromText) : TableLists(tableLists) {}

    // The document component: load and reach the root. Throws EDocumentError.
    void LoadFromFile(const std::string& path);
    void LoadFromText(std::string text);
    bool Active() const { return Source.Active(); }
    pugi::xml_node DocumentElement() const { return Source.DocumentElement(); }
    const TXMLSource& XMLSource() const { return Source; }

    // A new font with the given children applied in document order: Size sets the height from
    // the resolution read so far, Height sets it directly, PixelsPerInch only the resolution.
    TFont ReadFont(pugi::xml_node node) const;
    TPlotParameter ReadPlotParameter(pugi::xml_node node) const;
    TInterval ReadInterval(pugi::xml_node node) const;
    TGraphStyle ReadGraphStyle(pugi::xml_node node) const;
    std::unique_ptr<TFunctionObj> ReadFunctionObj(pugi::xml_node node) const;
    // Appends the points of a TableElemObjList; answers whether it appended any. Each
    // TableElemObj child appends one point: x from its first child element when that is named
    // x, y from its second when that is named y, otherwise the previous point's value (0 for the
    // first point). Text and comments between the children do not count; children of the list
    // with other names are skipped.
    bool ReadTableElemObjList(pugi::xml_node node, TTableObj& table) const;
    std::unique_ptr<TTableObj> ReadTableObj(pugi::xml_node node) const;
    std::unique_ptr<TMemory> ReadMemory(pugi::xml_node node) const;
    // Writes the settings the element names into the view and leaves the others as they are.
    // Compounds replace their target as a whole; an arrow is written field by field.
    void ReadCoordinate(pugi::xml_node node, TCoordinate& view) const;
    TAddLabelData ReadAddLabel(pugi::xml_node node) const;

    // Leaf conversions, public for readers of further element kinds. Numbers may stand between
    // blanks (space, tab, CR, LF) on both sides: " 12\n" is 12 and " 0.5 " is 0.5; blanks inside
    // a number are not allowed.
    std::string ReadText(pugi::xml_node node) const;
    std::int32_t ReadInteger(pugi::xml_node node) const;
    // Booleans and enumerations keep the low 8 bits of the integer (256 reads as 0).
    std::uint8_t ReadByte(pugi::xml_node node) const;
    double ReadReal(pugi::xml_node node) const;

private:
    TXMLSource::TTextFilter PlainListFilter();
    void ReadTableObjInto(pugi::xml_node node, TTableObj& table) const;
    [[noreturn]] void Fail(pugi::xml_node node, EDocumentError::TKind kind,
                           const std::string& message) const;

    TTableLists TableLists;
    TPlainTableLists PlainLists;
    TXMLSource Source;
};

} // namespace curvana
