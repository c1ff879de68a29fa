#include "Resampler.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

#include "imaging/DibImage.h"
#include "imaging/PixelFormat.h"
#include "imaging/RowResampler.h"

namespace tessary::detail {

// Shared by the whole-picture and the row-by-row shrink.
inline namespace area {

// For each destination index: the first source index it covers and the weights of the
// covered source indices (summing to srcN).
struct Spans {
    std::vector<int32_t> first;
    std::vector<int32_t> count;
    std::vector<int32_t> offset; // into weights
    std::vector<uint32_t> weights;
};

Spans MakeSpans(int srcN, int dstN)
{
    Spans s;
    s.first.resize(size_t(dstN));
    s.count.resize(size_t(dstN));
    s.offset.resize(size_t(dstN));
    s.weights.reserve(size_t(srcN) + size_t(dstN));
    for (int j = 0; j < dstN; ++j) {
        // Positions in units of 1 / dstN source pixels.
        const int64_t begin = int64_t(j) * srcN;
        const int64_t end = begin + srcN;
        const int64_t first = begin / dstN;
        const int64_t last = (end - 1) / dstN;
        s.first[size_t(j)] = int32_t(first);
        s.count[size_t(j)] = int32_t(last - first + 1);
        s.offset[size_t(j)] = int32_t(s.weights.size());
        for (int64_t i = first; i <= last; ++i) {
            const int64_t lo = std::max(i * dstN, begin);
            const int64_t hi = std::min((i + 1) * dstN, end);
            s.weights.push_back(uint32_t(hi - lo));
        }
    }
    return s;
}

// acc = w * src over n bytes, or acc += w * src.
template <class Acc>
void WeightRow(Acc* __restrict acc, const uint8_t* __restrict src, size_t n, uint32_t w, bool first)
{
    if (first) {
        for (size_t k = 0; k < n; ++k)
            acc[k] = Acc(w) * src[k];
    } else {
        for (size_t k = 0; k < n; ++k)
            acc[k] += Acc(w) * src[k];
    }
}

// Whole-weight rows of a shrink only need adding: summed in 16 bits while they cannot
// overflow, then folded into the accumulator with one multiplication.
void AddRow(uint16_t* __restrict sum, const uint8_t* __restrict src, size_t n, bool first)
{
    if (first) {
        for (size_t k = 0; k < n; ++k)
            sum[k] = src[k];
    } else {
        for (size_t k = 0; k < n; ++k)
            sum[k] = uint16_t(sum[k] + src[k]);
    }
}

template <class Acc>
void FoldSums(Acc* __restrict acc, const uint16_t* __restrict sum, size_t n, uint32_t w, bool first)
{
    if (first) {
        for (size_t k = 0; k < n; ++k)
            acc[k] = Acc(w) * sum[k];
    } else {
        for (size_t k = 0; k < n; ++k)
            acc[k] += Acc(w) * sum[k];
    }
}

template <class Acc, int C>
void Horizontal(const Acc* acc, const Spans& hs, uint8_t* dst, int dstW, uint64_t total)
{
    const uint64_t half = total / 2;
    for (int x = 0; x < dstW; ++x) {
        const Acc* a = acc + size_t(hs.first[size_t(x)]) * C;
        const uint32_t* w = hs.weights.data() + hs.offset[size_t(x)];
        const int n = hs.count[size_t(x)];
        uint64_t sum[C] = {};
        for (int i = 0; i < n; ++i, a += C) {
            for (int c = 0; c < C; ++c)
                sum[c] += uint64_t(w[i]) * a[c];
        }
        for (int c = 0; c < C; ++c)
            dst[c] = uint8_t((sum[c] + half) / total);
        dst += C;
    }
}

template <class Acc, int C>
void Run(const uint8_t* const* srcRows, int srcW, int srcH, uint8_t* const* dstRows, int dstW, int dstH)
{
    const Spans vs = MakeSpans(srcH, dstH);
    const Spans hs = MakeSpans(srcW, dstW);
    const size_t n = size_t(srcW) * C;
    std::vector<Acc> acc(n);
    std::vector<uint16_t> sum;
    const uint64_t total = uint64_t(srcW) * uint64_t(srcH);
    // A full source row weighs dstH units; up to 257 of them fit a 16-bit sum of bytes.
    const uint32_t full = uint32_t(dstH);
    const bool shrinking = srcH > dstH;
    if (shrinking)
        sum.resize(n);

    for (int y = 0; y < dstH; ++y) {
        const int first = vs.first[size_t(y)];
        const int count = vs.count[size_t(y)];
        const uint32_t* w = vs.weights.data() + vs.offset[size_t(y)];
        bool accEmpty = true;
        int pending = 0; // whole rows summed in `sum` but not yet folded into acc
        for (int i = 0; i < count; ++i) {
            const uint8_t* src = srcRows[first + i];
            if (shrinking && w[i] == full) {
                AddRow(sum.data(), src, n, pending == 0);
                if (++pending == 257) {
                    FoldSums(acc.data(), sum.data(), n, full, accEmpty);
                    accEmpty = false;
                    pending = 0;
                }
            } else {
                WeightRow(acc.data(), src, n, w[i], accEmpty);
                accEmpty = false;
            }
        }
        if (pending) {
            FoldSums(acc.data(), sum.data(), n, full, accEmpty);
            accEmpty = false;
        }
        Horizontal<Acc, C>(acc.data(), hs, dstRows[y], dstW, total);
    }
}

template <class Acc>
void RunChannels(const uint8_t* const* srcRows, int srcW, int srcH, uint8_t* const* dstRows, int dstW, int dstH,
                 int channels)
{
    switch (channels) {
    case 1: Run<Acc, 1>(srcRows, srcW, srcH, dstRows, dstW, dstH); break;
    case 3: Run<Acc, 3>(srcRows, srcW, srcH, dstRows, dstW, dstH); break;
    case 4: Run<Acc, 4>(srcRows, srcW, srcH, dstRows, dstW, dstH); break;
    default: break;
    }
}

} // namespace

void AreaResample(const uint8_t* const* srcRows, int srcW, int srcH, uint8_t* const* dstRows, int dstW, int dstH,
                  int channels)
{
    if (srcW < 1 || srcH < 1 || dstW < 1 || dstH < 1)
        return;
    // A column sums to at most 255 * srcH; 32-bit accumulators hold that for all but
    // absurdly tall images.
    if (uint64_t(srcH) * 255u <= UINT32_MAX)
        RunChannels<uint32_t>(srcRows, srcW, srcH, dstRows, dstW, dstH, channels);
    else
        RunChannels<uint64_t>(srcRows, srcW, srcH, dstRows, dstW, dstH, channels);
}

void NearestResample(const uint8_t* const* srcRows, int srcX, int srcW, int srcH, uint8_t* const* dstRows, int dstX,
                     int dstW, int dstH, int bpp)
{
    if (srcW < 1 || srcH < 1 || dstW < 1 || dstH < 1)
        return;
    std::vector<int32_t> column(static_cast<size_t>(dstW));
    for (int x = 0; x < dstW; ++x)
        column[size_t(x)] = int32_t((int64_t(2 * int64_t(x) + 1) * srcW) / (2 * int64_t(dstW)));
    const int bytes = bpp / 8;
    for (int y = 0; y < dstH; ++y) {
        const int sy = int((int64_t(2 * int64_t(y) + 1) * srcH) / (2 * int64_t(dstH)));
        const uint8_t* s = srcRows[sy];
        uint8_t* d = dstRows[y];
        if (bytes >= 1) {
            s += int64_t(srcX) * bytes;
            d += int64_t(dstX) * bytes;
            for (int x = 0; x < dstW; ++x)
                std::memcpy(d + int64_t(x) * bytes, s + int64_t(column[size_t(x)]) * bytes, size_t(bytes));
        } else {
            for (int x = 0; x < dstW; ++x)
                pixel::WriteRaw(d, dstX + x, bpp, pixel::ReadRaw(s, srcX + column[size_t(x)], bpp));
        }
    }
}

} // namespace tessary::detail

