#pragma once
// One parsed term of a search query.

#include <QString>

namespace tessary {

enum TermKind : int {
    TermKindAny = 0,      // bare word or quoted phrase: the item name or any tag value
    TermKindItemName = 1, // field name "itemname"
    TermKindTag = 2,      // any other field name
};

struct SearchTerm {
    int kind = TermKindAny;
    QString value;  // normalised and lower-cased; may be empty (it then matches nothing)
    QString tagKey; // TermKindTag only: MakeTagKey of the field name
    bool exact = false; // operator ":="

    void Reset() { *this = SearchTerm(); }
    bool operator==(const SearchTerm&) const = default;
};

} // namespace tessary
