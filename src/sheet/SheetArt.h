#pragma once
// The pictures a print sheet is made of: the full-size images of a library's tiles for
// the fronts and, optionally, their backs. Holds references: the tile sets and the back
// image must outlive it.

#include "tileset/DibImage.h"
#include "tileset/TileSet.h"

namespace qrb {

class SheetArt {
public:
    explicit SheetArt(const TileSet& fronts) : fronts_(&fronts) {}

    // Backs from a second library: its tile i is the back of front tile i. A library of
    // exactly one tile gives that tile as the back of every front.
    void setBackLibrary(const TileSet& backs);
    // One picture as the back of every front.
    void setBackImage(const DibImage& back);

    const TileSet& fronts() const { return *fronts_; }
    bool hasBacks() const { return backLibrary_ != nullptr || backImage_ != nullptr; }

    // Front tile `tile`'s full image; throws SheetError when the library has no such tile.
    const DibImage& front(int tile) const;
    // The back of front tile `tile`; throws SheetError when there are no backs or the back
    // library has no tile for it.
    const DibImage& back(int tile) const;

private:
    const TileSet* fronts_;
    const TileSet* backLibrary_ = nullptr;
    const DibImage* backImage_ = nullptr;
};

} // namespace qrb
