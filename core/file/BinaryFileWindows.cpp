// The stream's system calls on Windows: wide-character names, so any path opens, and
// read, write and delete sharing, so other programs may read, write, rename or save over
// the shown file meanwhile, as they may on Linux.
#include "core/file/BinaryFile.h"
#include "core/file/FileSystem.h"

#include <algorithm>
#include <fcntl.h>
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX // keeps std::min usable
#endif
#include <windows.h>

namespace zirpel {

namespace {

HANDLE OsHandle(std::FILE* f) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
}

} // namespace

bool BinaryFile::open(const QString& path, Mode mode) {
    close();
    if (path.isEmpty())
        return false;
    const bool update = mode == Mode::Update;
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open; a pipe or a device
    // opens without waiting and is refused by its type.
    const QString name = LongPathForm(path);
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(name.utf16()),
                                      update ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return false;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                                   (update ? _O_RDWR : _O_RDONLY) | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return false;
    }
    f_ = _fdopen(fd, update ? "r+b" : "rb");
    if (!f_) {
        _close(fd);
        return false;
    }
    if (update)
        std::setvbuf(f_, nullptr, _IONBF, 0);
    return true;
}

bool BinaryFile::seek(std::int64_t offset) {
    if (!f_ || offset < 0)
        return false;
    // The C library may serve a seek inside its buffer without reading again; dropping
    // the buffer first makes bytes written through another stream show.
    std::fflush(f_);
    return _fseeki64(f_, offset, SEEK_SET) == 0;
}

bool BinaryFile::seekEnd() {
    return f_ && _fseeki64(f_, 0, SEEK_END) == 0;
}

std::int64_t BinaryFile::tell() const {
    return f_ ? _ftelli64(f_) : -1;
}

std::size_t BinaryFile::readAt(std::int64_t offset, void* buffer, std::size_t count) const {
    if (testTransferLimit)
        count = std::min(count, testTransferLimit(Transfer::Read, offset, count));
    if (!f_ || offset < 0 || count == 0)
        return 0;
    // An offset in OVERLAPPED reads there even from a handle opened for plain reads. It
    // moves the handle's own pointer, which the stream does not trust: every read of a
    // page seeks first.
    const HANDLE handle = OsHandle(f_);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    OVERLAPPED at{};
    at.Offset = DWORD(std::uint64_t(offset) & 0xFFFFFFFFu);
    at.OffsetHigh = DWORD(std::uint64_t(offset) >> 32);
    DWORD got = 0;
    const DWORD ask = DWORD(std::min<std::size_t>(count, 1u << 30));
    if (!ReadFile(handle, buffer, ask, &got, &at))
        return 0;
    return std::size_t(got);
}

bool BinaryFile::flushAndSync() {
    return f_ && std::fflush(f_) == 0 && _commit(_fileno(f_)) == 0;
}

std::optional<FileIdentity> BinaryFile::identity() const {
    if (!f_)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_STANDARD_INFO standard{};
    const HANDLE handle = OsHandle(f_);
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info) ||
        !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard))
        return std::nullopt;
    // A file another program deleted stays reachable until its last handle closes; it is
    // no longer the file the user sees under its name.
    if (standard.DeletePending)
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

BinaryFile BinaryFile::duplicate() const {
    BinaryFile copy;
    const int fd = f_ ? _dup(_fileno(f_)) : -1;
    if (fd < 0)
        return copy;
    copy.f_ = _fdopen(fd, "r+b");
    if (!copy.f_) {
        _close(fd);
        return copy;
    }
    std::setvbuf(copy.f_, nullptr, _IONBF, 0);
    return copy;
}

bool BinaryFile::reserve(std::int64_t offset, std::int64_t length) {
    if (!f_ || offset < 0 || length < 0 || (testStepFails && testStepFails(Step::Reserve)))
        return false;
    const HANDLE handle = OsHandle(f_);
    FILE_STANDARD_INFO standard{};
    if (handle == INVALID_HANDLE_VALUE ||
        !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard))
        return true;
    // The allocation size, never the end of file: the file grows only with the bytes
    // written. It is only ever raised, and only past the end of file.
    const std::optional<std::int64_t> raised = RaisedAllocation(
        offset + length, standard.EndOfFile.QuadPart, standard.AllocationSize.QuadPart);
    if (!raised)
        return true;
    FILE_ALLOCATION_INFO allocation{};
    allocation.AllocationSize.QuadPart = *raised;
    if (SetFileInformationByHandle(handle, FileAllocationInfo, &allocation, sizeof allocation))
        return true;
    // A file system without such a reservation writes without one.
    const DWORD error = GetLastError();
    return error != ERROR_DISK_FULL && error != ERROR_HANDLE_DISK_FULL;
}

bool BinaryFile::truncate(std::int64_t length) {
    return f_ && length >= 0 && std::fflush(f_) == 0 && _chsize_s(_fileno(f_), length) == 0;
}

} // namespace zirpel
