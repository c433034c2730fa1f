#include "compiler/ResourceCompiler.h"

#include "compiler/BitmapFamilyEncoder.h"
#include "compiler/PictureReader.h"
#include "compiler/ScriptParser.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QTimeZone>

namespace vv::pdb {
namespace {

constexpr int firstEditID = 10000;

QString quoted(const QString& path) {
    return QLatin1Char('"') + path + QLatin1Char('"');
}

QString typeText(const QByteArray& type) {
    return QString::fromLatin1(type);
}

// Pictures are often named by several lines of a family (one per depth): read
// each file once per run.
class PictureCache {
public:
    const QImage* get(const QString& path, QString* error) {
        auto it = m_pictures.constFind(path);
        if (it == m_pictures.constEnd()) {
            QString problem;
            std::optional<QImage> picture = PictureReader::read(path, &problem);
            it = m_pictures.insert(path, picture ? *picture : QImage());
            if (!picture)
                m_errors.insert(path, problem);
        }
        if (it->isNull()) {
            *error = m_errors.value(path);
            return nullptr;
        }
        return &*it;
    }

private:
    QHash<QString, QImage> m_pictures;
    QHash<QString, QString> m_errors;
};

} // namespace

std::optional<PalmDatabase> ResourceCompiler::compile(const ParsedScript& script,
                                                      const CompileRequest& request,
                                                      Diagnostics* diagnostics) {
    Diagnostics found;
    PalmDatabase db;
    db.name = databaseNameFor(request.outputPath);
    db.type = request.type;
    db.creator = request.creator;
    db.creationDate = request.date;
    db.modificationDate = request.date;

    const BitmapFamilyEncoder encoder;
    PictureCache pictures;
    QHash<QPair<QByteArray, int>, int> resourceLines; // (type, id) -> line
    QList<int> resourceLineList;

    auto claim = [&](const QByteArray& type, int id, int line) {
        const auto key = qMakePair(type, id);
        if (resourceLines.contains(key)) {
            found.push_back(
                scriptError(line, QStringLiteral("a second resource %1 %2 (the first is at line %3)")
                                      .arg(typeText(type))
                                      .arg(id)
                                      .arg(resourceLines.value(key))));
            return false;
        }
        resourceLines.insert(key, line);
        if (id >= firstEditID && !request.allowEditID)
            found.push_back(scriptWarning(
                line, QStringLiteral("resource ID %1 is 10000 or more; pass -allowEditID if that is meant")
                          .arg(id)));
        return true;
    };

    for (const ScriptStatement& statement : script.statements) {
        PalmResource resource;
        int line = 0;
        if (statement.kind == ScriptStatement::Kind::Family) {
            const FamilyBlock& family = statement.family;
            line = family.line;
            resource.type = family.kind == FamilyBlock::Kind::Icon ? QByteArray("tAIB") : QByteArray("Tbmp");
            resource.id = quint16(family.id);
            const QString name = family.kind == FamilyBlock::Kind::Icon ? QStringLiteral("ICONFAMILYEX")
                                                                        : QStringLiteral("BITMAPFAMILYEX");
            if (!claim(resource.type, family.id, line))
                continue;
            if (family.members.isEmpty()) {
                found.push_back(
                    scriptWarning(line, QStringLiteral("%1 ID %2 has no BITMAP lines; no resource written")
                                            .arg(name)
                                            .arg(family.id)));
                continue;
            }
            QList<FamilyMember> members;
            bool complete = true;
            for (const BitmapLine& b : family.members) {
                QString problem;
                const QImage* picture = pictures.get(b.file, &problem);
                if (!picture) {
                    found.push_back(scriptError(
                        b.line, QStringLiteral("cannot read picture %1: %2").arg(quoted(b.file), problem)));
                    complete = false;
                    continue;
                }
                if (b.transparentIndex && b.depth != 8)
                    found.push_back(scriptWarning(
                        b.line, QStringLiteral("TRANSPARENTINDEX applies to BPP 8 only; ignored at BPP %1")
                                    .arg(b.depth)));
                if (b.transparentColour && b.depth != 16)
                    found.push_back(scriptWarning(
                        b.line, QStringLiteral("TRANSPARENT applies to BPP 16 only; ignored at BPP %1")
                                    .arg(b.depth)));
                FamilyMember m;
                m.picture = *picture;
                m.depth = b.depth;
                m.highDensity = b.highDensity;
                m.compress = b.compress;
                m.transparentIndex = b.transparentIndex;
                m.transparentColour = b.transparentColour;
                members.push_back(m);
            }
            if (!complete)
                continue;
            QString problem;
            int failed = -1;
            std::optional<QByteArray> bytes = encoder.encode(members, &problem, &failed);
            if (!bytes) {
                found.push_back(scriptError(failed >= 0 ? family.members[failed].line : line, problem));
                continue;
            }
            resource.bytes = *bytes;
        } else if (statement.kind == ScriptStatement::Kind::Data) {
            const DataStatement& data = statement.data;
            line = data.line;
            resource.type = data.type;
            resource.id = quint16(data.id);
            if (!claim(resource.type, data.id, line))
                continue;
            QFile file(data.file);
            if (!file.open(QIODevice::ReadOnly)) {
                found.push_back(scriptError(line, QStringLiteral("cannot read data file %1: %2")
                                                      .arg(quoted(data.file), file.errorString())));
                continue;
            }
            resource.bytes = file.readAll();
            if (file.error() != QFileDevice::NoError) {
                found.push_back(scriptError(line, QStringLiteral("cannot read data file %1: %2")
                                                      .arg(quoted(data.file), file.errorString())));
                continue;
            }
        } else {
            const VersionStatement& version = statement.version;
            line = version.line;
            resource.type = "tver";
            resource.id = quint16(version.id);
            if (!claim(resource.type, version.id, line))
                continue;
            resource.bytes = version.text + '\0';
        }
        if (resource.bytes.size() > safeResourceSize)
            found.push_back(scriptWarning(
                line, QStringLiteral("resource %1 %2 is %3 bytes; HotSync refuses resources over %4 bytes")
                          .arg(typeText(resource.type))
                          .arg(resource.id)
                          .arg(resource.bytes.size())
                          .arg(safeResourceSize)));
        db.resources.push_back(resource);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    const bool failed = hasErrors(found);
    if (diagnostics)
        diagnostics->append(found);
    if (failed)
        return std::nullopt;
    return db;
}

bool ResourceCompiler::run(const CompileRequest& request, Diagnostics* diagnostics) {
    QFile scriptFile(request.scriptPath);
    if (!scriptFile.open(QIODevice::ReadOnly)) {
        diagnostics->push_back(programError(QStringLiteral("cannot read script %1: %2")
                                                .arg(quoted(request.scriptPath), scriptFile.errorString())));
        return false;
    }
    const QByteArray text = scriptFile.readAll();
    std::optional<ParsedScript> script = ScriptParser::parse(text, diagnostics);
    if (!script)
        return false;
    std::optional<PalmDatabase> db = compile(*script, request, diagnostics);
    if (!db)
        return false;
    if (QFileInfo(request.outputPath).isDir()) {
        diagnostics->push_back(
            programError(QStringLiteral("cannot write %1: it is a folder").arg(quoted(request.outputPath))));
        return false;
    }
    QSaveFile out(request.outputPath);
    const QByteArray bytes = db->toBytes();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        diagnostics->push_back(programError(
            QStringLiteral("cannot write %1: %2").arg(quoted(request.outputPath), out.errorString())));
        out.cancelWriting();
        return false;
    }
    return true;
}

QByteArray ResourceCompiler::databaseNameFor(const QString& outputPath) {
    QString base = QFileInfo(QString(outputPath).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base.truncate(dot);
    return base.toLatin1().left(31);
}

std::optional<quint32> ResourceCompiler::buildDate(QString* error) {
    const QByteArray fixed = qgetenv("SOURCE_DATE_EPOCH");
    qint64 unixSeconds = 0;
    if (!fixed.isEmpty()) {
        bool ok = false;
        unixSeconds = fixed.toLongLong(&ok);
        if (!ok || unixSeconds < -PalmDatabase::epochOffset ||
            unixSeconds + PalmDatabase::epochOffset > 0xFFFFFFFFLL) {
            if (error)
                *error =
                    QStringLiteral(
                        "SOURCE_DATE_EPOCH must be a number of seconds since 1970 before 2040, not \"%1\"")
                        .arg(QString::fromLatin1(fixed.left(40)));
            return std::nullopt;
        }
    } else {
        // The handheld keeps local time without a zone.
        const QDateTime now = QDateTime::currentDateTime();
        unixSeconds = now.toSecsSinceEpoch() + now.offsetFromUtc();
    }
    return quint32(quint64(unixSeconds + PalmDatabase::epochOffset) & 0xFFFFFFFFu);
}

} // namespace vv::pdb
