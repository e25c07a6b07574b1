// Whole-file reads and writes for tests that compare a file before and after.
#pragma once

#include <QByteArray>
#include <QString>

class QTemporaryDir;

[[nodiscard]] QByteArray ReadWholeFile(const QString& path);
// False when the file could not be written whole.
bool WriteWholeFile(const QString& path, const QByteArray& bytes);
// Writes bytes into a new file name in dir and returns its path.
QString MakeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
