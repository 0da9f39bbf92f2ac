#include "platform/qt/Resources.h"

#include <QtGlobal>

// Outside any namespace, as the resource registration requires.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace qrb {

void ensureResources() {
    static const bool registered = [] {
        registerResources();
        return true;
    }();
    static_cast<void>(registered);
}

} // namespace qrb
