#include "core/system/SystemLocale.h"

#include <QByteArray>

namespace zirpel {

// The toolkit reads the system's locale from the environment at start.
void UseGermanSystemLocale() {
    qputenv("LC_ALL", "de_DE.UTF-8");
}

} // namespace zirpel
