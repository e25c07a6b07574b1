#include "platform/WriteInPlace.h"

#include <QByteArray>
#include <algorithm>

namespace zirpel {

std::optional<qint64> WriteLength(qint64 offset, qint64 count, qint64 typedEnd, qint64 fileSize,
                                  Growth growth) {
    if (offset < 0 || count < 0 || offset > fileSize)
        return std::nullopt;
    const qint64 inside = std::min(count, fileSize - offset);
    if (growth == Growth::Refused)
        return inside == count ? std::optional<qint64>(count) : std::nullopt;
    return std::max(inside, std::clamp(typedEnd, qint64(0), count));
}

bool WriteInPlace(const QString& path, const FileIdentity& shown, qint64 offset,
                  std::span<const quint8> bytes, Growth growth, qint64 typedEnd) {
    BinaryFile stream;
    // The name may lead to another file by now (renamed over, a link swapped in): only
    // the file the window opened is written.
    if (!stream.open(path, BinaryFile::Mode::Update) || stream.identity() != shown)
        return false;
    const qint64 size = stream.size();
    if (size < 0)
        return false;
    const std::optional<qint64> length =
        WriteLength(offset, qint64(bytes.size()), typedEnd, size, growth);
    if (!length)
        return false;
    // What the range holds now, to be put back if the write stops partway.
    QByteArray old(std::min(*length, size - offset), Qt::Uninitialized);
    if (!stream.seek(offset) ||
        stream.read(old.data(), std::size_t(old.size())) != std::size_t(old.size()))
        return false;
    if (!stream.reserve(offset, *length)) {
        (void)stream.truncate(size);
        return false;
    }
    if (stream.seek(offset) && stream.write(bytes.data(), std::size_t(*length)) &&
        stream.flushAndSync())
        return stream.commitAndClose();
    // The stream is unbuffered: nothing of the failed write is still pending.
    (void)(stream.seek(offset) && stream.write(old.constData(), std::size_t(old.size())));
    (void)stream.truncate(size);
    (void)stream.commitAndClose();
    return false;
}

} // namespace zirpel
