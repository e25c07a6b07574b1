#include "core/file/WriteInPlace.h"

#include <algorithm>

namespace zirpel {

namespace {

// Runs in ascending order, apart from each other, inside the count bytes.
bool RunsFit(const WriteRuns& runs, qint64 count) {
    qint64 end = 0;
    for (const WriteRun& run : runs) {
        if (run.at < end || run.bytes.isEmpty() || run.at + run.bytes.size() > count)
            return false;
        end = run.at + run.bytes.size();
    }
    return true;
}

} // namespace

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
    // fails.
    QByteArray old(std::clamp(size - offset, qint64(0), count), Qt::Uninitialized);
    if (!old.isEmpty() &&
        (!stream.seek(offset) ||
         stream.read(old.data(), std::size_t(old.size())) != std::size_t(old.size())))
        return false;
    const std::optional<WriteRuns> runs =
        compose(size, {reinterpret_cast<const quint8*>(old.constData()), std::size_t(old.size())});
    if (!runs || !RunsFit(*runs, count))
        return false;
    if (runs->isEmpty())
        return true;
    const qint64 first = runs->front().at;
    const qint64 end = runs->back().at + runs->back().bytes.size();
    // Closing may still report a write the system had put off; the old bytes then go back
    // through this second handle on the same file.
    BinaryFile spare = stream.duplicate();
    if (!spare.isOpen() || !stream.reserve(offset + first, end - first))
        return false;
    const bool written = std::all_of(runs->begin(), runs->end(), [&](const WriteRun& run) {
        return stream.seek(offset + run.at) &&
               stream.write(run.bytes.constData(), std::size_t(run.bytes.size()));
    });
    if (written && stream.commitAndClose())
        return true;
    // The streams are unbuffered: nothing of the failed write is still pending.
    stream.close();
    for (const WriteRun& run : *runs) {
        const qint64 back = std::min<qint64>(run.bytes.size(), old.size() - run.at);
        if (back > 0)
            (void)(spare.seek(offset + run.at) &&
                   spare.write(old.constData() + run.at, std::size_t(back)));
    }
    if (offset + end > size)
        (void)spare.truncate(size);
    (void)spare.commitAndClose();
    return false;
}

} // namespace zirpel
