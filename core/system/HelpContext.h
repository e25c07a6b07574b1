// Help contexts: a number carried by a widget, action or other object in its dynamic
// property "helpContext"; an object without one inherits the nearest parent's.
#pragma once

#include <QObject>
#include <optional>

namespace zirpel {

// The context obj itself carries, if any.
[[nodiscard]] std::optional<int> OwnHelpContext(const QObject* obj);

// The context of obj or of its nearest parent that carries one; nothing when none does.
[[nodiscard]] std::optional<int> FindHelpContext(const QObject* obj);

} // namespace zirpel
