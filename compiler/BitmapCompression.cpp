#include "compiler/BitmapCompression.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace vv::pdb {
namespace {

using uchar = unsigned char;

// Each method is written once over a sink that either only counts (to choose
// the smallest method without building the others) or writes through a raw
// pointer into space reserved for the worst case; these loops run for every
// member of every family.
struct Counter {
    std::ptrdiff_t size = 0;
    std::ptrdiff_t limit = 0; // counting stops once this is reached: the method has lost
    bool full() const { return size >= limit; }
    void put(uchar) { ++size; }
    void put(const uchar*, int n) { size += n; }
    uchar* reserve() {
        ++size;
        return nullptr;
    }
    void mark(uchar*, uchar) {}
};

struct Writer {
    uchar* w;
    bool full() const { return false; }
    void put(uchar v) { *w++ = v; }
    void put(const uchar* p, int n) {
        std::memcpy(w, p, size_t(n));
        w += n;
    }
    uchar* reserve() {
        *w = 0;
        return w++;
    }
    void mark(uchar* at, uchar bit) { *at |= bit; }
};

template <typename Sink> void scanline(Sink& out, const uchar* rows, int rowBytes, int height) {
    for (int y = 0; y < height; ++y) {
        const uchar* row = rows + std::ptrdiff_t(y) * rowBytes;
        const uchar* previous = y > 0 ? row - rowBytes : nullptr;
        for (int group = 0; group < rowBytes; group += 8) {
            const int count = std::min(8, rowBytes - group);
            uchar* mask = out.reserve();
            for (int i = 0; i < count; ++i) {
                const int x = group + i;
                if (!previous || row[x] != previous[x]) {
                    out.mark(mask, uchar(0x80 >> i));
                    out.put(row[x]);
                }
            }
        }
        if (out.full())
            return;
    }
}

template <typename Sink> void rle(Sink& out, const uchar* rows, int rowBytes, int height) {
    for (int y = 0; y < height; ++y) {
        const uchar* row = rows + std::ptrdiff_t(y) * rowBytes;
        int x = 0;
        while (x < rowBytes) {
            int run = 1;
            while (x + run < rowBytes && run < 255 && row[x + run] == row[x])
                ++run;
            out.put(uchar(run));
            out.put(row[x]);
            x += run;
        }
        if (out.full())
            return;
    }
}

// PackBits over units of `unit` bytes (1, or 2 for 16-bit pixels). Runs of three
// or more units become run packets. A pair of bytes inside an open literal stays
// there (cutting the literal would cost a control byte more); a pair of 16-bit
// units is always cheaper as a run.
template <typename Sink> void packBits(Sink& out, const uchar* rows, int rowBytes, int height, int unit) {
    const int units = rowBytes / unit;
    auto same = [&](const uchar* row, int a, int b) {
        return unit == 1 ? row[a] == row[b] : (row[2 * a] == row[2 * b] && row[2 * a + 1] == row[2 * b + 1]);
    };
    for (int y = 0; y < height; ++y) {
        const uchar* row = rows + std::ptrdiff_t(y) * rowBytes;
        int x = 0;
        int literalStart = 0, literalCount = 0;
        auto flushLiteral = [&] {
            while (literalCount > 0) {
                const int n = std::min(128, literalCount);
                out.put(uchar(n - 1));
                out.put(row + literalStart * unit, n * unit);
                literalStart += n;
                literalCount -= n;
            }
        };
        while (x < units) {
            int run = 1;
            while (x + run < units && same(row, x, x + run))
                ++run;
            if (run >= 3 || (run == 2 && (literalCount == 0 || unit == 2))) {
                flushLiteral();
                const uchar* value = row + x * unit;
                for (int left = run; left > 0;) {
                    int n = std::min(128, left);
                    if (left - n == 1)
                        --n; // leave a pair rather than a unit no run packet can hold
                    out.put(uchar(257 - n));
                    out.put(value, unit);
                    left -= n;
                }
            } else {
                if (literalCount == 0)
                    literalStart = x;
                literalCount += run;
            }
            x += run;
        }
        flushLiteral();
        if (out.full())
            return;
    }
}

template <typename Sink>
void run(Sink& out, Compression method, const uchar* data, int rowBytes, int height, bool wordPackBits) {
    switch (method) {
    case Compression::Scanline:
        scanline(out, data, rowBytes, height);
        break;
    case Compression::Rle:
        rle(out, data, rowBytes, height);
        break;
    case Compression::PackBits:
        packBits(out, data, rowBytes, height, wordPackBits ? 2 : 1);
        break;
    }
}

// How many of the `count` bytes at `a` differ from those at `b`, eight at a time.
std::ptrdiff_t differingBytes(const uchar* a, const uchar* b, std::ptrdiff_t count) {
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL, high = 0x8080808080808080ULL;
    std::ptrdiff_t n = 0, i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        const std::uint64_t d = x ^ y;
        // One high bit per differing byte, summed by a multiply (no popcount
        // instruction is assumed).
        const std::uint64_t marks = ((((d & low7) + low7) | d) & high) >> 7;
        n += std::ptrdiff_t((marks * 0x0101010101010101ULL) >> 56);
    }
    for (; i < count; ++i)
        n += a[i] != b[i];
    return n;
}

