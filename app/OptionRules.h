// The rules behind the Options dialog's controls, free of widgets.
#pragma once

#include "common/BitDepths.h"

#include <QColor>
#include <QString>

namespace vv {

// At least one icon bit depth stays chosen: with every depth off, the fallback
// depth (1 bpp) is switched on. Returns true when it switched it on.
bool keepOneBitDepth(DepthSet& depths);

// The list entry for a language file name: the name without its first five
// characters ("vkdm_") and its last four (".lng"); shorter than ten gives "".
QString languageNameFromFileName(const QString& fileName);

// Whether the chosen install tool can be run. On Windows its last four
// characters must be exactly ".exe", ".com", ".bat", ".pif" or ".lnk"; elsewhere
// it must be an existing executable file.
bool isRunnableInstallTool(const QString& path);

// What the Options dialog shows for a chosen transparency colour.
struct ColourChoice {
    QString platformValue;             // 0x00BBGGRR as a decimal number
    QString hexRed, hexGreen, hexBlue; // two upper-case digits each
    QString decRed, decGreen, decBlue;
    int paletteIndex = 0; // of the colour quantised to the palette's cube
};
ColourChoice describeColourChoice(const QColor& colour);

// Two upper-case hexadecimal digits at least.
QString hexByteText(int value);

// Data paths below the start directory.
QString settingsFilePath(const QString& startDir);
QString languageFilePath(const QString& startDir, const QString& languageName);
QString languageFolder(const QString& startDir);
QString helpFilePath(const QString& startDir, const QString& helpSuffix);

} // namespace vv
