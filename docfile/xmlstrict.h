#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace curvana {

// A place where a UTF-8 XML text breaks the rules of well-formed XML.
struct TXMLFault {
    std::size_t Offset; // byte offset of the offending character or reference
    std::string Reason;
};

// The first fault, in text order, of those the parser lets pass: byte sequences that are not
// UTF-8, characters XML does not allow (control characters), a "&" that starts no reference,
// references to entities other than the five predefined ones (entities of a document type are
// never expanded here), character references that name no XML character, and an attribute
// given twice in one tag. The markup itself (tags, nesting) is the parser's to check; where it
// is broken, faults found after the parser's own error do not count.
std::optional<TXMLFault> FindXMLFault(std::string_view text);

} // namespace curvana
