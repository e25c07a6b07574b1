// Looking up the help context along an object's parents.
#include "core/system/HelpContext.h"

#include <QVariant>

namespace zirpel {

std::optional<int> OwnHelpContext(const QObject* obj) {
    const QVariant context = obj->property("helpContext");
    bool ok = false;
    const int number = context.toInt(&ok);
    if (context.isValid() && ok)
        return number;
    return std::nullopt;
}

std::optional<int> FindHelpContext(const QObject* obj) {
    for (; obj; obj = obj->parent()) {
        if (const std::optional<int> context = OwnHelpContext(obj))
            return context;
    }
    return std::nullopt;
}

} // namespace zirpel
