#pragma once
// The print sheet's options as last used, kept in the program's settings between runs.
// Settings are a file anyone may edit: a value that is missing or makes no sense gives
// that one option its default.

#include "sheet/SheetOptions.h"

class QSettings;

namespace qrb {

SheetOptions loadSheetOptions(const QSettings& settings);
// Keeps everything but the tile list, the backs and the calibration page, which belong
// to one print.
void saveSheetOptions(QSettings& settings, const SheetOptions& options);

} // namespace qrb
