#include "compiler/ResourceCompiler.h"

#include "app/AnsiText.h"
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

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace vv::pdb {
namespace {

constexpr int firstEditID = 10000;

QString quoted(const QString& path) {
    return QLatin1Char('"') + path + QLatin1Char('"');
}

QString typeText(const QByteArray& type) {
    return QString::fromLatin1(type);
}

// Runs `work(i)` for i in [0, count) on up to four threads. Families do not
// depend on each other, and a full theme has over a hundred pictures to read
// and convert.
template <typename Work> void forEachInParallel(int count, Work work) {
    const int threads = std::min(count, std::clamp(int(std::thread::hardware_concurrency()), 1, 4));
    std::atomic<int> next{0};
    auto drain = [&] {
        for (int i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t)
        helpers.emplace_back(drain);
    drain();
    for (std::thread& helper : helpers)
        helper.join();
}

struct LoadedPicture {
    QImage picture;
    QString error;
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

    QHash<QPair<QByteArray, int>, int> resourceLines; // (type, id) -> line
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

    // First the statements in order: IDs, data files, version texts, and the
    // pictures each family needs.
    struct Pending {
        PalmResource resource;
        int line = 0;
        const FamilyBlock* family = nullptr; // still to be encoded
        Diagnostics diagnostics;             // of the encoding, in member order
    };
    std::vector<Pending> pending;
    QHash<QString, int> pictureIndex;
    QStringList picturePaths;
    for (const ScriptStatement& statement : script.statements) {
        Pending item;
        if (statement.kind == ScriptStatement::Kind::Family) {
            const FamilyBlock& family = statement.family;
            item.line = family.line;
            item.resource.type =
                family.kind == FamilyBlock::Kind::Icon ? QByteArray("tAIB") : QByteArray("Tbmp");
            item.resource.id = quint16(family.id);
            if (!claim(item.resource.type, family.id, item.line))
                continue;
            if (family.members.isEmpty()) {
                found.push_back(scriptWarning(
                    item.line,
                    QStringLiteral("%1 ID %2 has no BITMAP lines; no resource written")
                        .arg(family.kind == FamilyBlock::Kind::Icon ? QStringLiteral("ICONFAMILYEX")
                                                                    : QStringLiteral("BITMAPFAMILYEX"))
                        .arg(family.id)));
                continue;
            }
            item.family = &family;
            for (const BitmapLine& b : family.members) {
                if (!pictureIndex.contains(b.file)) {
                    pictureIndex.insert(b.file, int(picturePaths.size()));
                    picturePaths.push_back(b.file);
                }
                if (b.transparentIndex && b.depth != 8)
                    found.push_back(scriptWarning(
                        b.line, QStringLiteral("TRANSPARENTINDEX applies to BPP 8 only; ignored at BPP %1")
                                    .arg(b.depth)));
                if (b.transparentColour && b.depth != 16)
                    found.push_back(scriptWarning(
                        b.line, QStringLiteral("TRANSPARENT applies to BPP 16 only; ignored at BPP %1")
                                    .arg(b.depth)));
            }
        } else if (statement.kind == ScriptStatement::Kind::Data) {
            const DataStatement& data = statement.data;
            item.line = data.line;
            item.resource.type = data.type;
            item.resource.id = quint16(data.id);
            if (!claim(item.resource.type, data.id, item.line))
                continue;
            QFile file(data.file);
            if (!file.open(QIODevice::ReadOnly) ||
                (item.resource.bytes = file.readAll(), file.error() != QFileDevice::NoError)) {
                found.push_back(scriptError(item.line, QStringLiteral("cannot read data file %1: %2")
                                                           .arg(quoted(data.file), file.errorString())));
                continue;
            }
        } else {
            const VersionStatement& version = statement.version;
            item.line = version.line;
            item.resource.type = "tver";
            item.resource.id = quint16(version.id);
            if (!claim(item.resource.type, version.id, item.line))
                continue;
            item.resource.bytes = version.text + '\0';
        }
        pending.push_back(std::move(item));
    }

    // Then the pictures, each file once, and the families, side by side.
    std::vector<LoadedPicture> loaded(size_t(picturePaths.size()));
    forEachInParallel(int(picturePaths.size()), [&](int i) {
        if (std::optional<QImage> picture = PictureReader::read(picturePaths[i], &loaded[size_t(i)].error))
            loaded[size_t(i)].picture = *picture;
    });
    const BitmapFamilyEncoder encoder;
    forEachInParallel(int(pending.size()), [&](int i) {
        Pending& item = pending[size_t(i)];
        if (!item.family)
            return;
        QList<FamilyMember> members;
        for (const BitmapLine& b : item.family->members) {
            const LoadedPicture& picture = loaded[size_t(pictureIndex.value(b.file))];
            if (picture.picture.isNull()) {
                item.diagnostics.push_back(scriptError(
                    b.line, QStringLiteral("cannot read picture %1: %2").arg(quoted(b.file), picture.error)));
                continue;
            }
            FamilyMember m;
            m.picture = picture.picture;
            m.depth = b.depth;
            m.highDensity = b.highDensity;
            m.compress = b.compress;
            m.transparentIndex = b.transparentIndex;
            m.transparentColour = b.transparentColour;
            members.push_back(m);
        }
        if (!item.diagnostics.isEmpty())
            return;
        QString problem;
        int failed = -1;
        if (std::optional<QByteArray> bytes = encoder.encode(members, &problem, &failed))
            item.resource.bytes = *bytes;
        else
            item.diagnostics.push_back(
                scriptError(failed >= 0 ? item.family->members[failed].line : item.line, problem));
    });

    for (Pending& item : pending) {
        found.append(item.diagnostics);
        if (hasErrors(item.diagnostics))
            continue;
        if (item.resource.bytes.size() > safeResourceSize)
            found.push_back(scriptWarning(
                item.line,
                QStringLiteral("resource %1 %2 is %3 bytes; HotSync refuses resources over %4 bytes")
                    .arg(typeText(item.resource.type))
                    .arg(item.resource.id)
                    .arg(item.resource.bytes.size())
                    .arg(safeResourceSize)));
        db.resources.push_back(std::move(item.resource));
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
    return encodeAnsi(base).left(31);
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
