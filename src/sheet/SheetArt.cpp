#include "sheet/SheetArt.h"

#include "sheet/SheetError.h"

#include <string>

namespace qrb {

namespace {

std::string tilesText(int count) {
    return count == 1 ? "1 tile" : std::to_string(count) + " tiles";
}

} // namespace

void SheetArt::setBackLibrary(const TileSet& backs) {
    backLibrary_ = &backs;
    backImage_ = nullptr;
}

void SheetArt::setBackImage(const DibImage& back) {
    backImage_ = &back;
    backLibrary_ = nullptr;
}

const DibImage& SheetArt::front(int tile) const {
    if (tile < 1 || tile > fronts_->count()) {
        throw SheetError("there is no tile " + std::to_string(tile) + ": the library has " +
                         tilesText(fronts_->count()));
    }
    return fronts_->tile(tile).full;
}

const DibImage& SheetArt::back(int tile) const {
    if (backImage_ != nullptr) {
        return *backImage_;
    }
    if (backLibrary_ == nullptr) {
        throw SheetError("no backs were given");
    }
    if (backLibrary_->count() == 1) {
        return backLibrary_->tile(1).full;
    }
    if (tile < 1 || tile > backLibrary_->count()) {
        throw SheetError("tile " + std::to_string(tile) +
                         " has no back: the library of backs has " +
                         tilesText(backLibrary_->count()));
    }
    return backLibrary_->tile(tile).full;
}

} // namespace qrb
