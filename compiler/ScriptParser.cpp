#include "compiler/ScriptParser.h"

#include "compiler/TextRules.h"
#include "formats/PalmPalette.h"

#include <cerrno>
#include <cstdlib>
#include <map>
#include <vector>

namespace vv::pdb {
namespace {

struct Token {
    enum class Kind { Word, Number, String, OpenBrace, CloseBrace, End };
    Kind kind = Kind::End;
    int line = 0;
    std::string_view text; // word or number spelling, or the string's bytes, in the script
};

struct ParseFailure {
    Diagnostic diagnostic;
};

bool isWordStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isWordPart(char c) {
    return isWordStart(c) || (c >= '0' && c <= '9');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Script bytes for a message: the first 40 read as Latin-1, control
// characters shown as '?'.
std::string printable(std::string_view bytes) {
    std::string head(bytes.substr(0, 40));
    for (char& c : head)
        if ((static_cast<unsigned char>(c) < 0x20) || c == 0x7F)
            c = '?';
    std::string text = latin1ToUtf8(head);
    return bytes.size() > 40 ? text + "..." : text;
}

// printable(bytes) between two marks, built front to back: prepending to the
// temporary (mark + string&&) inserts at its start, which GCC 12 at -O2 and
// above reads as an overlapping copy of unbounded size (-Wrestrict).
std::string quoted(char mark, std::string_view bytes) {
    std::string text(1, mark);
    text += printable(bytes);
    text += mark;
    return text;
}

bool equalsIgnoringCase(std::string_view word, const char* keyword) {
    std::size_t i = 0;
    for (; i < word.size() && keyword[i]; ++i) {
        char a = word[i], b = keyword[i];
        if (a >= 'a' && a <= 'z')
            a = char(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z')
            b = char(b - 'a' + 'A');
        if (a != b)
            return false;
    }
    return i == word.size() && !keyword[i];
}

// The whole of `text` as a number in `base` (0x may lead in base 16), or
// nothing when anything else is in it or it does not fit.
std::optional<long long> wholeNumber(std::string_view digits, int base) {
    if (digits.empty())
        return std::nullopt;
    const std::string text(digits);
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, base);
    if (errno == ERANGE || end != text.c_str() + text.size())
        return std::nullopt;
    return value;
}

// Splits the script into tokens, one at a time as the parser asks, so that a
// long script is never held twice; CR LF, LF and a lone CR each end one line.
class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : text_(text) {}

    Token next() {
        const std::string_view text = text_;
        const std::size_t n = text.size();
        std::size_t& i = at_;
        int& line = line_;
        auto lineEnd = [&](std::size_t at) -> int { // length of a line end at `at`, 0 if none
            if (text[at] == '\r')
                return (at + 1 < n && text[at + 1] == '\n') ? 2 : 1;
            return text[at] == '\n' ? 1 : 0;
        };
        while (i < n) {
            const char c = text[i];
            if (const int ends = lineEnd(i)) {
                ++line;
                i += ends;
            } else if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
                ++i;
            } else if (c == '/' && i + 1 < n && text[i + 1] == '/') {
                while (i < n && !lineEnd(i))
                    ++i;
            } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
                const int opened = line;
                i += 2;
                bool closed = false;
                while (i < n) {
                    if (text[i] == '*' && i + 1 < n && text[i + 1] == '/') {
                        i += 2;
                        closed = true;
                        break;
                    }
                    if (const int lineEnds = lineEnd(i)) {
                        ++line;
                        i += lineEnds;
                    } else {
                        ++i;
                    }
                }
                if (!closed)
                    throw ParseFailure{scriptError(opened, "comment opened with /* is never closed")};
            } else if (c == '"') {
                const int opened = line;
                std::size_t j = i + 1;
                while (j < n && text[j] != '"' && !lineEnd(j))
                    ++j;
                if (j >= n || text[j] != '"')
                    throw ParseFailure{
                        scriptError(opened, "text in double quotes is not closed on its line")};
                const Token token{Token::Kind::String, line, text.substr(i + 1, j - i - 1)};
                i = j + 1;
                return token;
            } else if (c == '{' || c == '}') {
                const Token token{c == '{' ? Token::Kind::OpenBrace : Token::Kind::CloseBrace, line,
                                  text.substr(i, 1)};
                ++i;
                return token;
            } else if (isWordStart(c)) {
                std::size_t j = i;
                while (j < n && isWordPart(text[j]))
                    ++j;
                const Token token{Token::Kind::Word, line, text.substr(i, j - i)};
                i = j;
                return token;
            } else if (isDigit(c) || (c == '-' && i + 1 < n && isDigit(text[i + 1]))) {
                std::size_t j = i + 1;
                while (j < n && isWordPart(text[j]))
                    ++j;
                const Token token{Token::Kind::Number, line, text.substr(i, j - i)};
                i = j;
                return token;
            } else {
                throw ParseFailure{
                    scriptError(line, "unexpected character '" + printable(std::string_view(&c, 1)) + "'")};
            }
        }
        return {Token::Kind::End, line, {}};
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

class Parser {
public:
    explicit Parser(std::string_view text) : tokenizer_(text), current_(tokenizer_.next()) {}

