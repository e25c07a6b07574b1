// Another program holding a file, as Windows lets programs do: tests/windows/HoldFile.exe,
// built beside the GUI tests, holds it the given way for as long as this object lives.
#pragma once

#include <QProcess>
#include <QString>

class HeldFile {
public:
    enum class Way { Alone, Readers, Locked };
    HeldFile(const QString& path, Way way);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    // True once the other program holds the file.
    [[nodiscard]] bool held() const { return held_; }

private:
    QProcess process_;
    bool held_ = false;
};
