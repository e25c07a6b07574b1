// The stream's system calls on Linux and other POSIX systems.
#include "core/file/BinaryFile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zirpel {

bool BinaryFile::open(const QString& path, Mode mode) {
    close();
    if (path.isEmpty())
        return false;
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
    if (mode == Mode::Update)
        std::setvbuf(f_, nullptr, _IONBF, 0);
    return true;
}

bool BinaryFile::seek(std::int64_t offset) {
    if (!f_ || offset < 0)
        return false;
    // The C library may serve a seek inside its buffer without reading again; dropping
    // the buffer first makes bytes written through another stream show.
    std::fflush(f_);
    return fseeko(f_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

bool BinaryFile::seekEnd() {
    return f_ && fseeko(f_, 0, SEEK_END) == 0;
}

std::int64_t BinaryFile::tell() const {
    return f_ ? ftello(f_) : -1;
}

std::size_t BinaryFile::readAt(std::int64_t offset, void* buffer, std::size_t count) const {
    if (testTransferLimit)
        count = std::min(count, testTransferLimit(Transfer::Read, offset, count));
    if (!f_ || offset < 0 || count == 0)
        return 0;
    for (;;) {
        const ssize_t n = pread(fileno(f_), buffer, count, static_cast<off_t>(offset));
        if (n >= 0)
            return std::size_t(n);
        if (errno != EINTR)
            return 0;
    }
}

bool BinaryFile::flushAndSync() {
    return f_ && std::fflush(f_) == 0 && fsync(fileno(f_)) == 0;
}

std::optional<FileIdentity> BinaryFile::identity() const {
    if (!f_)
        return std::nullopt;
    struct stat st {};
    if (fstat(fileno(f_), &st) != 0)
        return std::nullopt;
    return FileIdentity{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
}

BinaryFile BinaryFile::duplicate() const {
    BinaryFile copy;
    const int fd = f_ ? fcntl(fileno(f_), F_DUPFD_CLOEXEC, 0) : -1;
    if (fd < 0)
        return copy;
    copy.f_ = fdopen(fd, "r+b");
    if (!copy.f_) {
        ::close(fd);
        return copy;
    }
    std::setvbuf(copy.f_, nullptr, _IONBF, 0);
    return copy;
}

bool BinaryFile::reserve(std::int64_t offset, std::int64_t length) {
    if (!f_ || offset < 0 || length < 0 || (testStepFails && testStepFails(Step::Reserve)))
        return false;
    if (length == 0)
        return true;
#ifdef __linux__
    // Keeping the size, the file grows only with the bytes written: killed before them, it
    // holds nothing nobody typed. A file system without such a reservation writes without
    // one.
    for (;;) {
        if (fallocate(fileno(f_), FALLOC_FL_KEEP_SIZE, off_t(offset), off_t(length)) == 0)
            return true;
        if (errno != EINTR)
            return errno == EOPNOTSUPP || errno == ENOSYS;
    }
#else
    return true;
#endif
}

bool BinaryFile::truncate(std::int64_t length) {
    return f_ && length >= 0 && std::fflush(f_) == 0 && ftruncate(fileno(f_), off_t(length)) == 0;
}

} // namespace zirpel
