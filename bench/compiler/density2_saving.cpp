// Reads a compiled database and tells what the density-2 members would take
// with scanline compression only, against what they take as written (the
// smallest of scanline, RLE and PackBits).
#include "compiler/BitmapCompression.h"
#include "compiler/BitmapDecoder.h"
#include "formats/PalmDatabase.h"

#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    using namespace vv::pdb;
    if (argc != 2) {
        std::fprintf(stderr, "usage: density2_saving DATABASE\n");
        return 1;
    }
    QFile file(QFile::decodeName(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "density2_saving: cannot read %s\n", argv[1]);
        return 1;
    }
    std::string problem;
    const QByteArray bytes = file.readAll();
    const auto db = vv::formats::PalmDatabase::fromBytes(bytesOf(bytes), &problem);
    if (!db) {
        std::fprintf(stderr, "density2_saving: %s\n", problem.c_str());
        return 1;
    }
    QString error;
    qint64 written = 0, scanlineOnly = 0, plain = 0;
    int members = 0, byMethod[3] = {0, 0, 0}, uncompressed = 0;
    for (const vv::formats::PalmResource& resource : db->resources) {
        if (resource.type != "Tbmp" && resource.type != "tAIB")
            continue;
        const auto family = BitmapDecoder::decodeFamily(resource.bytes, &error);
        if (!family) {
            std::fprintf(stderr, "density2_saving: %s %d: %s\n", resource.type.c_str(), resource.id,
                         qPrintable(error));
            return 1;
        }
        for (const DecodedBitmap& m : family->members) {
            if (m.version != 3)
                continue;
            ++members;
            const qint64 rows = m.rows.size();
            const qint64 scan = 4 + qint64(BitmapCompression::compress(Compression::Scanline, bytesOf(m.rows),
                                                                       m.rowBytes, m.height, m.depth == 16)
                                               .size());
            plain += rows;
            written += m.compressed ? m.sizeField : rows;
            scanlineOnly += scan < rows ? scan : rows;
            if (m.compressed)
                ++byMethod[qBound(0, m.compressionType, 2)];
            else
                ++uncompressed;
        }
    }
    std::printf(
        "density-2 pixel data of %d members: %lld bytes plain, %lld with scanline only, %lld as written "
        "(saving %lld bytes, %.1f %%; scanline %d, RLE %d, PackBits %d, uncompressed %d)\n",
        members, static_cast<long long>(plain), static_cast<long long>(scanlineOnly),
        static_cast<long long>(written), static_cast<long long>(scanlineOnly - written),
        scanlineOnly ? 100.0 * double(scanlineOnly - written) / double(scanlineOnly) : 0.0, byMethod[0],
        byMethod[1], byMethod[2], uncompressed);
    return 0;
}
