// Setting up a start directory from an installed copy: the shipped data lies in
// share/vedivavurir beside the programs' bin folder, and a user's start
// directory is a copy of it that the user owns.
#pragma once

#include <QString>

namespace vv {

// Whether `directory` holds a vkdm_settings.cfg, the mark of a start directory.
bool isStartDirectory(const QString& directory);

// The installed data folder for programs in `programDirectory`
// (programDirectory/../share/vedivavurir), or an empty string when there is none.
QString shippedDataDirectory(const QString& programDirectory);

// Where a start directory is suggested: ~/VediVavurir.
QString suggestedStartDirectory();

// Copies everything below `shippedData` into `target`, creating folders as
// needed and never overwriting a file the user already has, then adds the
// snapshot canvas resource.bmp when it is missing: black, the size of the
// desktop when a QGuiApplication runs on a screen, else 1920 x 1200. False
// with the reason in `error` at the first file that cannot be copied; files
// copied before stay.
bool initStartDirectory(const QString& shippedData, const QString& target, QString* error);

} // namespace vv
