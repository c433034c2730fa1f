#include "cli/Console.h"

#include "cli/Failure.h"

#include <QFile>
#include <QJsonDocument>

#include <unistd.h>

namespace cli {
namespace {

const char kPrefix[] = "vedivavurir-cli: ";

} // namespace

QJsonArray jsonList(const QStringList& texts) {
    QJsonArray list;
    for (const QString& text : texts)
        list.append(text);
    return list;
}

void Console::write(QIODevice& to, const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    const bool written = to.write(bytes) == bytes.size();
    if (written)
        return;
    if (&to == &out_) {
        if (!outFailed_)
            outFailed_ = to.errorString();
    } else {
        errFailed_ = true;
    }
}

void Console::result(const QString& line) {
    if (!quiet_ && !json_)
        write(out_, (line + QLatin1Char('\n')).toLocal8Bit());
}

void Console::result(const QJsonObject& object) {
    if (!quiet_ && json_)
        write(out_, QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}

void Console::data(const QByteArray& bytes) {
    write(out_, bytes);
}

void Console::text(QIODevice& to, const QString& text) {
    write(to, text.toLocal8Bit());
}

void Console::error(const QString& message) {
    write(err_,
          (QLatin1String(kPrefix) + QStringLiteral("error: ") + message + QLatin1Char('\n')).toLocal8Bit());
}

void Console::warning(const QString& message) {
    warnings_ << message;
    write(err_,
          (QLatin1String(kPrefix) + QStringLiteral("warning: ") + message + QLatin1Char('\n')).toLocal8Bit());
}

void Console::report(const Failure& failed) {
    for (const QString& message : failed.messages)
        error(message);
}

bool Console::outputIsTerminal() const {
    const auto* file = qobject_cast<const QFile*>(&out_);
    return file && file->handle() >= 0 && ::isatty(file->handle()) == 1;
}

int Console::finish(int code) {
    if (!outFailed_ && !errFailed_)
        return code;
    if (outFailed_)
        error(QStringLiteral("standard output cannot be written: ") + *outFailed_);
    return code == kExitSuccess ? kExitFailure : code;
}

} // namespace cli
