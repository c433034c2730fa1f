#include "compiler/ResourceCompiler.h"

#include "app/AnsiText.h"
#include "compiler/BitmapFamilyEncoder.h"
#include "compiler/InputFile.h"
#include "compiler/PictureReader.h"
#include "compiler/ScriptParser.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
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

// How many families are encoded side by side before they are written out:
// enough to keep every core busy, few enough that memory does not grow with
// the script.
constexpr int familiesInFlight = 16;

// Writes the database as its resources come: the header and a resource list of
// the known length first, each body as soon as it is encoded, then the list
// again with the offsets the bodies' sizes gave. The file is a temporary one
// until everything is in place, so an error leaves an older database as it was.
class DatabaseFileWriter {
public:
    DatabaseFileWriter(const QString& path, const PalmDatabase& header, qsizetype count)
        : m_file(path), m_header(header), m_count(count) {}

    bool start() {
        if (!m_file.open(QIODevice::WriteOnly))
            return false;
        m_offset = quint32(PalmDatabase::headerSize + PalmDatabase::entrySize * m_count + 2);
        QByteArray head = m_header.headerBytes(quint16(m_count));
        head.append(QByteArray(qsizetype(PalmDatabase::entrySize) * m_count + 2, '\0'));
        m_list.reserve(PalmDatabase::entrySize * m_count);
        return write(head);
    }
    bool add(const PalmResource& resource) {
        PalmDatabase::appendEntry(m_list, resource.type, resource.id, m_offset);
        m_offset += quint32(resource.bytes.size());
        return write(resource.bytes);
    }
    bool finish() { return m_file.seek(PalmDatabase::headerSize) && write(m_list) && m_file.commit(); }
    QString errorString() const { return m_file.errorString(); }

private:
    bool write(const QByteArray& bytes) { return m_file.write(bytes) == bytes.size(); }

    QSaveFile m_file;
    const PalmDatabase& m_header;
    qsizetype m_count = 0;
    quint32 m_offset = 0;
    QByteArray m_list;
};

} // namespace

