#include "compiler/ScriptParser.h"

#include "app/AnsiText.h"

#include <QSet>

#include <vector>

namespace vv::pdb {
namespace {

struct Token {
    enum class Kind { Word, Number, String, OpenBrace, CloseBrace, End };
    Kind kind = Kind::End;
    int line = 0;
    QByteArray text; // word or number spelling, or the string's bytes
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

QString printable(const QByteArray& bytes) {
    QString text = QString::fromLatin1(bytes.left(40));
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('?');
    return bytes.size() > 40 ? text + QStringLiteral("...") : text;
}

// Splits the script into tokens; CR LF, LF and a lone CR each end one line.
std::vector<Token> tokenize(const QByteArray& text) {
    std::vector<Token> tokens;
    const qsizetype n = text.size();
    int line = 1;
    qsizetype i = 0;
    auto lineEnd = [&](qsizetype at) -> int { // length of a line end at `at`, 0 if none
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
                throw ParseFailure{
                    scriptError(opened, QStringLiteral("comment opened with /* is never closed"))};
        } else if (c == '"') {
            const int opened = line;
            qsizetype j = i + 1;
            while (j < n && text[j] != '"' && !lineEnd(j))
                ++j;
            if (j >= n || text[j] != '"')
                throw ParseFailure{
                    scriptError(opened, QStringLiteral("text in double quotes is not closed on its line"))};
            tokens.push_back({Token::Kind::String, line, text.mid(i + 1, j - i - 1)});
            i = j + 1;
        } else if (c == '{' || c == '}') {
            tokens.push_back(
                {c == '{' ? Token::Kind::OpenBrace : Token::Kind::CloseBrace, line, QByteArray(1, c)});
            ++i;
        } else if (isWordStart(c)) {
            qsizetype j = i;
            while (j < n && isWordPart(text[j]))
                ++j;
            tokens.push_back({Token::Kind::Word, line, text.mid(i, j - i)});
            i = j;
        } else if (isDigit(c) || (c == '-' && i + 1 < n && isDigit(text[i + 1]))) {
            qsizetype j = i + 1;
            while (j < n && isWordPart(text[j]))
                ++j;
            tokens.push_back({Token::Kind::Number, line, text.mid(i, j - i)});
            i = j;
        } else {
            throw ParseFailure{scriptError(
                line, QStringLiteral("unexpected character '%1'").arg(printable(QByteArray(1, c))))};
        }
    }
    tokens.push_back({Token::Kind::End, line, {}});
    return tokens;
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    ParsedScript parseScript() {
        ParsedScript script;
        while (peek().kind != Token::Kind::End) {
            const Token& t = peek();
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
                fail(t.line,
                     QStringLiteral("unexpected %1; expected BITMAPFAMILYEX, ICONFAMILYEX, DATA or VERSION")
                         .arg(describe(t)));
            }
            script.statements.push_back(std::move(statement));
        }
        return script;
    }

private:
    [[noreturn]] static void fail(int line, const QString& text) {
        throw ParseFailure{scriptError(line, text)};
    }

    static bool isKeyword(const Token& t, const char* keyword) {
        return t.kind == Token::Kind::Word && t.text.compare(keyword, Qt::CaseInsensitive) == 0;
    }

    static QString describe(const Token& t) {
        switch (t.kind) {
        case Token::Kind::End:
            return QStringLiteral("end of script");
        case Token::Kind::String:
            return QStringLiteral("\"%1\"").arg(printable(t.text));
        default:
            return QStringLiteral("'%1'").arg(printable(t.text));
        }
    }

    const Token& peek() const { return m_tokens[m_pos]; }
    const Token& take() {
        const Token& t = m_tokens[m_pos];
        if (t.kind != Token::Kind::End)
            ++m_pos;
        return t;
    }

    // The token after `after` must be the keyword; a miss is blamed on the line
    // of `after`, the line that lacks it.
    void expectKeyword(const Token& after, const char* keyword, const QString& context) {
        const Token& t = peek();
        if (!isKeyword(t, keyword))
            fail(after.line, QStringLiteral("expected %1 after %2, found %3")
                                 .arg(QLatin1String(keyword), context, describe(t)));
        take();
    }

