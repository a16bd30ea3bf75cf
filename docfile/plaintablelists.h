#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace curvana {

// Table point lists read straight from the text, so that a large table costs no tree node per
// point. A list is taken when its content has the plain form this program writes: nothing but
// blanks and points, each point exactly
//   <TableElemObj><x>NUMBER</x><y>NUMBER</y></TableElemObj>
// with blanks allowed between the tags, every number made of digits, signs, ".", "e" and "E"
// with blanks around (as a number element may hold) and converting without error. Such a list
// reads, by the rules of the tree, as exactly these points. Its content is then overwritten with
// blanks (offsets stay), and the parser sees an empty list. Lists in any other form (comments,
// entities, attributes, other children, a number that does not convert, ...) are left to the
// tree, which reads them as it always did, errors included.
class TPlainTableLists {
public:
    struct TPoint {
        double x;
        double y;
    };

    // Takes the plain lists of a UTF-8 text without faults and answers whether it took any.
    // Numbers are converted here, with the decimal separator in effect now; a separator that a
    // plain number may contain takes no list at all.
    bool Take(std::string& text);
    // The points of the list whose element name starts at the offset; nullptr when that list
    // was not taken.
    const std::vector<TPoint>* Find(std::ptrdiff_t nameOffset) const;
    void Clear() { Lists.clear(); }

private:
    std::vector<std::pair<std::ptrdiff_t, std::vector<TPoint>>> Lists; // ascending offsets
};

} // namespace curvana
