// Writes the sample skin sheets, each piece of the default theme at its place:
//   vv_themeart <repository>/data/ThmeBMP
// Loading the sheets gives back exactly the built-in pieces.
#include "theme/DefaultTheme.h"
#include "theme/ThemePieces.h"

#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

namespace {

bool saveSheet(const QImage& sheet, const QString& path, QTextStream& err) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !sheet.save(&file, "BMP") || !file.commit()) {
        err << "vv_themeart: " << path << ": " << file.errorString() << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        err << "usage: vv_themeart <ThmeBMP folder>\n";
        return 2;
    }
    const vv::ThemePieces pieces;
    const QString folder = arguments.at(1) + QLatin1Char('/');
    const bool saved =
        saveSheet(vv::composeSkinSheet(pieces, vv::PieceResolution::Low, vv::kSampleSheetBackground),
                  folder + QStringLiteral("SkinSheetLow.bmp"), err) &&
        saveSheet(vv::composeSkinSheet(pieces, vv::PieceResolution::High, vv::kSampleSheetBackground),
                  folder + QStringLiteral("SkinSheetHigh.bmp"), err);
    return saved ? 0 : 1;
}
