// Helpers of the compiler tests: running vkdm_pdb, annotated hex, pictures.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace vv::test {

struct CompilerRun {
    int exitCode = -1;
    QString errors; // stderr
    QString output; // stdout
};

// Runs vkdm_pdb with `arguments` in `workDir`; SOURCE_DATE_EPOCH is fixed to
// 2024-01-01 unless `sourceDateEpoch` is empty.
CompilerRun runCompiler(const QStringList& arguments, const QString& workDir,
                        const QString& sourceDateEpoch = QStringLiteral("1704067200"));
// The usual command line: -ro -allowEditID -type thme -creator reze SCRIPT OUTPUT.
QStringList themeArguments(const QString& script, const QString& output);

// Hex bytes with '#' comments, N*HH for N copies of a byte and N*( ... ) for N
// copies of a group. An empty result with `ok` false on a malformed text.
QByteArray parseAnnotatedHex(const QString& text, bool* ok = nullptr);

// Saves `picture` as a 24-bit BMP (or 8-bit for indexed pictures).
bool saveBmp(const QImage& picture, const QString& path);

// A picture from rows of colours.
QImage pictureFromRows(const QList<QList<QRgb>>& rows);

} // namespace vv::test
