// The parts of the stream that are the same on every system; BinaryFilePosix.cpp and
// BinaryFileWindows.cpp hold the rest.
#include "core/file/BinaryFile.h"

#include <algorithm>

namespace zirpel {

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
    if (this != &other) {
        close();
        f_ = other.f_;
        other.f_ = nullptr;
    }
    return *this;
}

void BinaryFile::close() {
    if (f_) {
        std::fclose(f_);
        f_ = nullptr;
    }
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

bool BinaryFile::write(const void* buffer, std::size_t count, std::size_t* done) {
    std::size_t allowed = count;
    if (f_ && testTransferLimit)
        allowed = std::min(count, testTransferLimit(Transfer::Write, tell(), count));
    const std::size_t n = f_ ? std::fwrite(buffer, 1, allowed, f_) : 0;
    if (done)
        *done = n;
    return n == count;
}

bool BinaryFile::commitAndClose() {
    if (!f_)
        return false;
    const bool synced = flushAndSync() && !(testStepFails && testStepFails(Step::Sync));
    const bool closed = std::fclose(f_) == 0 && !(testStepFails && testStepFails(Step::Close));
    f_ = nullptr;
    return synced && closed;
}

} // namespace zirpel
