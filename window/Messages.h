// The window's messages that more than one of its handlers shows.
#pragma once

#include <QString>

namespace zirpel {

[[nodiscard]] inline QString CannotReadMessage() {
    return QStringLiteral("Die Datei kann nicht gelesen werden.");
}

// restored: the file is as it was before the failed write.
[[nodiscard]] inline QString CannotWriteMessage(bool restored = true) {
    const QString message = QStringLiteral("Die Datei kann nicht geschrieben werden.");
    return restored ? message
                    : message + QStringLiteral("\nDie alten Bytes konnten nicht vollständig "
                                               "zurückgeschrieben werden.");
}

} // namespace zirpel
