// An independent decoder reads what we write: netpbm's palmtopnm decodes every
// member of every family of a compiled database back to the converted pixels.
// It reads versions 1, 2 and 3, all three compressions and the separator; it
// refuses palette indices 231..254, which the compiler only writes when a
// TRANSPARENTINDEX in that range asks for them (not used here).
#include "CompilerTestSupport.h"

#include "common/Palette.h"
#include "compiler/BitmapDecoder.h"
#include "compiler/PixelConverter.h"
#include "compiler/QtBytes.h"
#include "formats/PalmDatabase.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Pnm {
    char kind = 0; // '4' bitmap, '5' grey, '6' colour
    int width = 0, height = 0, maxval = 1;
    QByteArray pixels;
};

std::optional<Pnm> parsePnm(const QByteArray& bytes) {
    Pnm pnm;
    if (bytes.size() < 3 || bytes[0] != 'P')
        return std::nullopt;
    pnm.kind = bytes[1];
    qsizetype at = 2;
    auto number = [&]() {
        while (at < bytes.size() && isspace(uchar(bytes[at])))
            ++at;
        int v = 0;
        while (at < bytes.size() && isdigit(uchar(bytes[at])))
            v = v * 10 + (bytes[at++] - '0');
        return v;
    };
    pnm.width = number();
    pnm.height = number();
    if (pnm.kind != '4')
        pnm.maxval = number();
    pnm.pixels = bytes.mid(at + 1);
    return pnm;
}

QRgb pnmPixel(const Pnm& pnm, int x, int y) {
    const auto* p = reinterpret_cast<const uchar*>(pnm.pixels.constData());
    if (pnm.kind == '4') {
        const int rowBytes = (pnm.width + 7) / 8;
        const bool black = p[y * rowBytes + x / 8] & (0x80 >> (x % 8));
        return black ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    if (pnm.kind == '5') {
        const int v = p[y * pnm.width + x];
        return qRgb(v, v, v);
    }
    const uchar* q = p + 3 * (qsizetype(y) * pnm.width + x);
    return qRgb(q[0], q[1], q[2]);
}

// What netpbm shows for a stored value: greys scaled to its maxval, palette
// colours, 565 widened by value * 255 / max.
QRgb netpbmColour(int depth, int stored, int maxval) {
    if (depth == 1)
        return stored ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    if (depth <= 4) {
        const int v = maxval - stored;
        return qRgb(v, v, v);
    }
    if (depth == 8)
        return vv::palmSystemPalette()[stored];
    const int r = stored >> 11, g = (stored >> 5) & 0x3F, b = stored & 0x1F;
    return qRgb(r * 255 / 31, g * 255 / 63, b * 255 / 31);
}

QImage photoLike(int width, int height, quint32 seed) {
    QRandomGenerator random(seed);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                             x < width / 3 ? qRgb(x * 255 / width, y * 255 / height, 128)
                                           : random.generate() | 0xFF000000u);
    return picture;
}

