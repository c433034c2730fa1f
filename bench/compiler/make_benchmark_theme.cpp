// Writes the full benchmark theme into a folder: the 58 bitmap families at
// every depth with both densities, 20 icon families, the DATA trailer, and 136
// pictures in three styles (flat areas with frames, smooth gradients, noisy
// photo-like art). Two scripts: vkdm_script.rcp and vkdm_script_compress.rcp.
// Beside them the other benchmark inputs: theme16.rcp (16 copies of the
// compressed theme under other IDs), one_pixel.rcp (a 1 x 1 bitmap: start-up),
// big16.rcp and big8.rcp (one noisy 2000 x 2000 picture at 16 bpp density 2
// compressed, and at 8 bpp density 1).
#include "buildrun/BuildKindTraits.h"
#include "buildrun/ResourceScript.h"
#include "theme/PieceTable.h"
#include "theme/ThemeBuildPlan.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cstdio>

namespace {

QImage drawPicture(QSize size, int style, quint32 seed) {
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    const int w = size.width(), h = size.height();
    const QRgb base = qRgb(int(random.bounded(256)), int(random.bounded(256)), int(random.bounded(256)));
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < w; ++x) {
            switch (style) {
            case 0: { // flat areas with a two-pixel frame and a bar
                const bool frame = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
                const bool bar = y > h / 3 && y < h / 2;
                line[x] = frame ? qRgb(0, 0, 0) : bar ? qRgb(255, 255, 255) : base;
                break;
            }
            case 1: // smooth gradients
                line[x] = qRgb(x * 255 / qMax(1, w - 1), y * 255 / qMax(1, h - 1),
                               (x + y) * 255 / qMax(1, w + h - 2));
                break;
            default: { // photo-like: gradient plus noise
                const int n = int(random.bounded(48)) - 24;
                line[x] =
                    qRgb(qBound(0, qRed(base) + x * 2 + n, 255), qBound(0, qGreen(base) + y * 3 - n, 255),
                         qBound(0, (x * y) % 256 + n / 2, 255));
            }
            }
        }
    }
    return picture;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Both theme scripts, plain and compressed, and every picture they name;
// returns how many pictures were drawn, or -1 when something failed.
int writeThemeScripts(const QDir& out, const QString& folder, const QList<vv::ResourceFamily>& families) {
    // All five depths; density 2 lines for the bitmap families as on the
    // double-density screen, icons at low density only.
    vv::BuildOptions options;
    for (const vv::BitDepthRow& row : vv::kBitDepthRows)
        options.depths.set(row.bpp);
    options.screenType = 2;
    vv::BuildOptions iconOptions = options;
    iconOptions.screenType = 1;

    int pictures = 0;
    auto save = [&](const QString& base, QSize size) {
        const QString path = out.filePath(folder + QLatin1Char('/') + base + QStringLiteral(".bmp"));
        if (QFile::exists(path))
            return true;
        ++pictures;
        return drawPicture(size, pictures % 3, quint32(pictures)).save(path, "BMP");
    };
    for (const auto compress : {false, true}) {
        options.compressKeyword = iconOptions.compressKeyword =
            compress ? QStringLiteral("COMPRESS ") : QString();
        QByteArray script;
        for (const vv::ResourceFamily& family : families) {
            const bool icon = family.kind == vv::FamilyKind::Icon;
            script += vv::familyBlock(family, icon ? iconOptions : options);
            if (icon) {
                if (!save(family.lowPiece, QSize(32, 22)))
                    return -1;
                continue;
            }
            const int piece = vv::themePieceIndex(family.lowPiece.right(2));
            if (piece < 0) {
                std::fprintf(stderr, "make_benchmark_theme: no piece for %s\n", qPrintable(family.lowPiece));
                return -1;
            }
            const vv::ThemePiece& p = vv::themePieceTable()[piece];
            if (!save(family.lowPiece, p.lowSize()) || !save(family.highPiece, p.highSize()))
                return -1;
        }
        script += vv::dataTrailer(vv::BuildKind::Theme, options);
        const QString name =
            compress ? QStringLiteral("vkdm_script_compress.rcp") : QStringLiteral("vkdm_script.rcp");
        if (!writeFile(out.filePath(name), script))
            return -1;
    }
    return pictures;
}

