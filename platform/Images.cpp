#include "platform/Images.h"

#include <QtGlobal>

// The pictures live in the static library: registered before first use.
// Outside the namespace: Q_INIT_RESOURCE names a function of the global one.
static void InitImageResource() {
    Q_INIT_RESOURCE(images);
}

namespace zirpel {

void InitImages() {
    InitImageResource();
}

} // namespace zirpel
