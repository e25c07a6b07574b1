#include "core/settings/RecentFileList.h"

namespace zirpel {

void AddToTop(RecentList& list, const QString& name) {
    int k = kRecentFiles - 1;
    for (int i = 0; i < kRecentFiles; ++i) {
        if (list[i] == name) {
            k = i;
            break;
        }
    }
    for (int j = k; j >= 1; --j)
        list[j] = list[j - 1];
    list[0] = name;
}

void MoveIndexToTop(RecentList& list, int index) {
    const QString name = list[index];
    for (int j = index; j >= 1; --j)
        list[j] = list[j - 1];
    list[0] = name;
}

void RemoveAt(RecentList& list, int index) {
    for (int j = index; j < kRecentFiles - 1; ++j)
        list[j] = list[j + 1];
    list.back().clear();
}

QString RecentCaption(int k, const QString& name) {
    return QStringLiteral("&%1  ").arg(k) + name;
}

} // namespace zirpel
