// Where a Create Theme's time goes besides the compiler: the steps of
// vedivavurir-cli's theme command one by one, each timed on its own over many
// rounds, then the pieces' encoding and their files apart, then the whole
// build run (compiler included) once more for the sum. Run inside a start
// directory with the compiler beside this program or in the start directory.
// Usage: buildrun_phases SHEET ROUNDS
#include "app/LanguageFile.h"
#include "app/LanguageMessages.h"
#include "app/OptionRules.h"
#include "app/SettingsFile.h"
#include "buildrun/BuildRun.h"
#include "buildrun/SettingsBuildOptions.h"
#include "common/PictureCopy.h"
#include "common/SheetPicture.h"
#include "common/SystemScreens.h"
#include "icons/IconBoard.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"
#include "platform/ProcessRunner.h"
#include "theme/ThemeBuildPlan.h"
#include "theme/ThemePieces.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

class ProcessPlatform : public vv::Platform {
public:
    vv::ProcessOutcome runAndWait(const QString& program, const QStringList& arguments,
                                  const QString& workingDirectory, const vv::ProcessLimits& limits) override {
        return vv::runProgramAndWait(program, arguments, workingDirectory, limits);
    }
    bool startDetached(const QString&, const QStringList&, const QString&) override { return false; }
    QImage grabScreen(const QSize&) override { return {}; }
    QPoint pointerPosition() override { return {}; }
    double screenRefreshRate() override { return 60; }
};

int rounds = 20;

// The mean of `rounds` runs of `step`, in milliseconds.
double timed(const std::function<void()>& step) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i)
        step();
    return double(timer.nsecsElapsed()) / 1e6 / rounds;
}

void row(const char* what, double ms) {
    std::printf("  %-52s %8.2f ms\n", what, ms);
}

// The heaviest Create Theme the settings allow: the OS5 screen, every depth, compressed.
vv::BuildOptions benchmarkOptions(const vv::SettingsRecord& settings) {
    vv::BuildOptions options = vv::buildOptionsFromSettings(settings);
    options.screenType =
        vv::screenTypeFromStoredIndex(vv::systemScreenIndexOf(QStringLiteral("320x320 OS5")));
    options.depths = {};
    for (int bpp : {1, 2, 4, 8, 16})
        options.depths.set(bpp);
    options.compressKeyword = QStringLiteral("COMPRESS ");
    return options;
}

vv::BuildRequest themeRequest(const vv::BuildOptions& options, const QList<vv::PieceFile>& files,
                              const QStringList& messages, const QString& start) {
    vv::BuildRequest request;
    request.kind = vv::BuildKind::Theme;
    request.options = options;
    request.families = vv::themeFamilies();
    request.pieces = files;
    request.databaseName = QStringLiteral("Phases");
    request.messages = messages;
    request.startDir = start;
    return request;
}

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    QCoreApplication app(argc, argv);
    const double application = double(sinceMain.nsecsElapsed()) / 1e6;
    if (argc != 3) {
        std::fprintf(stderr, "usage: buildrun_phases SHEET ROUNDS\n");
        return 2;
    }
    const QString sheetPath = QString::fromLocal8Bit(argv[1]);
    rounds = std::max(1, atoi(argv[2]));
    ProcessPlatform platform;
    vv::setPlatform(&platform);
    const QString start = QDir::currentPath();

    std::printf("Steps of one Create Theme, 320x320 OS5, depths 1 2 4 8 16, compressed (mean of %d rounds)\n",
                rounds);
    row("QCoreApplication (first and only)", application);

    vv::SettingsRecord settings;
    QStringList messages;
    row("settings and language file", timed([&] {
            settings = *vv::readSettingsFile(vv::settingsFilePath(start), vv::SettingsRecord{});
            const auto texts = vv::readLanguageFile(vv::languageFilePath(start, settings.languageName));
            messages = vv::languageMessages(texts ? *texts : vv::builtInLanguageLines());
        }));
    const vv::BuildOptions options = benchmarkOptions(settings);

    row("default pieces and icons (ThemePieces, IconBoard)", timed([&] {
            vv::ThemePieces pieces;
            vv::IconBoard board;
        }));
    vv::SheetLoadResult loaded;
    row("reading the sheet (460 x 670 BMP)",
        timed([&] { loaded = vv::loadSheetPicture(sheetPath, vv::kOutsideSheetColour); }));
    vv::ThemePieces pieces;
    vv::IconBoard board;
    row("slicing it (high pieces, low ones at half size)",
        timed([&] { pieces.loadSheet(loaded.picture, vv::PieceResolution::High); }));
    QList<vv::PieceFile> files;
    row("the piece list (156 files)",
        timed([&] { files = vv::themePieceFiles(pieces, board, options.screenType); }));
    row("pairs with low art only",
        timed([&] { (void)vv::themePairsWithLowArtOnly(pieces, board, options); }));

    QList<QByteArray> encoded;
    QString encodingProblem;
    row("encoding the 156 BMPs", timed([&] {
            encoded.clear();
            for (const vv::PieceFile& piece : files)
                encoded << vv::encodedPiece(piece.picture, &encodingProblem);
        }));
    row("writing the 156 files and removing them", timed([&] {
            QTemporaryDir folder(QDir(start).filePath(QStringLiteral("phases-XXXXXX")));
            QDir(folder.path()).mkpath(QStringLiteral("ThmeRsrc"));
            for (int i = 0; i < files.size(); ++i)
                vv::createNewFile(folder.filePath(files[i].relativePath), encoded[i]);
        }));
    // What the file system alone costs: as many new empty files. Where files
    // were removed moments ago (every build removes its own), some file
    // systems search past those before they give out a new one.
    row("creating 156 empty files and removing them", timed([&] {
            QTemporaryDir folder(QDir(start).filePath(QStringLiteral("phases-XXXXXX")));
            for (int i = 0; i < files.size(); ++i)
                vv::createNewFile(folder.filePath(QString::number(i)), QByteArray());
        }));

    const vv::BuildRequest request = themeRequest(options, files, messages, start);
    bool built = true;
    row("the whole build run (save, compile, stamp, clean up)",
        timed([&] { built = vv::runBuild(request).databaseStamped && built; }));
    if (!built) {
        std::fprintf(stderr, "error: a build run failed\n");
        return 1;
    }
    return 0;
}
