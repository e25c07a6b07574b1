#include "platform/BinaryFile.h"

#include <QFile>
#include <algorithm>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#ifndef NOMINMAX
#define NOMINMAX // keeps std::min usable
#endif
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
    if (this != &other) {
        close();
        f_ = other.f_;
        other.f_ = nullptr;
    }
    return *this;
}

bool BinaryFile::open(const QString& path, Mode mode) {
    close();
    if (path.isEmpty())
        return false;
#ifdef _WIN32
    f_ = _wfsopen(reinterpret_cast<const wchar_t*>(path.utf16()),
                  mode == Mode::Read ? L"rb" : L"r+b", _SH_DENYNO);
    if (!f_)
        return false;
#else
    // A pipe opened the ordinary way waits for a writer, so the file is opened without
    // waiting and looked at before it becomes a stream.
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(), (mode == Mode::Read ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    f_ = fdopen(fd, mode == Mode::Read ? "rb" : "r+b");
    if (!f_) {
        ::close(fd);
        return false;
    }
#endif
    if (mode == Mode::Update)
        std::setvbuf(f_, nullptr, _IONBF, 0);
    return true;
}

void BinaryFile::close() {
    if (f_) {
        std::fclose(f_);
        f_ = nullptr;
    }
}

bool BinaryFile::seek(std::int64_t offset) {
    if (!f_ || offset < 0)
        return false;
    // The C library may serve a seek inside its buffer without reading again; dropping
    // the buffer first makes bytes written through another stream show.
    std::fflush(f_);
#ifdef _WIN32
    return _fseeki64(f_, offset, SEEK_SET) == 0;
#else
    return fseeko(f_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool BinaryFile::seekEnd() {
    if (!f_)
        return false;
#ifdef _WIN32
    return _fseeki64(f_, 0, SEEK_END) == 0;
#else
    return fseeko(f_, 0, SEEK_END) == 0;
#endif
}

std::int64_t BinaryFile::tell() const {
    if (!f_)
        return -1;
#ifdef _WIN32
    return _ftelli64(f_);
#else
    return ftello(f_);
#endif
}

std::int64_t BinaryFile::size() {
    if (!seekEnd())
        return -1;
    return tell();
}

std::size_t BinaryFile::read(void* buffer, std::size_t count) {
    if (!f_ || count == 0)
        return 0;
    if (testTransferLimit)
        count = std::min(count, testTransferLimit(Transfer::Read, tell(), count));
    return std::fread(buffer, 1, count, f_);
}

std::size_t BinaryFile::readAt(std::int64_t offset, void* buffer, std::size_t count) const {
    if (testTransferLimit)
        count = std::min(count, testTransferLimit(Transfer::Read, offset, count));
    if (!f_ || offset < 0 || count == 0)
        return 0;
#ifdef _WIN32
    // An offset in OVERLAPPED reads there even from a handle opened for plain reads. It
    // moves the handle's own pointer, which the stream does not trust: every read of a
    // page seeks first.
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f_)));
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
#else
    for (;;) {
        const ssize_t n = pread(fileno(f_), buffer, count, static_cast<off_t>(offset));
        if (n >= 0)
            return std::size_t(n);
        if (errno != EINTR)
            return 0;
    }
#endif
}

bool BinaryFile::write(const void* buffer, std::size_t count) {
    if (!f_)
        return false;
    std::size_t allowed = count;
    if (testTransferLimit)
        allowed = std::min(count, testTransferLimit(Transfer::Write, tell(), count));
    return std::fwrite(buffer, 1, allowed, f_) == count;
}

bool BinaryFile::flushAndSync() {
    if (!f_ || std::fflush(f_) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(f_)) == 0;
#else
    return fsync(fileno(f_)) == 0;
#endif
}

bool BinaryFile::commitAndClose() {
    if (!f_)
        return false;
    const bool synced = flushAndSync();
    const bool closed = std::fclose(f_) == 0;
    f_ = nullptr;
    return synced && closed;
}

std::optional<FileIdentity> BinaryFile::identity() const {
    if (!f_)
        return std::nullopt;
#ifdef _WIN32
    BY_HANDLE_FILE_INFORMATION info{};
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f_)));
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info))
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
#else
    struct stat st {};
    if (fstat(fileno(f_), &st) != 0)
        return std::nullopt;
    return FileIdentity{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
#endif
}

bool BinaryFile::reserve(std::int64_t offset, std::int64_t length) {
    if (!f_ || offset < 0 || length < 0)
        return false;
    if (length == 0)
        return true;
#ifdef _WIN32
    return true;
#else
    return posix_fallocate(fileno(f_), off_t(offset), off_t(length)) == 0;
#endif
}

bool BinaryFile::truncate(std::int64_t length) {
    if (!f_ || length < 0 || std::fflush(f_) != 0)
        return false;
#ifdef _WIN32
    return _chsize_s(_fileno(f_), length) == 0;
#else
    return ftruncate(fileno(f_), off_t(length)) == 0;
#endif
}
