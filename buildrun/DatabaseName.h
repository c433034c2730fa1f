// The database name the user types: checked before a build or an install
// touches any file, and stamped into the name field of the built database.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vv {

// The name field at the start of a Palm OS database header.
inline constexpr int kNameFieldSize = 32;

// Why `name` cannot be used, as a fixed tail (" - ...") to follow the caller's
// empty-name message; an empty tail for an empty name; nothing when the name is
// fine. Refused: "/" or "\", "." and "..", control characters, characters
// outside Windows-1252 and names longer than 31 characters. Blanks, quotes and
// accented letters are fine.
std::optional<QString> databaseNameProblem(const QString& name);

// The message for a refused name: `emptyNameMessage` followed by the problem's
// tail, or nothing when the name is fine.
std::optional<QString> refusalOfDatabaseName(const QString& name, const QString& emptyNameMessage);

// The 32 bytes written over the name field: the name in Windows-1252, a zero
// byte and zero padding. Only meaningful for a name databaseNameProblem accepts.
QByteArray nameStamp(const QString& name);

// Writes nameStamp(name) over the first 32 bytes of an existing file. False,
// with the reason in `error`, when the file is missing or cannot be updated;
// a missing file is never created.
[[nodiscard]] bool stampDatabaseName(const QString& databasePath, const QString& name,
                                     QString* error = nullptr);

} // namespace vv
