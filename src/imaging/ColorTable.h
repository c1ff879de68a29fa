#pragma once
// The palette of a 1-, 4- or 8-bit image: entries in pixel byte order (blue, green, red and a
// fourth byte that the default tables leave 0).

#include <cstdint>
#include <vector>

#include "imaging/DibTypes.h"

namespace tessary {

class ColorTable {
public:
    ColorTable() = default;
    explicit ColorTable(std::vector<DibColor> entries) : entries_(std::move(entries)) {}

    // The table an image of `bpp` bits gets when none is given: black and white for 1 bit, the
    // 16 standard colours for 4 bits, a grey ramp (entry i = i,i,i) for 8 bits; empty otherwise.
    static ColorTable Default(int bpp);

    int Count() const { return int(entries_.size()); }
    bool IsEmpty() const { return entries_.empty(); }
    // An index beyond the table reads as 0,0,0,0 rather than outside the table.
    DibColor At(int index) const
    {
        return index >= 0 && index < Count() ? entries_[size_t(index)] : DibColor{};
    }
    void Set(int index, DibColor c)
    {
        if (index >= 0 && index < Count())
            entries_[size_t(index)] = c;
    }
    void Resize(int count) { entries_.resize(size_t(count < 0 ? 0 : count)); }
    const DibColor* Data() const { return entries_.data(); }
    DibColor* Data() { return entries_.data(); }
    const std::vector<DibColor>& Entries() const { return entries_; }

    // The entry closest to `c` by squared distance over blue, green and red; an exact match
    // returns at once, otherwise the first of equally close entries wins. 0 for an empty table.
    int NearestIndex(DibColor c) const;

    friend bool operator==(const ColorTable&, const ColorTable&) = default;

private:
    std::vector<DibColor> entries_;
};

} // namespace tessary
