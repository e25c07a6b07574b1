// Whole-file reads and writes for tests that compare a file before and after.
#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <thread>

class QTemporaryDir;

[[nodiscard]] QByteArray ReadWholeFile(const QString& path);
// False when the file could not be written whole.
bool WriteWholeFile(const QString& path, const QByteArray& bytes);
// Writes bytes into a new file name in dir and returns its path.
QString MakeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

// A named pipe made at path. A reader still waiting on it a second later is let go by a
// writer opened at the other end (again for every later reader), and that is remembered:
// an open that blocks fails the test instead of hanging it.
class PipeAtPath {
public:
    explicit PipeAtPath(const QString& path);
    [[nodiscard]] bool made() const { return made_; }
    [[nodiscard]] bool readerWaited() const { return waited_; }

private:
    bool made_ = false;
    std::atomic<bool> waited_{false};
    std::jthread writer_; // last: stopped and joined first
};
