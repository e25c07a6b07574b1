// The drop-down history of the two pattern entries.
#pragma once

#include <QString>
#include <QStringList>

namespace zirpel {

// A most-recently-used list after text was entered: the first item equal to text without
// regard to case is removed and text goes to the top.
[[nodiscard]] QStringList MostRecentFirst(QStringList items, const QString& text);

} // namespace zirpel
