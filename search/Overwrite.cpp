#include "search/Overwrite.h"

#include "platform/BinaryFile.h"

namespace zirpel {

bool OverwriteInPlace(const QString& path, qint64 offset, std::span<const quint8> bytes) {
    BinaryFile file;
    if (!file.open(path, BinaryFile::Mode::Update))
        return false;
    const qint64 size = file.size();
    if (offset < 0 || size < 0 || offset + qint64(bytes.size()) > size)
        return false;
    if (!file.seek(offset) || !file.write(bytes.data(), bytes.size()))
        return false;
    return file.commitAndClose();
}

} // namespace zirpel
