// The page the table shows and the limits it lives in: the page shape, the page size, the
// table's rows and columns, and the largest file that can be opened. Each rule the scroll
// bar, the hit navigation and the page read share is written here once.
#pragma once

#include <QtGlobal>

#include <algorithm>

namespace zirpel {

// Rows and columns of a page: 16 to 32 in steps of 4.
inline constexpr int kMinPageShape = 16;
inline constexpr int kMaxPageShape = 32;
inline constexpr int kPageShapeStep = 4;
// Rows and columns when the settings hold none.
inline constexpr int kFallbackPageShape = 16;
// The largest page, and so the page buffer.
inline constexpr int kMaxPageSize = kMaxPageShape * kMaxPageShape;

// The table's columns besides the byte columns: the address, a spacer, the text.
inline constexpr int kGridOtherColumns = 3;
// The table's columns for a page of `columns` bytes a row.
[[nodiscard]] constexpr int GridColumns(int columns) {
    return columns + kGridOtherColumns;
}
[[nodiscard]] constexpr int TextColumn(int columns) {
    return columns + 2;
}
// Byte cells are columns 1 to `columns`.
[[nodiscard]] constexpr bool IsByteColumn(int column, int columns) {
    return column >= 1 && column <= columns;
}
inline constexpr int kMaxGridColumns = GridColumns(kMaxPageShape);
// The header row and one row per page row.
inline constexpr int kMaxGridRows = kMaxPageShape + 1;
// The text of a row: one character per byte and the terminating zero.
inline constexpr int kMaxRowText = kMaxPageShape + 1;

// Offsets are 32-bit: the largest file that can be opened is 2^31 - 1 bytes.
inline constexpr qint64 kMaxFileSize = (qint64(1) << 31) - 1;

static_assert(kMaxPageSize == 1024);
static_assert(kMaxGridColumns == 35 && kMaxGridRows == 33 && kMaxRowText == 33);
static_assert((kMaxPageShape - kMinPageShape) % kPageShapeStep == 0);
static_assert(kMaxFileSize == 2147483647);

// True for a row or column count inside the page shape's range.
[[nodiscard]] constexpr bool InPageShapeRange(int n) {
    return n >= kMinPageShape && n <= kMaxPageShape;
}

// The scroll bar's maximum for its position. A platform scroll bar's position goes up to
// maximum - page + 1, so with fileSize - pageSize + 1 the thumb stands at the bottom of the
// track on the last page. A position beyond that (the page grew on the last page, and
// stays until the user scrolls) is kept, with room for one more step down: every way down
// then moves the position, and the scroll handler puts the page on the last full one.
[[nodiscard]] constexpr int ScrollMaximum(int fileSize, int pageSize, int position) {
    const int last = fileSize > pageSize ? fileSize - pageSize + 1 : 0;
    return position >= last && position > 0 ? position + 1 : last;
}

// The page: `size` bytes of the file from `offset` on.
struct Page {
    qint32 offset = 0;
    qint32 size = 0;

    // The offset of the last page that lies whole inside a file of fileSize bytes; 0 when
    // the file is shorter than a page.
    [[nodiscard]] constexpr qint32 lastOffset(qint32 fileSize) const {
        return std::max(0, fileSize - size);
    }
    // `at`, kept from running past the end: never beyond the last whole page.
    [[nodiscard]] constexpr qint32 clamp(qint32 at, qint32 fileSize) const {
        return std::min(at, lastOffset(fileSize));
    }
    // How many of the page's bytes the file holds, the page capped at the largest one.
    [[nodiscard]] constexpr qint32 bytesInFile(qint32 fileSize) const {
        return std::clamp(fileSize - offset, 0, std::clamp(size, 0, kMaxPageSize));
    }
    [[nodiscard]] constexpr int scrollMaximum(qint32 fileSize) const {
        return ScrollMaximum(fileSize, size, offset);
    }
};

} // namespace zirpel
