// A buffered binary stream over FILE*, opened "rb" or "r+b", that other openers may
// read and write at the same time. Closes itself.
#pragma once

#include <QString>
#include <cstdint>
#include <cstdio>

class BinaryFile {
public:
    enum class Mode { Read, Update };

    BinaryFile() = default;
    ~BinaryFile() { close(); }
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    BinaryFile(BinaryFile&& other) noexcept : f_(other.f_) { other.f_ = nullptr; }
    BinaryFile& operator=(BinaryFile&& other) noexcept;

    // Opens an existing regular file; a directory or a missing file fails.
    [[nodiscard]] bool open(const QString& path, Mode mode);
    [[nodiscard]] bool isOpen() const { return f_ != nullptr; }
    // Closes without checking; safe when not open.
    void close();

    [[nodiscard]] bool seek(std::int64_t offset);
    [[nodiscard]] bool seekEnd();
    [[nodiscard]] std::int64_t tell() const;
    // Length of the file in bytes, or -1; leaves the position at the end.
    [[nodiscard]] std::int64_t size();
    // Number of bytes read; 0 at the end or on an error.
    std::size_t read(void* buffer, std::size_t count);
    // Reads at offset without using or moving the stream's position or its buffer, so
    // that another thread may read the file this way while the stream stays put. Number
    // of bytes read; 0 at the end or on an error.
    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t count) const;
    [[nodiscard]] bool write(const void* buffer, std::size_t count);
    // Flushes the stream's buffer and syncs the file to disk.
    [[nodiscard]] bool flushAndSync();
    // Flushes, syncs and closes; false when any of these failed.
    [[nodiscard]] bool commitAndClose();

private:
    std::FILE* f_ = nullptr;
};
