#include "platform/WriteInPlace.h"

#include <algorithm>

namespace zirpel {

bool WriteInPlace(const QString& path, const FileIdentity& shown, qint64 offset, qint64 count,
                  const ComposeWrite& compose) {
    BinaryFile stream;
    // The name may lead to another file by now (renamed over, a link swapped in): only
    // the file the window opened is written.
    if (offset < 0 || count < 0 || !stream.open(path, BinaryFile::Mode::Update) ||
        stream.identity() != shown)
        return false;
    const qint64 size = stream.size();
    if (size < 0)
        return false;
    // What the range holds now: the bytes compose decides from, put back if the write
    // stops partway.
    QByteArray old(std::clamp(size - offset, qint64(0), count), Qt::Uninitialized);
    if (!old.isEmpty() &&
        (!stream.seek(offset) ||
         stream.read(old.data(), std::size_t(old.size())) != std::size_t(old.size())))
        return false;
    const std::optional<QByteArray> bytes =
        compose(size, {reinterpret_cast<const quint8*>(old.constData()), std::size_t(old.size())});
    if (!bytes)
        return false;
    if (!stream.reserve(offset, bytes->size())) {
        (void)stream.truncate(size);
        return false;
    }
    if (stream.seek(offset) && stream.write(bytes->constData(), std::size_t(bytes->size())) &&
        stream.flushAndSync())
        return stream.commitAndClose();
    // The stream is unbuffered: nothing of the failed write is still pending.
    (void)(stream.seek(offset) && stream.write(old.constData(), std::size_t(old.size())));
    (void)stream.truncate(size);
    (void)stream.commitAndClose();
    return false;
}

} // namespace zirpel
