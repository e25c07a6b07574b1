// The window's messages that more than one of its handlers shows.
#pragma once

#include <QString>

namespace zirpel {

[[nodiscard]] inline QString CannotReadMessage() {
    return QStringLiteral("Die Datei kann nicht gelesen werden.");
}

[[nodiscard]] inline QString CannotWriteMessage() {
    return QStringLiteral("Die Datei kann nicht geschrieben werden.");
}

} // namespace zirpel
