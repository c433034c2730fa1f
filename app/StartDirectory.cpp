#include "app/StartDirectory.h"

#include "app/OptionRules.h"
#include "platform/FileErrors.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QScreen>

namespace vv {
namespace {

// The snapshot canvas only needs a size: the snapshot copies that much of the
// desktop from its top-left corner. Without a screen to ask, a common desktop.
constexpr int kCanvasWidth = 1920;
constexpr int kCanvasHeight = 1200;

QSize canvasSize() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        const QString platform = QGuiApplication::platformName();
        QScreen* screen = QGuiApplication::primaryScreen();
        if (screen && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal") &&
            !screen->virtualSize().isEmpty())
            return screen->virtualSize();
    }
    return {kCanvasWidth, kCanvasHeight};
}

bool writeCanvas(const QString& path, QString* error) {
    QImage canvas(canvasSize(), QImage::Format_RGB888);
    canvas.fill(Qt::black);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    QString problem;
    if (!writer.write(canvas))
        problem = writer.errorString();
    else if (writeWholeFile(path, bytes, &problem))
        return true;
    *error = QStringLiteral("%1: %2").arg(path, problem);
    return false;
}

} // namespace

bool isStartDirectory(const QString& directory) {
    return QFileInfo(settingsFilePath(directory)).isFile();
}

QString shippedDataDirectory(const QString& programDirectory) {
    const QString candidate = QDir::cleanPath(programDirectory + QStringLiteral("/../share/vedivavurir"));
    return isStartDirectory(candidate) ? candidate : QString();
}

QString suggestedStartDirectory() {
    return QDir::home().filePath(QStringLiteral("VediVavurir"));
}

bool initStartDirectory(const QString& shippedData, const QString& target, QString* error) {
    QString ignored;
    QString& reason = error ? *error : ignored;
    const QDir from(shippedData);
    if (!isStartDirectory(shippedData)) {
        reason = QStringLiteral("%1 holds no shipped data (vkdm_settings.cfg is missing)").arg(shippedData);
        return false;
    }
    const QDir to(target);
    if (!QDir().mkpath(target)) {
        reason = QStringLiteral("%1 cannot be created").arg(target);
        return false;
    }
    QDirIterator it(shippedData, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo source(it.next());
        const QString relative = from.relativeFilePath(source.filePath());
        const QString destination = to.filePath(relative);
        if (source.isDir()) {
            if (!QDir().mkpath(destination)) {
                reason = QStringLiteral("%1 cannot be created").arg(destination);
                return false;
            }
            continue;
        }
        if (source.fileName() == QLatin1String(".keep") || QFileInfo::exists(destination))
            continue;
        QDir().mkpath(QFileInfo(destination).absolutePath());
        QFile file(source.filePath());
        if (!file.copy(destination)) {
            reason = QStringLiteral("%1 cannot be copied to %2: %3")
                         .arg(source.filePath(), destination, file.errorString());
            return false;
        }
        // Installed data is read-only; the user's copy must be theirs to change.
        QFile::setPermissions(destination, QFile::permissions(destination) | QFileDevice::WriteOwner);
    }
    // Installed data holds no empty folder (a Debian package ships none), so
    // the folder the databases land in is made here, where the user will
    // look for it.
    const QString databases = to.filePath(QStringLiteral("PDBFiles"));
    if (!QDir().mkpath(databases)) {
        reason = QStringLiteral("%1 cannot be created").arg(databases);
        return false;
    }
    const QString canvas = to.filePath(QStringLiteral("resource.bmp"));
    if (!QFileInfo::exists(canvas) && !writeCanvas(canvas, &reason))
        return false;
    return true;
}

} // namespace vv
