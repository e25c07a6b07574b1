// The open dialog's file types: the program's "text|patterns|..." list as Qt name filters.
#pragma once

#include <QString>
#include <QStringList>

namespace zirpel {

// Turns "text|patterns|text|patterns|" into Qt name filters "text (p1 p2 ...)".
// Patterns may be separated by ';' or ',' and carry blanks; "*.*" becomes "*", every name.
[[nodiscard]] QStringList NameFiltersFromBarList(const QString& filter);
// The entry of filters that the open dialog shows as shown: with its details hidden the
// dialog hands back the entry's text without its patterns. Empty when none matches.
[[nodiscard]] QString FullNameFilter(const QStringList& filters, const QString& shown);

} // namespace zirpel
