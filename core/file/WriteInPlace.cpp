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

// Puts the old bytes back over what a failed write put in: the runs before done whole
// and the first part bytes of run done, only where the file held them before this write
// lengthened it and still holds them (one that another program cut meanwhile is not
// filled up again); then cuts the file back to grownFrom, the size it had just before
// the run that lengthened it (-1: none did), where it is longer now. Bytes that another
// program appended behind this write's end, grownTo, would go with the cut: then the
// file is not cut, and not as it was. True when all of that worked.
bool PutBack(BinaryFile& file, qint64 offset, const QByteArray& old, const WriteRuns& runs,
             qsizetype done, qint64 part, qint64 grownFrom, qint64 grownTo) {
    const qint64 now = file.size();
    bool back = now >= 0 && (grownFrom < 0 || now <= grownTo);
    const qint64 held = grownFrom < 0 ? now : std::min(now, grownFrom);
    for (qsizetype i = 0; i <= done && i < runs.size(); ++i) {
        const qint64 at = runs[i].at;
        const qint64 length = i < done ? runs[i].bytes.size() : part;
        const qint64 n = std::min({length, old.size() - at, held - offset - at});
        if (n > 0)
            back =
                file.seek(offset + at) && file.write(old.constData() + at, std::size_t(n)) && back;
    }
    if (back && grownFrom >= 0 && now > grownFrom)
        back = file.truncate(grownFrom);
    return file.commitAndClose() && back;
}

} // namespace

WriteResult WriteInPlace(const QString& path, const FileIdentity& shown, qint64 offset,
                         qint64 count, const ComposeWrite& compose, WriteKind kind) {
    BinaryFile stream;
    // The name may lead to another file by now (renamed over, a link swapped in): only
    // the file the window opened is written.
    if (offset < 0 || count < 0 || !stream.open(path, BinaryFile::Mode::Update) ||
        stream.identity() != shown)
        return WriteResult::Unchanged;
    const qint64 size = stream.size();
    if (size < 0)
        return WriteResult::Unchanged;
    // What the range holds now: the bytes compose decides from, put back if the write
    // fails.
    QByteArray old(std::clamp(size - offset, qint64(0), count), Qt::Uninitialized);
    if (!old.isEmpty() &&
        (!stream.seek(offset) ||
         stream.read(old.data(), std::size_t(old.size())) != std::size_t(old.size())))
        return WriteResult::Unchanged;
    const std::optional<WriteRuns> runs =
        compose(size, {reinterpret_cast<const quint8*>(old.constData()), std::size_t(old.size())});
    if (!runs || !RunsFit(*runs, count))
        return WriteResult::Unchanged;
    if (runs->isEmpty())
        return WriteResult::Written;
    const qint64 first = runs->front().at;
    const qint64 end = runs->back().at + runs->back().bytes.size();
    // Closing may still report a write the system had put off; the old bytes then go back
    // through this second handle on the same file.
    BinaryFile spare = stream.duplicate();
    if (!spare.isOpen() || !stream.reserve(offset + first, end - first))
        return WriteResult::Unchanged;
    // How far the write got: the runs before done went in whole, part bytes of run done.
    qsizetype done = 0;
    std::size_t part = 0;
    qint64 grownFrom = -1;
    qint64 grownTo = -1;
    for (; done < runs->size(); ++done) {
        const WriteRun& run = (*runs)[done];
        if (testBeforeRun)
            testBeforeRun(done);
        // Another program may have cut the file since it was read. A run inside the old
        // size goes in only while the file still holds its first byte (a replacement:
        // its last too), one past the old end only while the file is as long as it was,
        // so that no gap is ever filled and a replace never lengthens the file.
        const qint64 start = offset + run.at;
        const qint64 now = stream.size();
        const bool holds = start < size ? now > start && (kind == WriteKind::Row ||
                                                          now >= start + run.bytes.size())
                                        : now >= size;
        part = 0;
        if (!holds || !stream.seek(start))
            break;
        const bool whole =
            stream.write(run.bytes.constData(), std::size_t(run.bytes.size()), &part);
        if (start + qint64(part) > now) {
            grownFrom = grownFrom < 0 ? now : grownFrom;
            grownTo = start + qint64(part);
        }
        if (!whole)
            break;
    }
    if (done == runs->size() && stream.commitAndClose())
        return WriteResult::Written;
    // The streams are unbuffered: nothing of the failed write is still pending.
    stream.close();
    return PutBack(spare, offset, old, *runs, done, qint64(part), grownFrom, grownTo)
               ? WriteResult::Unchanged
               : WriteResult::NotRestored;
}

} // namespace zirpel
