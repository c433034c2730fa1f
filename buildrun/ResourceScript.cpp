#include "buildrun/ResourceScript.h"

#include "buildrun/BuildKindTraits.h"
#include "common/AnsiText.h"
#include "common/SystemScreens.h"

#include <string_view>

namespace vv {
namespace {

constexpr char kLineEnd[] = "\r\n";

// Script text is single-byte; the table names are ASCII and the option texts digits.
QByteArray ansi(const QString& text) {
    return encodeAnsi(text);
}

struct LineChoice {
    bool highPiece;
    int density;
};

// Which pieces at which density a family names for one depth. Only 8 and 16
// bpp depend on the screen; a theme bitmap on an unknown screen gets no line.
QList<LineChoice> lineChoices(FamilyKind kind, int bpp, const ScreenProfile* screen) {
    if (bpp < 8)
        return {{false, 1}};
    if (!screen)
        return kind == FamilyKind::Bitmap ? QList<LineChoice>{} : QList<LineChoice>{{false, 1}};
    QList<LineChoice> choices{
        {kind == FamilyKind::Bitmap && screen->bitmapSingleDensity == SingleDensityPiece::High, 1}};
    if (screen->doubleDensityLines)
        choices.append({true, 2});
    return choices;
}

QByteArray transparencyClause(int bpp, const BuildOptions& options) {
    if (bpp == 8)
        return "TRANSPARENTINDEX " + ansi(options.transparentIndex);
    if (bpp == 16)
        return "TRANSPARENT " + ansi(options.transparentRed) + ' ' + ansi(options.transparentGreen) + ' ' +
               ansi(options.transparentBlue);
    return {};
}

QByteArray dataLine(const char* folder, const char* type, int id, const QByteArray& file) {
    return QByteArray("DATA \"") + type + "\" ID " + QByteArray::number(id) + " \"" + folder + '/' + file +
           '"';
}

QByteArray infoFileOf(int bpp) {
    return bitDepthRow(bpp)->infoFile;
}

} // namespace

QByteArray bitmapLine(const QString& folder, const QString& piece, int bpp, int density,
                      const BuildOptions& options) {
    return "  BITMAP \"" + ansi(folder) + '/' + ansi(piece) + ".bmp\" BPP " + QByteArray::number(bpp) +
           " DENSITY " + QByteArray::number(density) + ' ' + ansi(options.compressKeyword) +
           transparencyClause(bpp, options) + kLineEnd;
}

QByteArray familyBlock(const ResourceFamily& family, const BuildOptions& options) {
    const ScreenProfile* screen = screenProfileOf(options.screenType);
    QByteArray block;
    if (family.kind == FamilyKind::Bitmap)
        block =
            "BITMAPFAMILYEX ID " + QByteArray::number(screen ? themeBitmapId(*screen, family.id) : family.id);
    else
        block = "ICONFAMILYEX ID " + QByteArray::number(family.id);
    block += kLineEnd + QByteArray(" BEGIN") + kLineEnd;
    for (const BitDepthRow& depth : kBitDepthRows) {
        if (!options.depths.contains(depth.bpp))
            continue;
        for (const LineChoice& choice : lineChoices(family.kind, depth.bpp, screen))
            block += bitmapLine(family.folder, choice.highPiece ? family.highPiece : family.lowPiece,
                                depth.bpp, choice.density, options);
    }
    block += QByteArray(" END") + kLineEnd + kLineEnd;
    return block;
}

QList<TrailerResource> trailerResources(BuildKind kind, const BuildOptions& options) {
    QByteArray infoFile;
    QByteArray idatFile = "IdAT03E8.bin";
    if (kind == BuildKind::IconSet) {
        // The deepest depth that is on decides an icon set's InFO resource.
        infoFile = infoFileOf(options.depths.deepestOr(kFallbackBitDepth));
    } else {
        const ScreenProfile* screen = screenProfileOf(options.screenType);
        if (!screen)
            return {};
        if (screen->themeInfoFile)
            infoFile = screen->themeInfoFile;
        else
            // Without an InFO resource of its own, a screen takes the deepest of 8 and
            // 4 bpp that is on, else 2 bpp.
            infoFile = infoFileOf(options.depths.contains(8) ? 8 : options.depths.contains(4) ? 4 : 2);
        idatFile = screen->themeIdatFile;
    }
    QList<TrailerResource> resources;
    for (const TrailerRow& row : kTrailerRows) {
        const std::string_view type = row.type;
        const QByteArray chosen = type == "IdAT" ? idatFile : type == "InFO" ? infoFile : QByteArray();
        resources.append({row.type, row.id, row.file ? QByteArray(row.file) : chosen});
    }
    return resources;
}

QByteArray dataTrailer(BuildKind kind, const BuildOptions& options) {
    const QList<TrailerResource> resources = trailerResources(kind, options);
    if (resources.isEmpty())
        return {};
    const char* folder = traitsOf(kind).workFolder;
    QList<QByteArray> lines;
    for (const TrailerResource& resource : resources)
        lines << dataLine(folder, resource.type, resource.id, resource.file);
    lines << kVersionLine;
    QByteArray trailer = kLineEnd + lines.join(kLineEnd);
    if (kind == BuildKind::IconSet)
        trailer += kLineEnd;
    return trailer;
}

QByteArray resourceScript(BuildKind kind, const QList<ResourceFamily>& families,
                          const BuildOptions& options) {
    QByteArray script;
    for (const FamilyKind pass : {FamilyKind::Bitmap, FamilyKind::Icon}) {
        for (const ResourceFamily& family : families) {
            if (family.kind == pass)
                script += familyBlock(family, options);
        }
    }
    return script + dataTrailer(kind, options);
}

QByteArray closingHeader(BuildKind kind, const QString& versionNumber) {
    QByteArray header = "Lantern Shade Vedi Vavurir v " + ansi(versionNumber) + kLineEnd;
    header += QByteArray(traitsOf(kind).headerLine) + kLineEnd;
    header += QByteArray("Developed by Orrin Vantal.") + kLineEnd;
    header.append('\0');
    return header;
}

} // namespace vv
