#include "app/OptionRules.h"

#include "app/SettingsFile.h"
#include "common/Palette.h"

#include <QFileInfo>

namespace vv {

bool keepOneBitDepth(DepthSet& depths) {
    if (!depths.isEmpty())
        return false;
    depths.set(kFallbackBitDepth);
    return true;
}

QString languageNameFromFileName(const QString& fileName) {
    if (fileName.size() < 10)
        return {};
    return fileName.mid(5, fileName.size() - 9);
}

bool isRunnableInstallTool(const QString& path) {
#ifdef Q_OS_WIN
    const QString type = path.right(4);
    for (const char* allowed : {".exe", ".com", ".bat", ".pif", ".lnk"})
        if (type == QLatin1String(allowed))
            return true;
    return false;
#else
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
#endif
}

QString hexByteText(int value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

ColourChoice describeColourChoice(const QColor& colour) {
    ColourChoice choice;
    const quint32 platformValue =
        (quint32(colour.blue()) << 16) | (quint32(colour.green()) << 8) | quint32(colour.red());
    choice.platformValue = QString::number(platformValue);
    const QString digits = QStringLiteral("%1").arg(platformValue, 6, 16, QLatin1Char('0')).toUpper();
    choice.hexBlue = digits.mid(0, 2);
    choice.hexGreen = digits.mid(2, 2);
    choice.hexRed = digits.mid(4, 2);
    choice.decRed = QString::number(HexByteValue(choice.hexRed));
    choice.decGreen = QString::number(HexByteValue(choice.hexGreen));
    choice.decBlue = QString::number(HexByteValue(choice.hexBlue));
    choice.paletteIndex = PaletteIndexOf(choice.hexRed + choice.hexGreen + choice.hexBlue);
    return choice;
}

QString settingsFilePath(const QString& startDir) {
    return startDir + QLatin1Char('/') + QLatin1String(SettingsFileName);
}

QString languageFolder(const QString& startDir) {
    return startDir + QStringLiteral("/Language");
}

QString languageFilePath(const QString& startDir, const QString& languageName) {
    return languageFolder(startDir) + QStringLiteral("/vkdm_") + languageName + QStringLiteral(".lng");
}

QString helpFilePath(const QString& startDir, const QString& helpSuffix) {
    return languageFolder(startDir) + QStringLiteral("/vkdm_h") + helpSuffix + QStringLiteral(".hlp");
}

} // namespace vv
