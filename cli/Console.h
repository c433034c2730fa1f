// The tool's three streams. Results go to standard output (as prose lines, or
// as one JSON object each with --json, or nothing with --quiet); errors and
// warnings go to standard error, named after the program. A write that fails
// on either stream is remembered, so a full disk behind a redirection fails
// the run instead of passing unnoticed.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace cli {

struct Failure;

// Texts as a JSON array, for the results printed with --json.
QJsonArray jsonList(const QStringList& texts);

class Console {
public:
    Console(QIODevice& in, QIODevice& out, QIODevice& err) : in_(in), out_(out), err_(err) {}

    void setQuiet(bool quiet) { quiet_ = quiet; }
    void setJson(bool json) { json_ = json; }
    bool quiet() const { return quiet_; }
    bool json() const { return json_; }

    // A prose result line; dropped with --quiet or --json.
    void result(const QString& line);
    // A result as JSON; printed with --json only (and not with --quiet).
    void result(const QJsonObject& object);
    // Bytes the command was asked to write to standard output: a script, a picture.
    void data(const QByteArray& bytes);
    // Text for the user that is no result: --help, --version.
    void text(QIODevice& to, const QString& text);

    void error(const QString& message);
    void warning(const QString& message);
    const QStringList& warnings() const { return warnings_; }
    void report(const Failure& failed);

    QIODevice& in() { return in_; }
    QIODevice& out() { return out_; }
    QIODevice& err() { return err_; }
    // Whether standard output is a terminal (a picture is not written there).
    bool outputIsTerminal() const;

    // The exit code of a run that ended with `code`: 1 instead of 0 when a
    // result could not be written, with an error saying so where it still can.
    int finish(int code);

private:
    void write(QIODevice& to, const QByteArray& bytes);

    QIODevice& in_;
    QIODevice& out_;
    QIODevice& err_;
    bool quiet_ = false;
    bool json_ = false;
    QStringList warnings_;
    std::optional<QString> outFailed_;
    bool errFailed_ = false;
};

} // namespace cli
