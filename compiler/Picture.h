// A decoded picture as the compiler uses it: opaque 0xFFRRGGBB pixels, rows top
// to bottom. Plain memory, so the compiler needs no graphics library. Copies
// share the pixels (every member of a family uses the same picture); only the
// code that fills a new picture writes to it.
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace vv::pdb {

class Picture {
public:
    Picture() = default;
    Picture(int width, int height)
        : width_(width), height_(height),
          // Not cleared: whoever makes a picture writes every pixel, and clearing
          // a large one would touch all of its memory a second time.
          pixels_(std::make_shared_for_overwrite<std::uint32_t[]>(size_t(width) * size_t(height))) {}

    // Any picture with QImage's interface, taken by its colours with alpha
    // dropped: the program and its tests hand QImages in, while the compiler
    // itself never links the graphics library.
    template <typename Image, typename = decltype(std::declval<const Image&>().constScanLine(0)),
              typename = std::enable_if_t<!std::is_same_v<Image, Picture>>>
    Picture(const Image& image) {
        const Image rgb = image.convertToFormat(Image::Format_RGB32);
        *this = Picture(rgb.width(), rgb.height());
        for (int y = 0; y < height_; ++y) {
            const auto* in = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
            std::uint32_t* out = row(y);
            for (int x = 0; x < width_; ++x)
                out[x] = in[x] | 0xFF000000u;
        }
    }

    int width() const { return width_; }
    int height() const { return height_; }
    bool isNull() const { return !pixels_ || width_ <= 0 || height_ <= 0; }
    const std::uint32_t* row(int y) const { return pixels_.get() + size_t(y) * size_t(width_); }
    std::uint32_t* row(int y) { return pixels_.get() + size_t(y) * size_t(width_); }
    std::uint32_t pixel(int x, int y) const { return row(y)[x]; }

private:
    int width_ = 0;
    int height_ = 0;
    std::shared_ptr<std::uint32_t[]> pixels_;
};

} // namespace vv::pdb
