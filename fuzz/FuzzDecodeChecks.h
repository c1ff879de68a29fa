#pragma once
// What every picture reader's harness checks: a failed check traps, and a header-only read and
// a full read of the same bytes agree.

#include <cstddef>
#include <cstdint>

#include "imaging/DibDepths.h"

namespace tessary::fuzz {

inline void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

struct BothReads {
    bool header = false;
    bool full = false;
};

// Reads `data` headers-only into `header` and whole into `picture`. A full read must follow a
// good header read, hold pixels and have the header's size; a refused one leaves `picture`
// empty.
template <class Codec, class Picture>
BothReads ReadBothWays(Codec& codec, const uint8_t* data, size_t size, Picture& header, Picture& picture)
{
    BothReads reads;
    reads.header = codec.LoadFromMemory(header, data, size, true);
    reads.full = codec.LoadFromMemory(picture, data, size);
    if (reads.full) {
        Check(reads.header);
        Check(picture.image.IsValid());
        Check(picture.Size() == (DibSize{header.record.width, header.record.height}));
    } else {
        Check(picture.IsEmpty());
    }
    return reads;
}

} // namespace tessary::fuzz
