#pragma once
// Progress reports of long file commands (open, save, export). The window turns them into
// its progress bar; tools ignore them.

#include <functional>

namespace qrb {

// Called with the number of steps done so far and the total number of steps. An empty
// function is allowed everywhere and means "no progress display".
using ProgressCallback = std::function<void(int done, int total)>;

} // namespace qrb
