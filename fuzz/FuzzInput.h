// Takes a fuzz input apart: a few leading bytes as choices, the rest as data or text.
#pragma once

#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // The next byte, 0 once the input is used up.
    quint8 Byte() {
        if (size_ == 0)
            return 0;
        --size_;
        return *data_++;
    }
    // The next four bytes, the first the least significant.
    quint32 Word() {
        quint32 word = 0;
        for (int shift = 0; shift < 32; shift += 8)
            word |= quint32(Byte()) << shift;
        return word;
    }
    // Whatever is left, as bytes.
    QByteArray Rest() {
        QByteArray bytes(reinterpret_cast<const char*>(data_), qsizetype(size_));
        data_ += size_;
        size_ = 0;
        return bytes;
    }
    // Whatever is left, as text: either one character a byte (the single-byte texts the
    // entries hold) or UTF-16 code units, lone surrogates included.
    QString Text(bool wide) {
        const QByteArray bytes = Rest();
        if (!wide)
            return QString::fromLatin1(bytes);
        QString text;
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            text.append(QChar(char16_t(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8)));
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// Reports a broken property and stops the run, so that libFuzzer keeps the input.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::abort();
}

inline void Check(bool ok, const char* what) {
    if (!ok)
        Fail(what);
}

} // namespace fuzz
