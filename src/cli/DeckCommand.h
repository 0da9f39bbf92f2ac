#pragma once
// qrbtool atlas: a library's tiles as deck images for virtual tabletops.

#include "cli/Command.h"

namespace qrb::cli {

Command atlasCommand();

} // namespace qrb::cli
