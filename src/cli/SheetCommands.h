#pragma once
// qrbtool's print sheet commands: sheet (a library's tiles laid out on pages, as one PDF
// or one PNG per page) and calibration (the two pages that measure how far a printer
// shifts the back of a sheet against its front). They draw with Qt on a QGuiApplication of
// their own on the offscreen platform, so they need no display.

#include "cli/Command.h"

namespace qrb::cli {

Command sheetCommand();
Command calibrationCommand();

} // namespace qrb::cli