    int expectNumber(const Token& after, const QString& what, int minimum, int maximum) {
        const Token& t = peek();
        if (t.kind != Token::Kind::Number)
            fail(after.line, QStringLiteral("expected a number for %1, found %2").arg(what, describe(t)));
        take();
        bool ok = false;
        qlonglong value = 0;
        const QByteArray& s = t.text;
        if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
            value = s.mid(2).toLongLong(&ok, 16);
        else
            value = s.toLongLong(&ok, 10);
        if (!ok)
            fail(t.line, QStringLiteral("bad number '%1' for %2").arg(printable(s), what));
        if (value < minimum || value > maximum)
            fail(
                t.line,
                QStringLiteral("%1 must be %2 to %3, not %4").arg(what).arg(minimum).arg(maximum).arg(value));
        return int(value);
    }

    QByteArray expectString(const Token& after, const QString& what) {
        const Token& t = peek();
        if (t.kind != Token::Kind::String)
            fail(after.line, QStringLiteral("expected %1 in double quotes, found %2").arg(what, describe(t)));
        take();
        return t.text;
    }

    static QString pathOf(const QByteArray& bytes) {
        // Scripts are Windows-1252 text; a valid UTF-8 name is taken as such so
        // that non-ASCII file names typed on this system still match.
        QString path = QString::fromUtf8(bytes);
        if (path.contains(QChar::ReplacementCharacter))
            path = decodeAnsi(bytes);
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return path;
    }

    FamilyBlock parseFamily() {
        const Token& head = take();
        FamilyBlock family;
        family.kind = isKeyword(head, "ICONFAMILYEX") ? FamilyBlock::Kind::Icon : FamilyBlock::Kind::Bitmap;
        family.line = head.line;
        const QString name = QString::fromLatin1(head.text).toUpper();
        expectKeyword(head, "ID", name);
        family.id = expectNumber(m_tokens[m_pos - 1], QStringLiteral("the resource ID"), 0, 65535);
        const Token& open = peek();
        if (!isKeyword(open, "BEGIN") && open.kind != Token::Kind::OpenBrace)
            fail(m_tokens[m_pos - 1].line, QStringLiteral("expected BEGIN or { after %1 ID %2, found %3")
                                               .arg(name)
                                               .arg(family.id)
                                               .arg(describe(open)));
        take();
        QHash<int, int> seen; // depth * 2 + density -> line
        for (;;) {
            const Token& t = peek();
            if (isKeyword(t, "END") || t.kind == Token::Kind::CloseBrace) {
                take();
                return family;
            }
            if (t.kind == Token::Kind::End)
                fail(family.line, QStringLiteral("%1 ID %2 has no END").arg(name).arg(family.id));
            if (!isKeyword(t, "BITMAP"))
                fail(t.line,
                     QStringLiteral("unexpected %1 in %2; expected BITMAP or END").arg(describe(t), name));
            BitmapLine member = parseBitmap();
            const int key = member.depth * 2 + (member.highDensity ? 1 : 0);
            if (seen.contains(key))
                fail(member.line,
                     QStringLiteral(
                         "a second BITMAP with BPP %1 DENSITY %2 in %3 ID %4 (the first is at line %5)")
                         .arg(member.depth)
                         .arg(member.highDensity ? 2 : 1)
                         .arg(name)
                         .arg(family.id)
                         .arg(seen.value(key)));
            seen.insert(key, member.line);
            family.members.push_back(std::move(member));
        }
    }

