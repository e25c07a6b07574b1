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
// Writes bytes into a new file name in dir and returns its path, written the system's
// way (backslashes on Windows) as the program shows and stores names.
QString MakeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
// Renames from over an existing to, as another program saves over a file; on Windows too,
// where a plain rename refuses an existing name.
[[nodiscard]] bool SaveOver(const QString& from, const QString& to);
// Wine keeps a deleted file reachable by its name while a program holds it open, which
// Windows does not: tests of a file deleted meanwhile skip there.
[[nodiscard]] bool RunningUnderWine();

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
