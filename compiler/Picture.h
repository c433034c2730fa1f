// A decoded picture as the compiler uses it: opaque 0xFFRRGGBB pixels, rows top
// to bottom. Plain memory, so the compiler needs no graphics library. Copies
// share the pixels (every member of a family uses the same picture); only the
// code that fills a new picture writes to it.
#pragma once

#include <QtGlobal>

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace vv::pdb {

class Picture {
public:
    Picture() = default;
    Picture(int width, int height)
        : m_width(width), m_height(height),
          // Not cleared: whoever makes a picture writes every pixel, and clearing
          // a large one would touch all of its memory a second time.
          m_pixels(std::make_shared_for_overwrite<quint32[]>(size_t(width) * size_t(height))) {}

    // Any picture with QImage's interface, taken by its colours with alpha
    // dropped: the program and its tests hand QImages in, while the compiler
    // itself never links the graphics library.
    template <typename Image, typename = decltype(std::declval<const Image&>().constScanLine(0)),
              typename = std::enable_if_t<!std::is_same_v<Image, Picture>>>
    Picture(const Image& image) {
        const Image rgb = image.convertToFormat(Image::Format_RGB32);
        *this = Picture(rgb.width(), rgb.height());
        for (int y = 0; y < m_height; ++y) {
            const auto* in = reinterpret_cast<const quint32*>(rgb.constScanLine(y));
            quint32* out = row(y);
            for (int x = 0; x < m_width; ++x)
                out[x] = in[x] | 0xFF000000u;
        }
    }

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isNull() const { return !m_pixels || m_width <= 0 || m_height <= 0; }
    const quint32* row(int y) const { return m_pixels.get() + size_t(y) * size_t(m_width); }
    quint32* row(int y) { return m_pixels.get() + size_t(y) * size_t(m_width); }
    quint32 pixel(int x, int y) const { return row(y)[x]; }

private:
    int m_width = 0;
    int m_height = 0;
    std::shared_ptr<quint32[]> m_pixels;
};

} // namespace vv::pdb
