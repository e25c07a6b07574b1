#include "platform/WriteInPlace.h"

#include "platform/BinaryFile.h"

namespace zirpel {

bool WriteInPlace(const QString& path, qint64 offset, std::span<const quint8> bytes,
                  Growth growth) {
    if (offset < 0)
        return false;
    BinaryFile stream;
    if (!stream.open(path, BinaryFile::Mode::Update))
        return false;
    if (growth == Growth::Refused) {
        const qint64 size = stream.size();
        if (size < 0 || offset + qint64(bytes.size()) > size)
            return false;
    }
    const bool written = stream.seek(offset) && stream.write(bytes.data(), bytes.size());
    // Closed in any case; what went out is still synced before the close.
    return stream.commitAndClose() && written;
}

} // namespace zirpel
