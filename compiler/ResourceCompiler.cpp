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

constexpr int kFirstEditID = 10000;

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
constexpr int kFamiliesInFlight = 16;

// Writes the database as its resources come: the header and a resource list of
// the known length first, each body as soon as it is encoded, then the list
// again with the offsets the bodies' sizes gave. The file is a temporary one
// until everything is in place, so an error leaves an older database as it was.
class DatabaseFileWriter {
public:
    DatabaseFileWriter(const std::string& path, const formats::PalmDatabase& header, std::size_t count)
        : file_(path), header_(header), count_(count) {}

    bool start() {
        if (!file_.open())
            return false;
        offset_ = std::uint32_t(formats::PalmDatabase::kHeaderSize +
                                formats::PalmDatabase::kEntrySize * count_ + 2);
        std::string head = header_.headerBytes(std::uint16_t(count_));
        head.append(formats::PalmDatabase::kEntrySize * count_ + 2, '\0');
        list_.reserve(formats::PalmDatabase::kEntrySize * count_);
        return file_.write(head);
    }
    bool add(const formats::PalmResource& resource) {
        formats::PalmDatabase::appendEntry(list_, resource.type, resource.id, offset_);
        offset_ += std::uint32_t(resource.bytes.size());
        return file_.write(resource.bytes);
    }
    bool finish() { return file_.writeAt(formats::PalmDatabase::kHeaderSize, list_) && file_.commit(); }
    const std::string& errorString() const { return file_.errorString(); }

private:
    OutputFile file_;
    const formats::PalmDatabase& header_;
    std::size_t count_ = 0;
    std::uint32_t offset_ = 0;
    std::string list_;
};

// A resource still to be made: what the statement says, and later what
// reading and encoding found.
struct Pending {
    formats::PalmResource resource;
    int line = 0;
    const FamilyBlock* family = nullptr; // still to be encoded
    const DataStatement* data = nullptr; // still to be read
    Diagnostics diagnostics;             // of reading and encoding, in member order
};

// One run of compileTo: the statements planned in order, then the resources
// made in groups and handed over in script order.
class Compilation {
public:
    explicit Compilation(const CompileRequest& request) : request_(request) {}

    // The statements in order: IDs, which resources there will be, and the
    // checks that need no file. Pictures and data files are read later, each
    // when its resource is made.
    std::vector<Pending> plan(const ParsedScript& script) {
        std::vector<Pending> pending;
        for (const ScriptStatement& statement : script.statements) {
            std::optional<Pending> item =
                statement.kind == ScriptStatement::Kind::Family ? planFamily(statement.family)
                : statement.kind == ScriptStatement::Kind::Data ? planData(statement.data)
                                                                : planVersion(statement.version);
            if (item)
                pending.push_back(std::move(*item));
        }
        return pending;
    }

    // Reads the data file or the pictures of `item` and encodes its family.
    // Runs on several threads at once: it touches `item` alone.
    void make(Pending& item) const {
        if (item.data)
            readData(item);
        else if (item.family)
            encodeFamily(item);
    }

    // Keeps what making `item` found and hands the resource to `add` while
    // nothing has failed; its bytes are let go either way.
    void handOver(Pending& item, const std::function<bool(const formats::PalmResource&)>& add) {
        append(found_, item.diagnostics);
        if (hasErrors(item.diagnostics)) {
            writing_ = false;
        } else {
            if (item.resource.bytes.size() > ResourceCompiler::kSafeResourceSize)
                found_.push_back(scriptWarning(
                    item.line, "resource " + typeText(item.resource.type) + ' ' +
                                   std::to_string(item.resource.id) + " is " +
                                   std::to_string(item.resource.bytes.size()) +
                                   " bytes; HotSync refuses resources over " +
                                   std::to_string(ResourceCompiler::kSafeResourceSize) + " bytes"));
            if (writing_ && !add(item.resource)) {
                writing_ = false;
                sinkFailed_ = true;
            }
        }
        // Written: its memory goes back. Assigning an empty string would keep
        // the capacity, and every family's bytes would stay to the end.
        std::string().swap(item.resource.bytes);
        item.diagnostics.clear();
    }

    // Nothing is written once an error is known; the rest is still compiled
    // so that every error is reported in one run.
    bool start(std::size_t count, const std::function<bool(std::size_t)>& start) {
        if (count > ResourceCompiler::kMaxResources) {
            found_.push_back(programError("the script describes " + std::to_string(count) +
                                          " resources; a database holds at most " +
                                          std::to_string(ResourceCompiler::kMaxResources)));
            return false;
        }
        writing_ = !hasErrors(found_) && start(count);
        sinkFailed_ = !hasErrors(found_) && !writing_;
        return true;
    }