// The scanline size without building it: a mask byte per group of eight and
// every byte that differs from the one above (all of the first row).
std::ptrdiff_t scanlineSize(const uchar* rows, int rowBytes, int height, std::ptrdiff_t limit) {
    const std::ptrdiff_t masks = (rowBytes + 7) / 8;
    std::ptrdiff_t size = 0;
    for (int y = 0; y < height && size < limit; ++y) {
        const uchar* row = rows + std::ptrdiff_t(y) * rowBytes;
        size += masks + (y == 0 ? rowBytes : differingBytes(row, row - rowBytes, rowBytes));
    }
    return size;
}

// The RLE size: two bytes a run. A row no longer than a run's limit of 255 has
// as many runs as places where a byte differs from the one before, plus one.
std::ptrdiff_t rleSize(const uchar* rows, int rowBytes, int height, std::ptrdiff_t limit) {
    if (rowBytes > 255) {
        Counter counter{0, limit};
        rle(counter, rows, rowBytes, height);
        return counter.size;
    }
    std::ptrdiff_t size = 0;
    for (int y = 0; y < height && size < limit; ++y) {
        const uchar* row = rows + std::ptrdiff_t(y) * rowBytes;
        if (rowBytes > 0)
            size += 2 * (1 + differingBytes(row + 1, row, rowBytes - 1));
    }
    return size;
}

} // namespace

std::ptrdiff_t BitmapCompression::compressedSize(Compression method, std::string_view rows, int rowBytes,
                                                 int height, bool wordPackBits, std::ptrdiff_t limit) {
    const auto* data = reinterpret_cast<const uchar*>(rows.data());
    if (method == Compression::Scanline)
        return scanlineSize(data, rowBytes, height, limit);
    if (method == Compression::Rle)
        return rleSize(data, rowBytes, height, limit);
    Counter counter{0, limit};
    run(counter, method, data, rowBytes, height, wordPackBits);
    return counter.size;
}

std::string BitmapCompression::compress(Compression method, std::string_view rows, int rowBytes, int height,
                                        bool wordPackBits) {
    std::string out(size_t(compressedSize(method, rows, rowBytes, height, wordPackBits)), '\0');
    Writer writer{reinterpret_cast<uchar*>(out.data())};
    run(writer, method, reinterpret_cast<const uchar*>(rows.data()), rowBytes, height, wordPackBits);
    return out;
}

std::optional<std::string> BitmapCompression::decompress(Compression method, const char* data,
                                                         std::ptrdiff_t size, int rowBytes, int height,
                                                         bool wordPackBits, std::ptrdiff_t* consumed) {
    if (rowBytes < 0 || height < 0)
        return std::nullopt;
    std::string rows(size_t(rowBytes) * size_t(height), '\0');
    auto* out = reinterpret_cast<uchar*>(rows.data());
    const auto* in = reinterpret_cast<const uchar*>(data);
    std::ptrdiff_t at = 0;
    for (int y = 0; y < height; ++y) {
        uchar* row = out + std::ptrdiff_t(y) * rowBytes;
        int x = 0;
        if (method == Compression::Scanline) {
            for (int start = 0; start < rowBytes; start += 8) {
                if (at >= size)
                    return std::nullopt;
                const uchar mask = in[at++];
                const int count = std::min(8, rowBytes - start);
                for (int i = 0; i < count; ++i) {
                    if (mask & (0x80 >> i)) {
                        if (at >= size)
                            return std::nullopt;
                        row[start + i] = in[at++];
                    } else {
                        row[start + i] = y > 0 ? row[start + i - rowBytes] : 0;
                    }
                }
            }
        } else if (method == Compression::Rle) {
            while (x < rowBytes) {
                if (at + 2 > size)
                    return std::nullopt;
                const int count = in[at];
                const uchar value = in[at + 1];
                at += 2;
                if (count == 0 || x + count > rowBytes)
                    return std::nullopt;
                memset(row + x, value, size_t(count));
                x += count;
            }
        } else {
            const int unit = wordPackBits ? 2 : 1;
            while (x < rowBytes) {
                if (at >= size)
                    return std::nullopt;
                const int c = in[at++];
                if (c == 0x80)
                    return std::nullopt;
                if (c < 0x80) {
                    const int n = (c + 1) * unit;
                    if (at + n > size || x + n > rowBytes)
                        return std::nullopt;
                    memcpy(row + x, in + at, size_t(n));
                    at += n;
                    x += n;
                } else {
                    const int repeat = 257 - c;
                    if (at + unit > size || x + repeat * unit > rowBytes)
                        return std::nullopt;
                    for (int i = 0; i < repeat; ++i)
                        memcpy(row + x + i * unit, in + at, size_t(unit));
                    at += unit;
                    x += repeat * unit;
                }
            }
        }
    }
    if (consumed)
        *consumed = at;
    return rows;
}

} // namespace vv::pdb