    ParsedScript parseScript() {
        ParsedScript script;
        while (peek().kind != Token::Kind::End) {
            const Token t = peek();
            ScriptStatement statement;
            if (isKeyword(t, "BITMAPFAMILYEX") || isKeyword(t, "ICONFAMILYEX")) {
                statement.kind = ScriptStatement::Kind::Family;
                statement.family = parseFamily();
            } else if (isKeyword(t, "DATA")) {
                statement.kind = ScriptStatement::Kind::Data;
                statement.data = parseData();
            } else if (isKeyword(t, "VERSION")) {
                statement.kind = ScriptStatement::Kind::Version;
                statement.version = parseVersion();
            } else {
                fail(t.line, "unexpected " + describe(t) +
                                 "; expected BITMAPFAMILYEX, ICONFAMILYEX, DATA or VERSION");
            }
            script.statements.push_back(std::move(statement));
        }
        return script;
    }

private:
    [[noreturn]] static void fail(int line, std::string text) {
        throw ParseFailure{scriptError(line, std::move(text))};
    }

    static bool isKeyword(const Token& t, const char* keyword) {
        return t.kind == Token::Kind::Word && equalsIgnoringCase(t.text, keyword);
    }

    static std::string describe(const Token& t) {
        switch (t.kind) {
        case Token::Kind::End:
            return "end of script";
        case Token::Kind::String:
            return quoted('"', t.text);
        default:
            return quoted('\'', t.text);
        }
    }

    // Tokens are small views into the script, handed out by value: a token
    // kept by a caller stays valid however far the parser has read.
    Token peek() const { return current_; }
    Token take() {
        const Token t = current_;
        if (t.kind != Token::Kind::End) {
            previous_ = t;
            current_ = tokenizer_.next();
        }
        return t;
    }
    // The token taken last.
    const Token& previous() const { return previous_; }

    // The token after `after` must be the keyword; a miss is blamed on the line
    // of `after`, the line that lacks it.
    void expectKeyword(const Token& after, const char* keyword, const std::string& context) {
        const Token t = peek();
        if (!isKeyword(t, keyword))
            fail(after.line,
                 std::string("expected ") + keyword + " after " + context + ", found " + describe(t));
        take();
    }

    int expectNumber(const Token& after, const std::string& what, int minimum, int maximum) {
        const Token t = peek();
        if (t.kind != Token::Kind::Number)
            fail(after.line, "expected a number for " + what + ", found " + describe(t));
        take();
        const std::string_view s = t.text;
        const std::optional<long long> value = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')
                                                   ? wholeNumber(s.substr(2), 16)
                                                   : wholeNumber(s, 10);
        if (!value)
            fail(t.line, "bad number '" + printable(s) + "' for " + what);
        if (*value < minimum || *value > maximum)
            fail(t.line, what + " must be " + std::to_string(minimum) + " to " + std::to_string(maximum) +
                             ", not " + std::to_string(*value));
        return int(*value);
    }

    std::string expectString(const Token& after, const std::string& what) {
        const Token t = peek();
        if (t.kind != Token::Kind::String)
            fail(after.line, "expected " + what + " in double quotes, found " + describe(t));
        take();
        return std::string(t.text);
    }

    FamilyBlock parseFamily() {
        const Token head = take();
        FamilyBlock family;
        family.kind = isKeyword(head, "ICONFAMILYEX") ? FamilyBlock::Kind::Icon : FamilyBlock::Kind::Bitmap;
        family.line = head.line;
        std::string name(head.text); // a keyword: ASCII letters
        for (char& c : name)
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
        expectKeyword(head, "ID", name);
        family.id = expectNumber(previous(), "the resource ID", 0, 65535);
        const std::string block = name + " ID " + std::to_string(family.id);
        const Token open = peek();
        if (!isKeyword(open, "BEGIN") && open.kind != Token::Kind::OpenBrace)
            fail(previous().line, "expected BEGIN or { after " + block + ", found " + describe(open));
        take();
        std::map<int, int> seen; // depth * 2 + density -> line
        for (;;) {
            const Token t = peek();
            if (isKeyword(t, "END") || t.kind == Token::Kind::CloseBrace) {
                take();
                return family;
            }
            if (t.kind == Token::Kind::End)
                fail(family.line, block + " has no END");
            if (!isKeyword(t, "BITMAP"))
                fail(t.line, "unexpected " + describe(t) + " in " + name + "; expected BITMAP or END");
            BitmapLine member = parseBitmap();
            const int key = member.depth * 2 + (member.highDensity ? 1 : 0);
            if (const auto first = seen.find(key); first != seen.end())
                fail(member.line, "a second BITMAP with BPP " + std::to_string(member.depth) + " DENSITY " +
                                      (member.highDensity ? "2" : "1") + " in " + block +
                                      " (the first is at line " + std::to_string(first->second) + ")");
            seen.emplace(key, member.line);
            family.members.push_back(std::move(member));
        }
    }