namespace tessary {

// Destination row y takes source row r with the weight of their overlap, in units of 1 / dstH
// source rows: max(0, min((r + 1) * dstH, (y + 1) * srcH) - max(r * dstH, y * srcH)), the same
// weights MakeSpans gives the whole-picture shrink.
struct AreaRowResampler::Impl {
    struct Open {
        int y = 0;
        std::vector<uint64_t> acc;
        // Whole-weight rows of a shrink are only added, in 16 bits, and folded in with one
        // multiplication every 257 rows, as the whole-picture shrink does.
        std::vector<uint16_t> sum;
        int pending = 0;
    };

    int srcW = 0, srcH = 0, dstW = 0, dstH = 0;
    DibImage* target = nullptr;
    bool bottomUp = false;
    int64_t next = 0;     // source rows pushed so far
    int finished = 0;     // destination rows written
    detail::Spans hs;
    std::deque<Open> open; // ordered by y in the direction rows arrive
    std::vector<std::vector<uint64_t>> spare;
    std::vector<std::vector<uint16_t>> spareSums;
    size_t held = 0, peak = 0;

    std::vector<uint64_t> Take()
    {
        std::vector<uint64_t> v;
        if (!spare.empty()) {
            v = std::move(spare.back());
            spare.pop_back();
        } else {
            v.resize(size_t(srcW) * 3);
            held += v.size() * sizeof(uint64_t);
            peak = std::max(peak, held);
        }
        std::fill(v.begin(), v.end(), 0);
        return v;
    }

