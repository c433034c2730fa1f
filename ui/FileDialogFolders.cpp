#include "ui/FileDialogFolders.h"

#include "ui/BuildInputs.h"

#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QStringList>

namespace vv::ui {
namespace {

QHash<FileKind, QString>& lastFolders() {
    static QHash<FileKind, QString> folders;
    return folders;
}

} // namespace

QString dialogFolder(FileKind kind, const QString& firstFolder) {
    return lastFolders().value(kind, firstFolder);
}

void rememberDialogFolder(FileKind kind, const QString& chosenFile) {
    if (chosenFile.isEmpty())
        return;
    lastFolders().insert(kind, QFileInfo(chosenFile).absolutePath());
}

void forgetDialogFolders() {
    lastFolders().clear();
}

QString fileDialogFilter(const QString& name, const QString& patterns) {
    return QStringLiteral("%1 (%2);;%3 (*)").arg(name, patterns, currentText(Message::AllFilesFilter));
}

QString pictureFileFilter() {
    // The formats a painter saves sheets in, of those the installed Qt reads;
    // Qt's other readers (icons, vector pictures) make no sheet.
    static const char* const kSheetFormats[] = {"bmp", "png", "gif", "jpg", "jpeg", "tif", "tiff", "webp"};
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    QStringList patterns;
    for (const char* format : kSheetFormats)
        if (readable.contains(QByteArray(format)))
            patterns << QStringLiteral("*.") + QLatin1String(format);
    return fileDialogFilter(currentText(Message::PictureFilter), patterns.join(QLatin1Char(' ')));
}

} // namespace vv::ui
