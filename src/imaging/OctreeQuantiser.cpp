#include "OctreeQuantiser.h"

#include <algorithm>

#include "imaging/DibImage.h"
#include "imaging/Guard.h"
#include "imaging/PixelFormat.h"

namespace tessary {

OctreeQuantiser::OctreeQuantiser(int maxLeaves) : maxLeaves_(std::clamp(maxLeaves, 16, 256))
{
    Reset();
}

void OctreeQuantiser::Reset()
{
    nodes_.clear();
    freeNodes_.clear();
    std::fill(std::begin(reducible_), std::end(reducible_), -1);
    leafCount_ = 0;
    fed_ = false;
    nodes_.emplace_back(); // the root, level 0; never reduced
}

int32_t OctreeQuantiser::NewNode(int level)
{
    int32_t id;
    if (!freeNodes_.empty()) {
        id = freeNodes_.back();
        freeNodes_.pop_back();
        nodes_[size_t(id)] = Node{};
    } else {
        id = int32_t(nodes_.size());
        nodes_.emplace_back();
    }
    Node& n = nodes_[size_t(id)];
    if (level == kDepth) {
        n.leaf = true;
        ++leafCount_;
    } else {
        n.nextReducible = reducible_[level];
        reducible_[level] = id;
    }
    return id;
}

void OctreeQuantiser::Add(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
{
    int32_t node = 0;
    for (int level = 0; level < kDepth && !nodes_[size_t(node)].leaf; ++level) {
        const int bit = 7 - level;
        const int index = ((red >> bit) & 1) << 2 | ((green >> bit) & 1) << 1 | ((blue >> bit) & 1);
        int32_t child = nodes_[size_t(node)].children[index];
        if (child < 0) {
            child = NewNode(level + 1); // may move nodes_
            nodes_[size_t(node)].children[index] = child;
        }
        node = child;
    }
    Node& leaf = nodes_[size_t(node)];
    ++leaf.count;
    leaf.red += red;
    leaf.green += green;
    leaf.blue += blue;
    leaf.alpha += alpha;
    while (leafCount_ > maxLeaves_)
        ReduceOne();
}

void OctreeQuantiser::ReduceOne()
{
    int level = kDepth - 1;
    while (level > 0 && reducible_[level] < 0)
        --level;
    if (level == 0)
        return; // cannot happen with at least 16 leaves allowed: level 1 holds at most 8
    const int32_t id = reducible_[level];
    Node& n = nodes_[size_t(id)];
    reducible_[level] = n.nextReducible;
    int children = 0;
    for (int32_t& c : n.children) {
        if (c < 0)
            continue;
        const Node& child = nodes_[size_t(c)];
        n.count += child.count;
        n.red += child.red;
        n.green += child.green;
        n.blue += child.blue;
        n.alpha += child.alpha;
        freeNodes_.push_back(c);
        c = -1;
        ++children;
    }
    n.leaf = true;
    leafCount_ += 1 - children;
}

bool OctreeQuantiser::Feed(const DibImage& image)
{
    if (fed_ || !image.IsValid())
        return false;
    const int bpp = image.Bpp();
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24)
        return false;
    fed_ = true;
    return detail::Guarded([&] {
        const ColorTable& table = image.Colors();
        for (int y = 0; y < image.Height(); ++y) {
            const uint8_t* row = image.Row(y);
            if (bpp == 24) {
                for (int x = 0; x < image.Width(); ++x, row += 3)
                    Add(row[2], row[1], row[0], 255);
            } else {
                for (int x = 0; x < image.Width(); ++x) {
                    const DibColor c = table.At(int(pixel::ReadRaw(row, x, bpp)));
                    Add(c.red, c.green, c.blue, c.alpha);
                }
            }
        }
        return true;
    });
}

void OctreeQuantiser::CollectLeaves(int32_t id, std::vector<const Node*>& out) const
{
    const Node& n = nodes_[size_t(id)];
    if (n.leaf) {
        out.push_back(&n);
        return;
    }
    for (int32_t c : n.children) {
        if (c >= 0)
            CollectLeaves(c, out);
    }
}

ColorTable OctreeQuantiser::Palette(int targetColours) const
{
    const int target = std::clamp(targetColours, 2, 256);
    std::vector<const Node*> leaves;
    CollectLeaves(0, leaves);
    std::vector<DibColor> colours;
    std::vector<uint64_t> counts;
    for (const Node* n : leaves) {
        colours.push_back(DibColor{uint8_t(n->blue / n->count), uint8_t(n->green / n->count),
                                   uint8_t(n->red / n->count), uint8_t(n->alpha / n->count)});
        counts.push_back(n->count);
    }
    const size_t n = colours.size();
    if (target >= 16 || n <= size_t(target))
        return ColorTable(std::move(colours));

    // Fewer than 16 wanted: merge consecutive groups of leaves, weighted by pixel count.
    std::vector<DibColor> merged(static_cast<size_t>(target));
    for (size_t c = 0; c < size_t(target); ++c) {
        const size_t from = c * n / size_t(target);
        const size_t to = (c + 1) * n / size_t(target);
        uint64_t sum[4] = {}, total = 0;
        for (size_t i = from; i < to; ++i) {
            sum[0] += uint64_t(colours[i].blue) * counts[i];
            sum[1] += uint64_t(colours[i].green) * counts[i];
            sum[2] += uint64_t(colours[i].red) * counts[i];
            sum[3] += uint64_t(colours[i].alpha) * counts[i];
            total += counts[i];
        }
        merged[c] = DibColor{uint8_t(sum[0] / total), uint8_t(sum[1] / total), uint8_t(sum[2] / total),
                             uint8_t(sum[3] / total)};
    }
    return ColorTable(std::move(merged));
}

ColorTable Quantise(const DibImage& image, int colours)
{
    ColorTable table;
    detail::Guarded([&] {
        OctreeQuantiser q(colours);
        if (!q.Feed(image))
            return false;
        table = q.Palette(colours);
        return true;
    });
    return table;
}

} // namespace tessary
