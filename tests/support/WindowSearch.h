// The search as the 512-byte window describes it, the reference the scan is held to:
// read 512-byte blocks into a 1024-byte window, test every start position of the first
// half, continue behind a hit, and start each block at its first byte. A position whose
// pattern runs past the end of the file is no hit. Header only: the unit tests and the
// fuzz harness both use it.
#pragma once

#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <vector>

inline std::vector<qint32> WindowSearch(std::span<const quint8> file,
                                        std::span<const quint8> pattern) {
    std::vector<qint32> hits;
    std::array<quint8, 1024> window{};
    std::size_t readPos = 0;
    auto readHalf = [&](quint8* half) {
        const std::size_t n = std::min<std::size_t>(512, file.size() - readPos);
        std::memcpy(half, file.data() + readPos, n);
        readPos += n;
        return n;
    };
    const std::size_t length = pattern.size();
    std::size_t base = 0;
    std::size_t a = readHalf(window.data());
    std::size_t b = readHalf(window.data() + 512);
    while (a >= 1) {
        std::size_t c = 0;
        while (c < a) {
            const bool match = std::memcmp(window.data() + c, pattern.data(), length) == 0;
            if (match && base + c + length <= file.size()) {
                hits.push_back(qint32(base + c));
                c += length;
            } else {
                c += 1;
            }
        }
        std::memcpy(window.data(), window.data() + 512, 512);
        std::memset(window.data() + 512, 0, 512);
        base += a;
        a = b;
        b = readHalf(window.data() + 512);
    }
    return hits;
}