// The launcher's .bin files the scripts name, fresh copies over any left from before.
bool copyLauncherData(const QDir& data, const QDir& out, const QString& folder) {
    for (const QString& bin : data.entryList({QStringLiteral("*.bin")}, QDir::Files)) {
        const QString target = out.filePath(folder + QLatin1Char('/') + bin);
        QFile::remove(target);
        if (!QFile::copy(data.filePath(bin), target))
            return false;
    }
    return true;
}

// 16 copies of the compressed theme, each copy's IDs moved past the last.
bool writeSixteenThemes(const QDir& out) {
    QByteArray compressed;
    {
        QFile file(out.filePath(QStringLiteral("vkdm_script_compress.rcp")));
        if (!file.open(QIODevice::ReadOnly))
            return false;
        compressed = file.readAll();
    }
    const QString text = QString::fromLatin1(compressed);
    const QRegularExpression idPattern(QStringLiteral("\\bID (\\d+)"));
    QString sixteen;
    for (int copy = 0; copy < 16; ++copy) {
        QString moved;
        qsizetype last = 0;
        for (auto it = idPattern.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            moved += text.mid(last, m.capturedStart() - last);
            moved += QStringLiteral("ID %1").arg(m.captured(1).toInt() + copy * 3000);
            last = m.capturedEnd();
        }
        sixteen += moved + text.mid(last);
    }
    return writeFile(out.filePath(QStringLiteral("theme16.rcp")), sixteen.toLatin1());
}

// The scripts of one picture each: start-up on a 1 x 1 bitmap, and one big
// noisy picture at 16 bpp compressed and at 8 bpp.
bool writeSinglePictureScripts(const QDir& out, const QString& folder) {
    const QString one = folder + QStringLiteral("/one_pixel.bmp");
    const QString big = folder + QStringLiteral("/big.bmp");
    if (!drawPicture(QSize(1, 1), 0, 1).save(out.filePath(one), "BMP") ||
        !drawPicture(QSize(2000, 2000), 2, 2000).save(out.filePath(big), "BMP"))
        return false;
    auto single = [&](const QString& name, const QString& picture, const char* bitmapOptions) {
        return writeFile(out.filePath(name), "BITMAPFAMILYEX ID 1000\r\nBEGIN\r\n    BITMAP \"" +
                                                 picture.toLatin1() + "\" " + bitmapOptions + "\r\nEND\r\n");
    };
    return single(QStringLiteral("one_pixel.rcp"), one, "BPP 8") &&
           single(QStringLiteral("big16.rcp"), big, "BPP 16 DENSITY 2 COMPRESS") &&
           single(QStringLiteral("big8.rcp"), big, "BPP 8 DENSITY 1");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_benchmark_theme OUTPUT_FOLDER DATA_FOLDER\n"
                             "  DATA_FOLDER holds the launcher's .bin files (data/ThmeRsrc)\n");
        return 1;
    }
    const QDir out(QFile::decodeName(argv[1]));
    const QDir data(QFile::decodeName(argv[2]));
    const QString folder = vv::workFolderOf(vv::BuildKind::Theme);
    if (!out.mkpath(folder) || !out.mkpath(QStringLiteral("PDBFiles"))) {
        std::fprintf(stderr, "make_benchmark_theme: cannot create %s\n", argv[1]);
        return 1;
    }
    const QList<vv::ResourceFamily> families = vv::themeFamilies();
    const int pictures = writeThemeScripts(out, folder, families);
    if (pictures < 0 || !copyLauncherData(data, out, folder) || !writeSixteenThemes(out) ||
        !writeSinglePictureScripts(out, folder))
        return 1;
    std::printf("%d pictures, %lld families\n", pictures, static_cast<long long>(families.size()));
    return 0;
}
