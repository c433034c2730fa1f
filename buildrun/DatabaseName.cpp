#include "buildrun/DatabaseName.h"

#include "common/AnsiText.h"

#include "platform/FileErrors.h"

#include <QFile>

#include <cerrno>

namespace vv {

std::optional<QString> databaseNameProblem(const QString& name) {
    if (name.isEmpty())
        return QString();
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QStringLiteral(" - the name must not contain / or \\");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral(" - the name must not be . or ..");
    // Windows drops a trailing blank or dot from a file name, so such a name
    // would build or install a different file than the one it names.
    if (name.trimmed().isEmpty())
        return QStringLiteral(" - the name must not be only blanks");
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        return QStringLiteral(" - the name must not end in a blank or a dot");
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral(" - the name must not contain control characters");
    }
    if (decodeAnsi(encodeAnsi(name)) != name)
        return QStringLiteral(" - the name holds a character a handheld database name cannot hold");
    if (name.size() > kNameFieldSize - 1)
        return QStringLiteral(" - the name is longer than 31 characters");
    return std::nullopt;
}

std::optional<QString> refusalOfDatabaseName(const QString& name, const QString& emptyNameMessage) {
    const std::optional<QString> problem = databaseNameProblem(name);
    if (!problem)
        return std::nullopt;
    return emptyNameMessage + *problem;
}

QByteArray nameStamp(const QString& name) {
    QByteArray stamp = encodeAnsi(name).left(kNameFieldSize - 1);
    stamp.append(QByteArray(kNameFieldSize - stamp.size(), '\0'));
    return stamp;
}

bool stampDatabaseName(const QString& databasePath, const QString& name, QString* error) {
    QFile database(databasePath);
    errno = 0;
    if (!database.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        if (error)
            *error = fileErrorText(errno, database.errorString());
        return false;
    }
    const QByteArray stamp = nameStamp(name);
    errno = 0;
    if (database.write(stamp) != stamp.size() || !database.flush()) {
        if (error)
            *error = fileErrorText(errno, database.errorString());
        return false;
    }
    database.close();
    return true;
}

} // namespace vv