TEST(NetpbmCrossCheck, PalmtopnmDecodesEveryMemberToTheConvertedPixels) {
    ASSERT_FALSE(QStandardPaths::findExecutable("palmtopnm").isEmpty())
        << "palmtopnm is missing: scripts/test installs netpbm";
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("ThmeRsrc"));
    // Widths that leave row padding and short scanline groups; runs over 255 and
    // literals over 128 in the wide picture.
    QMap<QString, QImage> pictures = {
        {"low", photoLike(13, 7, 1)},
        {"high", photoLike(26, 14, 2)},
        {"wide", photoLike(301, 3, 3)},
    };
    QImage runs(300, 2, QImage::Format_RGB32);
    runs.fill(qRgb(0, 0, 255));
    runs.setPixel(7, 1, qRgb(255, 0, 0));
    pictures.insert("runs", runs);
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
        ASSERT_TRUE(vv::test::saveBmp(*it, dir.filePath("ThmeRsrc/" + it.key() + ".bmp")));

    QByteArray script;
    int familyId = 1000;
    for (const char* compress : {"", "COMPRESS "}) {
        for (const char* low : {"low", "wide", "runs"}) {
            const char* high = QByteArray(low) == "low" ? "high" : low;
            script += "BITMAPFAMILYEX ID " + QByteArray::number(familyId++) + "\r\n BEGIN\r\n";
            for (int depth : {1, 2, 4, 8, 16})
                script += QByteArray("  BITMAP \"ThmeRsrc/") + low + ".bmp\" BPP " +
                          QByteArray::number(depth) + " DENSITY 1 " + compress +
                          (depth == 8 ? "TRANSPARENTINDEX 210" : "") +
                          (depth == 16 ? "TRANSPARENT 0 255 0" : "") + "\r\n";
            for (int depth : {8, 16})
                script += QByteArray("  BITMAP \"ThmeRsrc/") + high + ".bmp\" BPP " +
                          QByteArray::number(depth) + " DENSITY 2 " + compress + "\r\n";
            script += " END\r\n\r\n";
        }
    }
    script += "ICONFAMILYEX ID 10000\r\n BEGIN\r\n  BITMAP \"ThmeRsrc/low.bmp\" BPP 4 DENSITY 1 COMPRESS \r\n"
              "  BITMAP \"ThmeRsrc/high.bmp\" BPP 8 DENSITY 2 COMPRESS \r\n END\r\n";
    ASSERT_TRUE(vv::test::writeBytes(dir.filePath("vkdm_script.rcp"), script));
    const auto run =
        vv::test::runCompiler(vv::test::themeArguments("vkdm_script.rcp", "out.pdb"), dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

    const auto db = vv::formats::PalmDatabase::fromBytes(
        vv::pdb::bytesOf(vv::test::readBytes(dir.filePath("out.pdb"))), nullptr);
    ASSERT_TRUE(db);
    ASSERT_EQ(db->resources.size(), 7u);
    const vv::pdb::PixelConverter converter;
    int checkedMembers = 0;
    for (const vv::formats::PalmResource& resource : db->resources) {
        const QString familyFile = dir.filePath("family.bin");
        ASSERT_TRUE(vv::test::writeBytes(familyFile, vv::pdb::qtBytes(resource.bytes)));
        QString error;
        const auto family = vv::pdb::BitmapDecoder::decodeFamily(resource.bytes, &error);
        ASSERT_TRUE(family) << error.toStdString();
        for (int k = 0; k < family->members.size(); ++k) {
            const vv::pdb::DecodedBitmap& member = family->members[k];
            QProcess palmtopnm;
            palmtopnm.start("palmtopnm", {"-rendition", QString::number(k + 1), familyFile});
            ASSERT_TRUE(palmtopnm.waitForFinished(30000));
            ASSERT_EQ(palmtopnm.exitCode(), 0)
                << resource.id << " member " << k << ": " << palmtopnm.readAllStandardError().toStdString();
            const auto pnm = parsePnm(palmtopnm.readAllStandardOutput());
            ASSERT_TRUE(pnm);
            ASSERT_EQ(pnm->width, member.width);
            ASSERT_EQ(pnm->height, member.height);
            // The expected pixels come from the source picture, not from our reader.
            const QImage* source = nullptr;
            for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
                if (it->size() == QSize(member.width, member.height))
                    source = &*it;
            ASSERT_TRUE(source);
            const QByteArray rows = vv::pdb::qtBytes(converter.convert(
                *source, member.depth, member.depth == 8 ? std::optional<int>(210) : std::nullopt));
            vv::pdb::DecodedBitmap expected = member;
            expected.rows = rows;
            for (int y = 0; y < member.height; ++y)
                for (int x = 0; x < member.width; ++x)
                    ASSERT_EQ(pnmPixel(*pnm, x, y),
                              netpbmColour(member.depth, expected.storedValue(x, y), pnm->maxval))
                        << resource.id << " member " << k << " at " << x << "," << y;
            ++checkedMembers;
        }
        QProcess beyond;
        beyond.start("palmtopnm", {"-rendition", QString::number(family->members.size() + 1), familyFile});
        ASSERT_TRUE(beyond.waitForFinished(30000));
        EXPECT_NE(beyond.exitCode(), 0) << "family " << resource.id << " has no more members";
    }
    EXPECT_EQ(checkedMembers, 6 * 7 + 2);
}

} // namespace
