#include "compiler/ResourceCompiler.h"

#include "compiler/BitmapFamilyEncoder.h"
#include "compiler/InputFile.h"
#include "compiler/OutputFile.h"
#include "compiler/PictureReader.h"
#include "compiler/ScriptParser.h"
#include "compiler/TextRules.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <map>
#include <thread>
#include <utility>
#include <vector>

namespace vv::pdb {
namespace {

constexpr int firstEditID = 10000;

std::string quoted(const std::string& path) {
    return '"' + path + '"';
}

std::string typeText(const std::string& type) {
    return latin1ToUtf8(type);
}

void append(Diagnostics& to, const Diagnostics& from) {
    to.insert(to.end(), from.begin(), from.end());
}

// The current local time as seconds since 1970, as if the zone were UTC: the
// handheld keeps local time without a zone.
std::int64_t localSecondsNow() {
    const std::time_t now = std::time(nullptr);
#ifdef _WIN32
    std::tm local{};
    localtime_s(&local, &now);
    return std::int64_t(_mkgmtime(&local));
#else
    std::tm local{};
    localtime_r(&now, &local);
    return std::int64_t(now) + std::int64_t(local.tm_gmtoff);
#endif
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
    DatabaseFileWriter(const std::string& path, const formats::PalmDatabase& header, std::size_t count)
        : m_file(path), m_header(header), m_count(count) {}

    bool start() {
        if (!m_file.open())
            return false;
        m_offset = std::uint32_t(formats::PalmDatabase::kHeaderSize +
                                 formats::PalmDatabase::kEntrySize * m_count + 2);
        std::string head = m_header.headerBytes(std::uint16_t(m_count));
        head.append(formats::PalmDatabase::kEntrySize * m_count + 2, '\0');
        m_list.reserve(formats::PalmDatabase::kEntrySize * m_count);
        return m_file.write(head);
    }
    bool add(const formats::PalmResource& resource) {
        formats::PalmDatabase::appendEntry(m_list, resource.type, resource.id, m_offset);
        m_offset += std::uint32_t(resource.bytes.size());
        return m_file.write(resource.bytes);
    }
    bool finish() { return m_file.writeAt(formats::PalmDatabase::kHeaderSize, m_list) && m_file.commit(); }
    const std::string& errorString() const { return m_file.errorString(); }

private:
    OutputFile m_file;
    const formats::PalmDatabase& m_header;
    std::size_t m_count = 0;
    std::uint32_t m_offset = 0;
    std::string m_list;
};

} // namespace

bool ResourceCompiler::compileTo(const ParsedScript& script, const CompileRequest& request,
                                 Diagnostics* diagnostics, const std::function<bool(std::size_t)>& start,
                                 const std::function<bool(const formats::PalmResource&)>& add) {
    Diagnostics found;
    std::map<std::pair<std::string, int>, int> resourceLines; // (type, id) -> line
    auto claim = [&](const std::string& type, int id, int line) {
        const auto [first, fresh] = resourceLines.emplace(std::make_pair(type, id), line);
        if (!fresh) {
            found.push_back(scriptError(line, "a second resource " + typeText(type) + ' ' +
                                                  std::to_string(id) + " (the first is at line " +
                                                  std::to_string(first->second) + ")"));
            return false;
        }
        if (id >= firstEditID && !request.allowEditID)
            found.push_back(scriptWarning(line, "resource ID " + std::to_string(id) +
                                                    " is 10000 or more; pass -allowEditID if that is meant"));
        return true;
    };
    auto finish = [&](bool ok) {
        std::stable_sort(found.begin(), found.end(),
                         [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
        ok = ok && !hasErrors(found);
        if (diagnostics)
            append(*diagnostics, found);
        return ok;
    };

    // First the statements in order: IDs, which resources there will be, and
    // the checks that need no file. Pictures and data files are read later,
    // each when its resource is made.
    struct Pending {
        formats::PalmResource resource;
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
            item.resource.type = family.kind == FamilyBlock::Kind::Icon ? formats::kIconResourceType
                                                                        : formats::kBitmapResourceType;
            item.resource.id = std::uint16_t(family.id);
            if (!claim(item.resource.type, family.id, item.line))
                continue;
            if (family.members.empty()) {
                found.push_back(scriptWarning(
                    item.line,
                    std::string(family.kind == FamilyBlock::Kind::Icon ? "ICONFAMILYEX" : "BITMAPFAMILYEX") +
                        " ID " + std::to_string(family.id) + " has no BITMAP lines; no resource written"));
                continue;
            }
            item.family = &family;
            for (const BitmapLine& b : family.members) {
                if (b.transparentIndex && b.depth != 8)
                    found.push_back(
                        scriptWarning(b.line, "TRANSPARENTINDEX applies to BPP 8 only; ignored at BPP " +
                                                  std::to_string(b.depth)));
                if (b.transparentColour && b.depth != 16)
                    found.push_back(
                        scriptWarning(b.line, "TRANSPARENT applies to BPP 16 only; ignored at BPP " +
                                                  std::to_string(b.depth)));
            }
        } else if (statement.kind == ScriptStatement::Kind::Data) {
            const DataStatement& data = statement.data;
            item.line = data.line;
            item.resource.type = data.type;
            item.resource.id = std::uint16_t(data.id);
            if (!claim(item.resource.type, data.id, item.line))
                continue;
            item.data = &data;
        } else {
            const VersionStatement& version = statement.version;
            item.line = version.line;
            item.resource.type = "tver";
            item.resource.id = std::uint16_t(version.id);
            if (!claim(item.resource.type, version.id, item.line))
                continue;
            item.resource.bytes = version.text + '\0';
        }
        pending.push_back(std::move(item));
    }
    if (pending.size() > maxResources) {
        found.push_back(programError("the script describes " + std::to_string(pending.size()) +
                                     " resources; a database holds at most " + std::to_string(maxResources)));
        return finish(false);
    }
    // Nothing is written once an error is known; the rest is still compiled so
    // that every error is reported in one run.
    bool writing = !hasErrors(found) && start(pending.size());
    bool sinkFailed = !hasErrors(found) && !writing;

    // Then the resources in groups: each group's pictures are read and its
    // families encoded side by side, and the group is written out in script
    // order before the next one starts.
    const BitmapFamilyEncoder encoder;
    auto make = [&](Pending& item) {
        if (item.data) {
            std::string problem;
            std::optional<std::string> bytes = InputFile::readAll(item.data->file, maxDataSize, &problem);
            if (bytes)
                item.resource.bytes = std::move(*bytes);
            else
                item.diagnostics.push_back(scriptError(
                    item.line, "cannot read data file " + quoted(item.data->file) + ": " + problem));
            return;
        }
        if (!item.family)
            return;
        std::vector<FamilyMember> members;
        // Each file once per family: its picture, or why there is none.
        std::map<std::string, std::pair<std::optional<Picture>, std::string>> pictures;
        for (const BitmapLine& b : item.family->members) {
            auto picture = pictures.find(b.file);
            if (picture == pictures.end()) {
                std::string error;
                std::optional<Picture> read = PictureReader::read(b.file, &error);
                picture = pictures.emplace(b.file, std::make_pair(std::move(read), std::move(error))).first;
            }
            if (!picture->second.first) {
                item.diagnostics.push_back(scriptError(b.line, "cannot read picture " + quoted(b.file) +
                                                                   ": " + picture->second.second));
                continue;
            }
            FamilyMember m;
            m.picture = *picture->second.first;
            m.depth = b.depth;
            m.highDensity = b.highDensity;
            m.compress = b.compress;
            m.transparentIndex = b.transparentIndex;
            m.transparentColour = b.transparentColour;
            members.push_back(std::move(m));
        }
        if (!item.diagnostics.empty())
            return;
        std::string problem;
        int failed = -1;
        if (std::optional<std::string> bytes = encoder.encode(members, &problem, &failed))
            item.resource.bytes = std::move(*bytes);
        else
            item.diagnostics.push_back(
                scriptError(failed >= 0 ? item.family->members[size_t(failed)].line : item.line, problem));
    };
    for (size_t first = 0; first < pending.size(); first += familiesInFlight) {
        const size_t count = std::min(pending.size() - first, size_t(familiesInFlight));
        forEachInParallel(int(count), [&](int i) { make(pending[first + size_t(i)]); });
        for (size_t i = first; i < first + count; ++i) {
            Pending& item = pending[i];
            append(found, item.diagnostics);
            if (hasErrors(item.diagnostics)) {
                writing = false;
            } else {
                if (item.resource.bytes.size() > safeResourceSize)
                    found.push_back(
                        scriptWarning(item.line, "resource " + typeText(item.resource.type) + ' ' +
                                                     std::to_string(item.resource.id) + " is " +
                                                     std::to_string(item.resource.bytes.size()) +
                                                     " bytes; HotSync refuses resources over " +
                                                     std::to_string(safeResourceSize) + " bytes"));
                if (writing && !add(item.resource)) {
                    writing = false;
                    sinkFailed = true;
                }
            }
            // Written: its memory goes back. Assigning an empty string would keep
            // the capacity, and every family's bytes would stay to the end.
            std::string().swap(item.resource.bytes);
            item.diagnostics.clear();
        }
    }
    return finish(!sinkFailed);
}

std::optional<formats::PalmDatabase> ResourceCompiler::compile(const ParsedScript& script,
                                                               const CompileRequest& request,
                                                               Diagnostics* diagnostics) {
    formats::PalmDatabase db = headerFor(request);
    const bool ok = compileTo(
        script, request, diagnostics, [](std::size_t) { return true; },
        [&](const formats::PalmResource& resource) {
            db.resources.push_back(resource);
            return true;
        });
    if (!ok)
        return std::nullopt;
    return db;
}

formats::PalmDatabase ResourceCompiler::headerFor(const CompileRequest& request) {
    formats::PalmDatabase db;
    db.name = databaseNameFor(request.outputPath);
    db.type = request.type;
    db.creator = request.creator;
    db.creationDate = request.date;
    db.modificationDate = request.date;
    return db;
}

bool ResourceCompiler::run(const CompileRequest& request, Diagnostics* diagnostics) {
    // Refused before any work, so nothing is ever written over a device or FIFO.
    if (const std::string problem = checkOutputPath(request.outputPath); !problem.empty()) {
        diagnostics->push_back(programError("cannot write " + quoted(request.outputPath) + ": " + problem));
        return false;
    }
    std::string problem;
    const std::optional<std::string> text = InputFile::readAll(request.scriptPath, maxScriptSize, &problem);
    if (!text) {
        diagnostics->push_back(
            programError("cannot read script " + quoted(request.scriptPath) + ": " + problem));
        return false;
    }
    std::optional<ParsedScript> script = ScriptParser::parse(*text, diagnostics);
    if (!script)
        return false;
    const formats::PalmDatabase header = headerFor(request);
    std::optional<DatabaseFileWriter> out;
    bool writeFailed = false;
    const bool ok = compileTo(
        *script, request, diagnostics,
        [&](std::size_t count) {
            out.emplace(request.outputPath, header, count);
            writeFailed = !out->start();
            return !writeFailed;
        },
        [&](const formats::PalmResource& resource) {
            writeFailed = !out->add(resource);
            return !writeFailed;
        });
    if (ok && out && out->finish())
        return true;
    if (out && (ok || writeFailed))
        diagnostics->push_back(
            programError("cannot write " + quoted(request.outputPath) + ": " + out->errorString()));
    return false; // the temporary file goes with `out`; an older database stays
}

std::string ResourceCompiler::databaseNameFor(const std::string& outputPath) {
    std::string base = outputPath;
    for (char& c : base)
        if (c == '\\')
            c = '/';
    if (const std::size_t slash = base.rfind('/'); slash != std::string::npos)
        base.erase(0, slash + 1);
    if (const std::size_t dot = base.rfind('.'); dot != std::string::npos && dot > 0)
        base.resize(dot);
    return utf8ToAnsi(base).substr(0, 31);
}

std::optional<std::uint32_t> ResourceCompiler::buildDate(std::string* error) {
    const char* set = std::getenv("SOURCE_DATE_EPOCH");
    const std::string fixed = set ? set : "";
    std::int64_t unixSeconds = 0;
    if (!fixed.empty()) {
        // A whole number of seconds; white space around it is allowed.
        const std::size_t first = fixed.find_first_not_of(" \t\n\v\f\r");
        const std::size_t last = fixed.find_last_not_of(" \t\n\v\f\r");
        const std::string digits = first == std::string::npos ? "" : fixed.substr(first, last - first + 1);
        errno = 0;
        char* end = nullptr;
        const long long value = digits.empty() ? 0 : std::strtoll(digits.c_str(), &end, 10);
        const bool ok = !digits.empty() && errno != ERANGE && end == digits.c_str() + digits.size();
        unixSeconds = value;
        if (!ok || unixSeconds < -formats::PalmDatabase::kEpochOffset ||
            unixSeconds + formats::PalmDatabase::kEpochOffset > 0xFFFFFFFFLL) {
            if (error)
                *error = "SOURCE_DATE_EPOCH must be a number of seconds since 1970 before 2040, not \"" +
                         latin1ToUtf8(fixed.substr(0, 40)) + '"';
            return std::nullopt;
        }
    } else {
        unixSeconds = localSecondsNow();
    }
    return std::uint32_t(std::uint64_t(unixSeconds + formats::PalmDatabase::kEpochOffset) & 0xFFFFFFFFu);
}

} // namespace vv::pdb
