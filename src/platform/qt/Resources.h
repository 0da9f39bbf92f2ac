#pragma once
// The program's built-in resources (images, help pages) live in a static library, whose
// registration the linker would otherwise drop: every window that shows them calls this.

namespace qrb {

void ensureResources();

} // namespace qrb
