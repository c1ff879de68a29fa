#pragma once
// The area-averaging shrink of Resampler.h fed one source row at a time, so that a picture
// is shrunk without ever being held whole: only the accumulators of the destination rows
// still open (two when shrinking) live at once. The result is byte for byte what
// ResizeInto(..., smooth = true) gives for the whole picture: the sums are exact integers, so
// the order in which rows arrive does not matter.
// One thread at a time; throws std::bad_alloc (callers run it under detail::Guarded).

#include <cstdint>
#include <memory>

namespace tessary {

class DibImage;

class AreaRowResampler {
public:
    // `target` is a 24-bit image of the destination size, already made; rows of srcW
    // blue-green-red pixels arrive top row first, or bottom row first when `bottomUp`.
    AreaRowResampler(int srcW, int srcH, DibImage& target, bool bottomUp);
    ~AreaRowResampler();
    AreaRowResampler(const AreaRowResampler&) = delete;
    AreaRowResampler& operator=(const AreaRowResampler&) = delete;

    // The next source row (srcW * 3 bytes); rows beyond srcH are ignored.
    void Push(const uint8_t* row);
    // Every source row has arrived, so every destination row is written.
    bool Done() const;
    // Bytes held by the accumulators at their largest so far (for the benchmarks).
    int64_t PeakBytes() const;

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

} // namespace tessary
