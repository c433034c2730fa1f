// Writes the sample skin sheets, the "Ember" theme, each piece at its place:
//   vv_themeart <repository>/data/ThmeBMP
// Loading a sheet cuts it into Ember's pieces, which differ from the built-in
// default theme, so the sample shows what loading a sheet does.
#include "tools/themeart/SampleTheme.h"

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
    const QString folder = arguments.at(1) + QLatin1Char('/');
    const bool saved = saveSheet(vv::sample::sampleSheet(vv::PieceResolution::Low),
                                 folder + QStringLiteral("SkinSheetLow.bmp"), err) &&
                       saveSheet(vv::sample::sampleSheet(vv::PieceResolution::High),
                                 folder + QStringLiteral("SkinSheetHigh.bmp"), err);
    return saved ? 0 : 1;
}
