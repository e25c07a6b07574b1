// A buffered binary stream over FILE*, opened "rb" or "r+b", that other openers may
// read and write at the same time. Closes itself.
#pragma once

#include <QString>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>

namespace zirpel {

// Which file a stream is on, whatever name reaches it now: device and inode, or on
// Windows the volume serial number and the file index.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

class BinaryFile {
public:
    enum class Mode { Read, Update };
    enum class Transfer { Read, Write };
    enum class Step { Reserve, Sync, Close };

    // Test seam, never set by the program: when set, a read or write moves only as many
    // bytes as this returns for the count asked at the offset, as a failing disk does
    // partway; a write cut short reports failure. Reads at an offset call it from the
    // thread that reads.
    static inline std::function<std::size_t(Transfer, std::int64_t offset, std::size_t count)>
        testTransferLimit;
    // Test seam, never set by the program: when set and it returns true for a step of
    // commitAndClose, that step reports failure after it ran, as a disk error found then;
    // for Reserve, the space is not there.
    static inline std::function<bool(Step)> testStepFails;

    BinaryFile() = default;
    ~BinaryFile() { close(); }
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    BinaryFile(BinaryFile&& other) noexcept : f_(other.f_) { other.f_ = nullptr; }
    BinaryFile& operator=(BinaryFile&& other) noexcept;

    // Opens an existing regular file; a directory, a pipe, a device or a missing file
    // fails without waiting for anything. An update stream is unbuffered, so a write
    // that fails leaves nothing pending.
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
    // True when all count bytes went in; done, when given, tells how many did.
    [[nodiscard]] bool write(const void* buffer, std::size_t count, std::size_t* done = nullptr);
    // Flushes the stream's buffer and syncs the file to disk.
    [[nodiscard]] bool flushAndSync();
    // Flushes, syncs and closes; false when any of these failed.
    [[nodiscard]] bool commitAndClose();
    // A second, unbuffered update stream on the same open file, which stays usable when
    // this one is closed; not open when the system gives no second handle.
    [[nodiscard]] BinaryFile duplicate() const;
    // The file the stream is on; nothing when not open or not known.
    [[nodiscard]] std::optional<FileIdentity> identity() const;
    // Sets space aside for the range where the file system can, so that writing it does
    // not run out of space, without changing the file's length: until the range is
    // written the file stays as it was, whatever happens to the process. False only when
    // the space is not there.
    [[nodiscard]] bool reserve(std::int64_t offset, std::int64_t length);
    // Cuts the file to length bytes.
    [[nodiscard]] bool truncate(std::int64_t length);

private:
    std::FILE* f_ = nullptr;
};

} // namespace zirpel