    BitmapLine parseBitmap() {
        const Token& head = take();
        BitmapLine member;
        member.line = head.line;
        const QByteArray file = expectString(head, QStringLiteral("the picture file"));
        if (file.contains('\0'))
            fail(head.line, QStringLiteral("the picture file name holds a zero byte"));
        member.file = pathOf(file);
        if (member.file.isEmpty())
            fail(head.line, QStringLiteral("the picture file name is empty"));
        bool haveDepth = false, haveDensity = false;
        for (;;) {
            const Token& t = peek();
            if (t.kind != Token::Kind::Word || isKeyword(t, "BITMAP") || isKeyword(t, "END"))
                break;
            take();
            if (isKeyword(t, "BPP")) {
                const int depth = expectNumber(t, QStringLiteral("BPP"), 0, 65535);
                if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16)
                    fail(t.line, QStringLiteral("BPP must be 1, 2, 4, 8 or 16, not %1").arg(depth));
                member.depth = depth;
                haveDepth = true;
            } else if (isKeyword(t, "DENSITY")) {
                const int density = expectNumber(t, QStringLiteral("DENSITY"), 0, 65535);
                if (density != 1 && density != 2 && density != 72 && density != 144)
                    fail(t.line, QStringLiteral("DENSITY must be 1, 2, 72 or 144, not %1").arg(density));
                member.highDensity = density == 2 || density == 144;
                haveDensity = true;
            } else if (isKeyword(t, "COMPRESS")) {
                member.compress = true;
            } else if (isKeyword(t, "NOCOMPRESS")) {
                member.compress = false;
            } else if (isKeyword(t, "TRANSPARENTINDEX")) {
                member.transparentIndex = expectNumber(t, QStringLiteral("TRANSPARENTINDEX"), 0, 255);
            } else if (isKeyword(t, "TRANSPARENT")) {
                const int r = expectNumber(t, QStringLiteral("the red of TRANSPARENT"), 0, 255);
                const int g = expectNumber(t, QStringLiteral("the green of TRANSPARENT"), 0, 255);
                const int b = expectNumber(t, QStringLiteral("the blue of TRANSPARENT"), 0, 255);
                member.transparentColour = qRgb(r, g, b);
            } else {
                fail(t.line, QStringLiteral("unknown BITMAP option '%1'").arg(printable(t.text)));
            }
        }
        if (peek().kind == Token::Kind::Number || peek().kind == Token::Kind::String)
            fail(peek().line, QStringLiteral("unexpected %1 in BITMAP line").arg(describe(peek())));
        if (!haveDepth)
            fail(member.line, QStringLiteral("BITMAP needs BPP 1, 2, 4, 8 or 16"));
        if (!haveDensity)
            member.highDensity = false; // a missing DENSITY is the handheld's low density
        return member;
    }

    DataStatement parseData() {
        const Token& head = take();
        DataStatement data;
        data.line = head.line;
        data.type = expectString(head, QStringLiteral("the resource type"));
        if (data.type.size() != 4)
            fail(head.line, QStringLiteral("the DATA resource type must be four characters, not \"%1\"")
                                .arg(printable(data.type)));
        expectKeyword(m_tokens[m_pos - 1], "ID", QStringLiteral("DATA \"%1\"").arg(printable(data.type)));
        data.id = expectNumber(m_tokens[m_pos - 1], QStringLiteral("the resource ID"), 0, 65535);
        const QByteArray file = expectString(m_tokens[m_pos - 1], QStringLiteral("the data file"));
        if (file.contains('\0'))
            fail(head.line, QStringLiteral("the data file name holds a zero byte"));
        data.file = pathOf(file);
        if (data.file.isEmpty())
            fail(head.line, QStringLiteral("the data file name is empty"));
        return data;
    }

    VersionStatement parseVersion() {
        const Token& head = take();
        VersionStatement version;
        version.line = head.line;
        expectKeyword(head, "ID", QStringLiteral("VERSION"));
        version.id = expectNumber(m_tokens[m_pos - 1], QStringLiteral("the resource ID"), 0, 65535);
        version.text = expectString(m_tokens[m_pos - 1], QStringLiteral("the version text"));
        if (version.text.contains('\0'))
            fail(head.line, QStringLiteral("the version text holds a zero byte"));
        return version;
    }

    std::vector<Token> m_tokens;
    size_t m_pos = 0;
};

} // namespace

std::optional<ParsedScript> ScriptParser::parse(const QByteArray& text, Diagnostics* diagnostics) {
    try {
        Parser parser(tokenize(text));
        return parser.parseScript();
    } catch (const ParseFailure& failure) {
        if (diagnostics)
            diagnostics->push_back(failure.diagnostic);
        return std::nullopt;
    }
}

} // namespace vv::pdb