    Open* Find(int y)
    {
        for (Open& o : open)
            if (o.y == y)
                return &o;
        Open o;
        o.y = y;
        o.acc = Take();
        if (!spareSums.empty()) {
            o.sum = std::move(spareSums.back());
            spareSums.pop_back();
        } else if (srcH > dstH) {
            o.sum.resize(size_t(srcW) * 3);
            held += o.sum.size() * sizeof(uint16_t);
            peak = std::max(peak, held);
        }
        // Rows open in the order they are met, which is the order of arrival.
        open.push_back(std::move(o));
        return &open.back();
    }

    void Fold(Open& o)
    {
        if (o.pending) {
            detail::FoldSums(o.acc.data(), o.sum.data(), o.acc.size(), uint32_t(dstH), false);
            o.pending = 0;
        }
    }

    void Finish(Open& o)
    {
        Fold(o);
        const uint64_t total = uint64_t(srcW) * uint64_t(srcH);
        detail::Horizontal<uint64_t, 3>(o.acc.data(), hs, target->Row(o.y), dstW, total);
        spare.push_back(std::move(o.acc));
        if (!o.sum.empty())
            spareSums.push_back(std::move(o.sum));
        ++finished;
    }

    void Push(const uint8_t* row)
    {
        if (next >= srcH)
            return;
        const int64_t r = bottomUp ? srcH - 1 - next : next;
        ++next;
        const int64_t ylo = r * dstH / srcH;
        const int64_t yhi = ((r + 1) * dstH + srcH - 1) / srcH - 1;
        const size_t n = size_t(srcW) * 3;
        const int64_t top = std::min<int64_t>(yhi, dstH - 1);
        // Rows are opened in the order of arrival: downwards, or upwards for bottom-up input.
        for (int64_t k = 0; k <= top - ylo; ++k) {
            const int64_t y = bottomUp ? top - k : ylo + k;
            const int64_t lo = std::max(r * dstH, y * srcH);
            const int64_t hi = std::min((r + 1) * dstH, (y + 1) * srcH);
            if (hi <= lo)
                continue;
            Open* o = Find(int(y));
            if (hi - lo == dstH && !o->sum.empty()) {
                detail::AddRow(o->sum.data(), row, n, o->pending == 0);
                if (++o->pending == 257)
                    Fold(*o);
            } else {
                detail::WeightRow(o->acc.data(), row, n, uint32_t(hi - lo), false);
            }
        }
        // A destination row is complete once its last source row in arrival order is in.
        while (!open.empty()) {
            Open& o = open.front();
            const int64_t edge = bottomUp ? int64_t(o.y) * srcH / dstH : ((int64_t(o.y) + 1) * srcH - 1) / dstH;
            if (bottomUp ? r > edge : r < edge)
                break;
            Finish(o);
            open.pop_front();
        }
    }
};

AreaRowResampler::AreaRowResampler(int srcW, int srcH, DibImage& target, bool bottomUp) : m_impl(new Impl)
{
    Impl& d = *m_impl;
    d.srcW = std::max(srcW, 0);
    d.srcH = std::max(srcH, 0);
    d.dstW = target.Width();
    d.dstH = target.Height();
    d.target = &target;
    d.bottomUp = bottomUp;
    if (d.srcW < 1 || d.srcH < 1 || d.dstW < 1 || d.dstH < 1 || target.Bpp() != 24)
        d.srcH = 0;
    else
        d.hs = detail::MakeSpans(d.srcW, d.dstW);
}

AreaRowResampler::~AreaRowResampler() = default;

void AreaRowResampler::Push(const uint8_t* row)
{
    m_impl->Push(row);
}

bool AreaRowResampler::Done() const
{
    return m_impl->srcH > 0 && m_impl->finished == m_impl->dstH;
}

int64_t AreaRowResampler::PeakBytes() const
{
    return int64_t(m_impl->peak + m_impl->hs.weights.capacity() * sizeof(uint32_t)
                   + (m_impl->hs.first.capacity() * 3) * sizeof(int32_t));
}

} // namespace tessary
