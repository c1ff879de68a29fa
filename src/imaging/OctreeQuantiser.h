#pragma once
// Octree colour quantisation: the optimal palette for ToPalette4/ToPalette8.
//
// Every pixel is sorted into an eight-level colour tree (one bit of red, green and blue per
// level); whenever the tree holds more leaves than allowed, the deepest reducible node folds
// its children into itself. The palette is the leaves' average colours; below 16 colours the
// leaves are further merged in consecutive groups.

#include <cstdint>
#include <vector>

#include "imaging/ColorTable.h"

namespace tessary {

class DibImage;

class OctreeQuantiser {
public:
    // maxLeaves is clamped to 16..256.
    explicit OctreeQuantiser(int maxLeaves);

    // Sorts in every pixel of a 24-bit image (its red, green, blue) or a 1/4/8-bit image (the
    // table colour of each pixel, alpha included). False for other depths, an empty image, or
    // when an image was already fed since construction or Reset.
    bool Feed(const DibImage& image);
    void Add(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
    void Reset();
    int LeafCount() const { return leafCount_; }

    // The palette for `targetColours` (clamped to 2..256): the leaves in tree order when the
    // target is 16 or more, else the leaves merged into at most that many entries weighted
    // by pixel count. Holds as many entries as were produced.
    ColorTable Palette(int targetColours) const;

private:
    static constexpr int kDepth = 8;
    struct Node {
        int32_t children[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
        int32_t nextReducible = -1;
        uint64_t count = 0;
        uint64_t red = 0, green = 0, blue = 0, alpha = 0;
        bool leaf = false;
    };

    int32_t NewNode(int level);
    void ReduceOne();
    void CollectLeaves(int32_t node, std::vector<const Node*>& out) const;

    int maxLeaves_;
    int leafCount_ = 0;
    bool fed_ = false;
    std::vector<Node> nodes_;
    std::vector<int32_t> freeNodes_;
    int32_t reducible_[kDepth];
};

// The octree palette of an image (24-bit or palette) for `colours` entries; empty on failure.
ColorTable Quantise(const DibImage& image, int colours);

} // namespace tessary
