#pragma once
// qrbtool's commands that edit a library as the editor's window would and write it back:
// import pictures, move a tile, delete tiles; and export of tile pictures as PNG or BMP.

#include "cli/Command.h"

namespace qrb::cli {

Command importCommand();
Command moveCommand();
Command deleteCommand();
Command exportCommand();

} // namespace qrb::cli
