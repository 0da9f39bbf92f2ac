#pragma once
// How pictures become tiles: each as it is, fitted to one tile size, or sliced into the
// cells of a sprite sheet, over a background colour. The choices the import dialog offers
// and the import (document/PictureImport) carries out.

#include <QColor>
#include <QSize>
#include <QString>

#include <optional>

namespace qrb {

enum class FitMode {
    Contain, // scaled to fit inside, centred on the background
    Cover,   // scaled to cover, cropped centred
    Stretch, // scaled to the size
};

struct FitOptions {
    QSize size;
    FitMode mode = FitMode::Contain;
    friend bool operator==(const FitOptions&, const FitOptions&) = default;
};

// A sprite sheet's grid: cells of `cell` from the top left, `margin` pixels around the
// sheet and `spacing` between cells, row by row.
struct SliceOptions {
    QSize cell;
    int margin = 0;
    int spacing = 0;
    bool skipEmpty = false; // leave out cells entirely transparent or of the background
    friend bool operator==(const SliceOptions&, const SliceOptions&) = default;
};

struct ImportOptions {
    std::optional<FitOptions> fit;
    std::optional<SliceOptions> slice;
    // Under transparent pixels and around a contained picture.
    QColor background = Qt::white;
    friend bool operator==(const ImportOptions&, const ImportOptions&) = default;
};

// Whether `path` names a library file, whose tiles are imported whole, whatever the options.
inline bool isLibraryPath(const QString& path) {
    return path.endsWith(QLatin1String(".qrb"), Qt::CaseInsensitive);
}

} // namespace qrb
