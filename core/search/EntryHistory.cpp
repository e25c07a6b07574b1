#include "core/search/EntryHistory.h"

namespace zirpel {

QStringList MostRecentFirst(QStringList items, const QString& text) {
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].compare(text, Qt::CaseInsensitive) == 0) {
            items.removeAt(i);
            break;
        }
    }
    items.prepend(text);
    return items;
}

} // namespace zirpel