bool ResourceCompiler::compileTo(const ParsedScript& script, const CompileRequest& request,
                                 Diagnostics* diagnostics, const std::function<bool(qsizetype)>& start,
                                 const std::function<bool(const PalmResource&)>& add) {
    Diagnostics found;
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
    auto finish = [&](bool ok) {
        std::stable_sort(found.begin(), found.end(),
                         [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
        ok = ok && !hasErrors(found);
        if (diagnostics)
            diagnostics->append(found);
        return ok;
    };

    // First the statements in order: IDs, which resources there will be, and
    // the checks that need no file. Pictures and data files are read later,
    // each when its resource is made.
    struct Pending {
        PalmResource resource;
        int line = 0;
        const FamilyBlock* family = nullptr; // still to be encoded
        const DataStatement* data = nullptr; // still to be read
        Diagnostics diagnostics;             // of reading and encoding, in member order
    };
    std::vector<Pending> pending;
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
            item.data = &data;
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
    if (pending.size() > size_t(maxResources)) {
        found.push_back(
            programError(QStringLiteral("the script describes %1 resources; a database holds at most %2")
                             .arg(pending.size())
                             .arg(maxResources)));
        return finish(false);
    }
    // Nothing is written once an error is known; the rest is still compiled so
    // that every error is reported in one run.
    bool writing = !hasErrors(found) && start(qsizetype(pending.size()));
    bool sinkFailed = !hasErrors(found) && !writing;

    // Then the resources in groups: each group's pictures are read and its
    // families encoded side by side, and the group is written out in script
    // order before the next one starts.
    const BitmapFamilyEncoder encoder;
    auto make = [&](Pending& item) {
        if (item.data) {
            QString problem;
            std::optional<QByteArray> bytes = InputFile::readAll(item.data->file, maxDataSize, &problem);
            if (bytes)
                item.resource.bytes = std::move(*bytes);
            else
                item.diagnostics.push_back(scriptError(
                    item.line,
                    QStringLiteral("cannot read data file %1: %2").arg(quoted(item.data->file), problem)));
            return;
        }
        if (!item.family)
            return;
        QList<FamilyMember> members;
        QHash<QString, std::optional<Picture>> pictures; // each file once per family
        QHash<QString, QString> errors;
        for (const BitmapLine& b : item.family->members) {
            auto picture = pictures.find(b.file);
            if (picture == pictures.end()) {
                QString error;
                picture = pictures.insert(b.file, PictureReader::read(b.file, &error));
                errors.insert(b.file, error);
            }
            if (!*picture) {
                item.diagnostics.push_back(scriptError(
                    b.line,
                    QStringLiteral("cannot read picture %1: %2").arg(quoted(b.file), errors.value(b.file))));
                continue;
            }
            FamilyMember m;
            m.picture = **picture;
            m.depth = b.depth;
            m.highDensity = b.highDensity;
            m.compress = b.compress;
            m.transparentIndex = b.transparentIndex;
            m.transparentColour = b.transparentColour;
            members.push_back(std::move(m));
        }
        if (!item.diagnostics.isEmpty())
            return;
        QString problem;
        int failed = -1;
        if (std::optional<QByteArray> bytes = encoder.encode(members, &problem, &failed))
            item.resource.bytes = std::move(*bytes);
        else
            item.diagnostics.push_back(
                scriptError(failed >= 0 ? item.family->members[failed].line : item.line, problem));
    };
    for (size_t first = 0; first < pending.size(); first += familiesInFlight) {
        const size_t count = std::min(pending.size() - first, size_t(familiesInFlight));
        forEachInParallel(int(count), [&](int i) { make(pending[first + size_t(i)]); });
        for (size_t i = first; i < first + count; ++i) {
            Pending& item = pending[i];
            found.append(item.diagnostics);
            if (hasErrors(item.diagnostics)) {
                writing = false;
            } else {
                if (item.resource.bytes.size() > safeResourceSize)
                    found.push_back(scriptWarning(
                        item.line,
                        QStringLiteral("resource %1 %2 is %3 bytes; HotSync refuses resources over %4 bytes")
                            .arg(typeText(item.resource.type))
                            .arg(item.resource.id)
                            .arg(item.resource.bytes.size())
                            .arg(safeResourceSize)));
                if (writing && !add(item.resource)) {
                    writing = false;
                    sinkFailed = true;
                }
            }
            item.resource.bytes = QByteArray(); // written: its memory goes back
            item.diagnostics.clear();
        }
    }
    return finish(!sinkFailed);
}

std::optional<PalmDatabase> ResourceCompiler::compile(const ParsedScript& script,
                                                      const CompileRequest& request,
                                                      Diagnostics* diagnostics) {
    PalmDatabase db = headerFor(request);
    const bool ok = compileTo(
        script, request, diagnostics, [](qsizetype) { return true; },
        [&](const PalmResource& resource) {
            db.resources.push_back(resource);
            return true;
        });
    if (!ok)
        return std::nullopt;
    return db;
}

PalmDatabase ResourceCompiler::headerFor(const CompileRequest& request) {
    PalmDatabase db;
    db.name = databaseNameFor(request.outputPath);
    db.type = request.type;
    db.creator = request.creator;
    db.creationDate = request.date;
    db.modificationDate = request.date;
    return db;
}

bool ResourceCompiler::run(const CompileRequest& request, Diagnostics* diagnostics) {
    // Refused before any work, so nothing is ever written over a device or FIFO.
    if (const QString problem = checkOutputPath(request.outputPath); !problem.isEmpty()) {
        diagnostics->push_back(
            programError(QStringLiteral("cannot write %1: %2").arg(quoted(request.outputPath), problem)));
        return false;
    }
    QString problem;
    const std::optional<QByteArray> text = InputFile::readAll(request.scriptPath, maxScriptSize, &problem);
    if (!text) {
        diagnostics->push_back(programError(
            QStringLiteral("cannot read script %1: %2").arg(quoted(request.scriptPath), problem)));
        return false;
    }
    std::optional<ParsedScript> script = ScriptParser::parse(*text, diagnostics);
    if (!script)
        return false;
    const PalmDatabase header = headerFor(request);
    std::optional<DatabaseFileWriter> out;
    bool writeFailed = false;
    const bool ok = compileTo(
        *script, request, diagnostics,
        [&](qsizetype count) {
            out.emplace(request.outputPath, header, count);
            writeFailed = !out->start();
            return !writeFailed;
        },
        [&](const PalmResource& resource) {
            writeFailed = !out->add(resource);
            return !writeFailed;
        });
    if (ok && out && out->finish())
        return true;
    if (out && (ok || writeFailed))
        diagnostics->push_back(programError(
            QStringLiteral("cannot write %1: %2").arg(quoted(request.outputPath), out->errorString())));
    return false; // the temporary file goes with `out`; an older database stays
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
