// Whole-file reads and writes for tests that compare a file before and after.
#pragma once

#include <QByteArray>
#include <QString>

[[nodiscard]] QByteArray ReadWholeFile(const QString& path);
// False when the file could not be written whole.
bool WriteWholeFile(const QString& path, const QByteArray& bytes);
