#include "CompilerTestSupport.h"

#include "support/TestFiles.h"

#include <QProcess>
#include <QRegularExpression>

namespace vv::test {

CompilerRun runCompiler(const QStringList& arguments, const QString& workDir,
                        const QString& sourceDateEpoch) {
    QProcess process;
    process.setWorkingDirectory(workDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (sourceDateEpoch.isEmpty())
        env.remove(QStringLiteral("SOURCE_DATE_EPOCH"));
    else
        env.insert(QStringLiteral("SOURCE_DATE_EPOCH"), sourceDateEpoch);
    process.setProcessEnvironment(env);
    process.start(binPath(QStringLiteral("vkdm_pdb")), arguments);
    CompilerRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        run.errors = QStringLiteral("vkdm_pdb did not finish: ") + process.errorString();
        return run;
    }
    run.exitCode = process.exitCode();
    run.errors = QString::fromLocal8Bit(process.readAllStandardError());
    run.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return run;
}

QStringList themeArguments(const QString& script, const QString& output) {
    return {QStringLiteral("-ro"),
            QStringLiteral("-allowEditID"),
            QStringLiteral("-type"),
            QStringLiteral("thme"),
            QStringLiteral("-creator"),
            QStringLiteral("reze"),
            script,
            output};
}

namespace {

bool parseHexTokens(const QStringList& tokens, qsizetype& at, QByteArray& out, bool inGroup) {
    static const QRegularExpression repeatByte(QStringLiteral("^(\\d+)\\*([0-9a-fA-F]{1,2})$"));
    static const QRegularExpression repeatGroup(QStringLiteral("^(\\d+)\\*\\($"));
    static const QRegularExpression plainByte(QStringLiteral("^[0-9a-fA-F]{1,2}$"));
    while (at < tokens.size()) {
        const QString& t = tokens[at++];
        if (t == QLatin1String(")"))
            return inGroup;
        if (auto m = plainByte.match(t); m.hasMatch()) {
            out.append(char(t.toInt(nullptr, 16)));
        } else if (auto r = repeatByte.match(t); r.hasMatch()) {
            out.append(r.captured(1).toInt(), char(r.captured(2).toInt(nullptr, 16)));
        } else if (auto g = repeatGroup.match(t); g.hasMatch()) {
            QByteArray group;
            if (!parseHexTokens(tokens, at, group, true))
                return false;
            for (int i = g.captured(1).toInt(); i > 0; --i)
                out.append(group);
        } else {
            return false;
        }
    }
    return !inGroup;
}

} // namespace

QByteArray parseAnnotatedHex(const QString& text, bool* ok) {
    QStringList tokens;
    for (QString line : text.split(QLatin1Char('\n'))) {
        const qsizetype hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            line.truncate(hash);
        line.replace(QLatin1String("("), QLatin1String("( "))
            .replace(QLatin1String(")"), QLatin1String(" )"));
        tokens += line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }
    QByteArray out;
    qsizetype at = 0;
    const bool good = parseHexTokens(tokens, at, out, false);
    if (ok)
        *ok = good;
    return good ? out : QByteArray();
}

bool saveBmp(const QImage& picture, const QString& path) {
    return picture.save(path, "BMP");
}

QImage pictureFromRows(const QList<QList<QRgb>>& rows) {
    QImage image(int(rows.value(0).size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            image.setPixel(x, y, rows[y][x]);
    return image;
}

} // namespace vv::test
