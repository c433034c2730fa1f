// A BMP file gets one answer wherever the program opens it: the format
// library's check, the compiler's reader (from a file and from memory, as the
// picture fuzzer feeds it) and the sheet loader, whose decoding is Qt's.
#include "common/SheetPicture.h"
#include "compiler/PictureReader.h"
#include "compiler/QtBytes.h"
#include "formats/BmpHeader.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace vv {
namespace {

constexpr QRgb kGreen = 0xFF00FF00u;

struct Answer {
    std::string problem;      // empty when read
    std::vector<QRgb> pixels; // row by row, when read
    int width = 0, height = 0;
};

Answer fromCompiler(const std::optional<pdb::Picture>& picture, const std::string& error) {
    Answer a{picture ? std::string() : error, {}, 0, 0};
    if (picture) {
        a.width = picture->width();
        a.height = picture->height();
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                a.pixels.push_back(picture->pixel(x, y));
    }
    return a;
}

Answer fromSheet(const SheetLoadResult& result) {
    Answer a{result.loaderMessage.toStdString(), {}, 0, 0};
    if (result.loaded()) {
        a.width = result.picture.width();
        a.height = result.picture.height();
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                a.pixels.push_back(result.picture.pixel(x, y));
    }
    return a;
}

TEST(BmpRoutes, EveryReaderGivesOneAnswerForTheHeadersTheyOnceDisagreedOn) {
    const struct {
        const char* file;
        std::string problem; // empty: read, with `pixels`
        std::vector<QRgb> pixels;
    } cases[] = {
        // Bit masks inside a 56-byte header, widened as for a 40-byte one with
        // masks after it: 5 bits v become v << 3, 6 bits v << 2.
        {"pictures/v3-header.bmp", "", {0xFFF80000u, 0xFF00FC00u, 0xFF0000F8u, 0xFFF8FCF8u}},
        // A core header's width is unsigned: 40000, not -25536, and too wide.
        {"pictures/core-40000-wide.bmp", "BMP picture of 40000 x 1 pixels is too large", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = test::fixturePath(QString::fromLatin1(c.file));
        const QByteArray bytes = test::readBytes(path);
        ASSERT_FALSE(bytes.isEmpty());
        std::string fromFile, fromMemory;
        const struct {
            const char* route;
            Answer answer;
        } routes[] = {
            // The check decodes nothing: only its verdict is compared.
            {"format check", {formats::checkBmpFile(pdb::bytesOf(bytes)).problem, c.pixels, 0, 0}},
            {"compiler, file",
             fromCompiler(pdb::PictureReader::read(pdb::utf8Of(path), &fromFile), fromFile)},
            {"compiler, memory",
             fromCompiler(pdb::PictureReader::decode(pdb::bytesOf(bytes), &fromMemory), fromMemory)},
            {"sheet, file", fromSheet(loadSheetPicture(path, kGreen))},
            {"sheet, memory", fromSheet(decodeSheetPicture(bytes, kGreen))},
        };
        for (const auto& r : routes) {
            SCOPED_TRACE(r.route);
            EXPECT_EQ(r.answer.problem, c.problem);
            EXPECT_EQ(r.answer.pixels, c.pixels);
        }
    }
}

} // namespace
} // namespace vv