    BitmapLine parseBitmap() {
        const Token head = take();
        BitmapLine member;
        member.line = head.line;
        const std::string file = expectString(head, "the picture file");
        if (file.find('\0') != std::string::npos)
            fail(head.line, "the picture file name holds a zero byte");
        member.file = scriptPath(file);
        if (member.file.empty())
            fail(head.line, "the picture file name is empty");
        bool haveDepth = false, haveDensity = false;
        for (;;) {
            const Token t = peek();
            if (t.kind != Token::Kind::Word || isKeyword(t, "BITMAP") || isKeyword(t, "END"))
                break;
            take();
            if (isKeyword(t, "BPP")) {
                const int depth = expectNumber(t, "BPP", 0, 65535);
                if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16)
                    fail(t.line, "BPP must be 1, 2, 4, 8 or 16, not " + std::to_string(depth));
                member.depth = depth;
                haveDepth = true;
            } else if (isKeyword(t, "DENSITY")) {
                const int density = expectNumber(t, "DENSITY", 0, 65535);
                if (density != 1 && density != 2 && density != 72 && density != 144)
                    fail(t.line, "DENSITY must be 1, 2, 72 or 144, not " + std::to_string(density));
                member.highDensity = density == 2 || density == 144;
                haveDensity = true;
            } else if (isKeyword(t, "COMPRESS")) {
                member.compress = true;
            } else if (isKeyword(t, "NOCOMPRESS")) {
                member.compress = false;
            } else if (isKeyword(t, "TRANSPARENTINDEX")) {
                member.transparentIndex = expectNumber(t, "TRANSPARENTINDEX", 0, 255);
            } else if (isKeyword(t, "TRANSPARENT")) {
                const int r = expectNumber(t, "the red of TRANSPARENT", 0, 255);
                const int g = expectNumber(t, "the green of TRANSPARENT", 0, 255);
                const int b = expectNumber(t, "the blue of TRANSPARENT", 0, 255);
                member.transparentColour = formats::opaqueColour(r, g, b);
            } else {
                fail(t.line, "unknown BITMAP option '" + printable(t.text) + "'");
            }
        }
        if (peek().kind == Token::Kind::Number || peek().kind == Token::Kind::String)
            fail(peek().line, "unexpected " + describe(peek()) + " in BITMAP line");
        if (!haveDepth)
            fail(member.line, "BITMAP needs BPP 1, 2, 4, 8 or 16");
        if (!haveDensity)
            member.highDensity = false; // a missing DENSITY is the handheld's low density
        return member;
    }

    DataStatement parseData() {
        const Token head = take();
        DataStatement data;
        data.line = head.line;
        data.type = expectString(head, "the resource type");
        if (data.type.size() != 4)
            fail(head.line,
                 "the DATA resource type must be four characters, not \"" + printable(data.type) + '"');
        expectKeyword(previous(), "ID", "DATA \"" + printable(data.type) + '"');
        data.id = expectNumber(previous(), "the resource ID", 0, 65535);
        const std::string file = expectString(previous(), "the data file");
        if (file.find('\0') != std::string::npos)
            fail(head.line, "the data file name holds a zero byte");
        data.file = scriptPath(file);
        if (data.file.empty())
            fail(head.line, "the data file name is empty");
        return data;
    }

    VersionStatement parseVersion() {
        const Token head = take();
        VersionStatement version;
        version.line = head.line;
        expectKeyword(head, "ID", "VERSION");
        version.id = expectNumber(previous(), "the resource ID", 0, 65535);
        version.text = expectString(previous(), "the version text");
        if (version.text.find('\0') != std::string::npos)
            fail(head.line, "the version text holds a zero byte");
        return version;
    }

    Tokenizer tokenizer_;
    Token current_;
    Token previous_;
};

} // namespace

std::optional<ParsedScript> ScriptParser::parse(std::string_view text, Diagnostics* diagnostics) {
    try {
        Parser parser(text);
        return parser.parseScript();
    } catch (const ParseFailure& failure) {
        if (diagnostics)
            diagnostics->push_back(failure.diagnostic);
        return std::nullopt;
    }
}

} // namespace vv::pdb