    // Every diagnostic in line order; true when all went well.
    bool finish(bool ok, Diagnostics* diagnostics) {
        std::stable_sort(found_.begin(), found_.end(),
                         [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
        ok = ok && !sinkFailed_ && !hasErrors(found_);
        if (diagnostics)
            append(*diagnostics, found_);
        return ok;
    }

private:
    // False, with the error, for a second resource of one type and ID.
    bool claim(const std::string& type, int id, int line) {
        const auto [first, fresh] = resourceLines_.emplace(std::make_pair(type, id), line);
        if (!fresh) {
            found_.push_back(scriptError(line, "a second resource " + typeText(type) + ' ' +
                                                   std::to_string(id) + " (the first is at line " +
                                                   std::to_string(first->second) + ")"));
            return false;
        }
        if (id >= kFirstEditID && !request_.allowEditID)
            found_.push_back(
                scriptWarning(line, "resource ID " + std::to_string(id) +
                                        " is 10000 or more; pass -allowEditID if that is meant"));
        return true;
    }

    std::optional<Pending> planFamily(const FamilyBlock& family) {
        Pending item;
        item.line = family.line;
        item.resource.type = family.kind == FamilyBlock::Kind::Icon ? formats::kIconResourceType
                                                                    : formats::kBitmapResourceType;
        item.resource.id = std::uint16_t(family.id);
        if (!claim(item.resource.type, family.id, item.line))
            return std::nullopt;
        if (family.members.empty()) {
            found_.push_back(scriptWarning(
                item.line,
                std::string(family.kind == FamilyBlock::Kind::Icon ? "ICONFAMILYEX" : "BITMAPFAMILYEX") +
                    " ID " + std::to_string(family.id) + " has no BITMAP lines; no resource written"));
            return std::nullopt;
        }
        item.family = &family;
        for (const BitmapLine& b : family.members) {
            if (b.transparentIndex && b.depth != 8)
                found_.push_back(
                    scriptWarning(b.line, "TRANSPARENTINDEX applies to BPP 8 only; ignored at BPP " +
                                              std::to_string(b.depth)));
            if (b.transparentColour && b.depth != 16)
                found_.push_back(scriptWarning(b.line, "TRANSPARENT applies to BPP 16 only; ignored at BPP " +
                                                           std::to_string(b.depth)));
        }
        return item;
    }

    std::optional<Pending> planData(const DataStatement& data) {
        Pending item;
        item.line = data.line;
        item.resource.type = data.type;
        item.resource.id = std::uint16_t(data.id);
        if (!claim(item.resource.type, data.id, item.line))
            return std::nullopt;
        item.data = &data;
        return item;
    }

    std::optional<Pending> planVersion(const VersionStatement& version) {
        Pending item;
        item.line = version.line;
        item.resource.type = "tver";
        item.resource.id = std::uint16_t(version.id);
        if (!claim(item.resource.type, version.id, item.line))
            return std::nullopt;
        item.resource.bytes = version.text + '\0';
        return item;
    }

    static void readData(Pending& item) {
        std::string problem;
        std::optional<std::string> bytes =
            InputFile::readAll(item.data->file, ResourceCompiler::kMaxDataSize, &problem);
        if (bytes)
            item.resource.bytes = std::move(*bytes);
        else
            item.diagnostics.push_back(
                scriptError(item.line, "cannot read data file " + quoted(item.data->file) + ": " + problem));
    }

    // The members of the family with their pictures; each file is read once
    // per family, and every file that cannot be read is reported.
    static std::vector<FamilyMember> readMembers(Pending& item) {
        std::vector<FamilyMember> members;
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
        return members;
    }

    void encodeFamily(Pending& item) const {
        const std::vector<FamilyMember> members = readMembers(item);
        if (!item.diagnostics.empty())
            return;
        std::string problem;
        int failed = -1;
        if (std::optional<std::string> bytes = encoder_.encode(members, &problem, &failed))
            item.resource.bytes = std::move(*bytes);
        else
            item.diagnostics.push_back(
                scriptError(failed >= 0 ? item.family->members[size_t(failed)].line : item.line, problem));
    }

    const CompileRequest& request_;
    const BitmapFamilyEncoder encoder_;
    Diagnostics found_;
    std::map<std::pair<std::string, int>, int> resourceLines_; // (type, id) -> line
    bool writing_ = false;
    bool sinkFailed_ = false;
};

} // namespace

bool ResourceCompiler::compileTo(const ParsedScript& script, const CompileRequest& request,
                                 Diagnostics* diagnostics, const std::function<bool(std::size_t)>& start,
                                 const std::function<bool(const formats::PalmResource&)>& add) {
    Compilation compilation(request);
    std::vector<Pending> pending = compilation.plan(script);
    if (!compilation.start(pending.size(), start))
        return compilation.finish(false, diagnostics);
    // The resources in groups: each group's pictures are read and its families
    // encoded side by side, and the group is handed over in script order
    // before the next one starts.
    for (size_t first = 0; first < pending.size(); first += kFamiliesInFlight) {
        const size_t count = std::min(pending.size() - first, size_t(kFamiliesInFlight));
        forEachInParallel(int(count), [&](int i) { compilation.make(pending[first + size_t(i)]); });
        for (size_t i = first; i < first + count; ++i)
            compilation.handOver(pending[i], add);
    }
    return compilation.finish(true, diagnostics);
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
    const std::optional<std::string> text = InputFile::readAll(request.scriptPath, kMaxScriptSize, &problem);
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
