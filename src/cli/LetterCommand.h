#pragma once
// qrbtool letter IN.qrb POSITIONS.qpf TABLE OUT.qrb: new tiles lettered from the rows of a
// table with the slots of a position data file, exactly as the editor's Create using
// position data makes them, written after IN's tiles (or alone) to OUT. It draws with Qt
// on a QGuiApplication of its own on the offscreen platform, so it needs no display.

#include "cli/Command.h"

namespace qrb::cli {

Command letterCommand();

} // namespace qrb::cli
