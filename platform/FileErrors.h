// Why a file could not be written, in words a user can act on. Qt's own error
// text is "Unknown error" for several of these (a picture writer that hits a
// full disk, for one), so the cause is taken from the system's error number.
#pragma once

#include <QString>

class QFileDevice;

namespace vv {

// The cause named by the system error number `errorNumber` ("no space left on
// the device" for a full disk), or `fallback` when the number names nothing
// more useful.
QString fileErrorText(int errorNumber, const QString& fallback = {});

// Writes `bytes` to `path` whole (created or truncated). On failure returns
// false and sets `error` to the named cause.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace vv
