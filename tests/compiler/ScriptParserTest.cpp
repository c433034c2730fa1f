// The script language: what is accepted, and errors that name the wrong line.
#include "compiler/ScriptParser.h"

#include <QRgb>

#include <gtest/gtest.h>

using vv::pdb::Diagnostics;
using vv::pdb::ScriptParser;
using vv::pdb::ScriptStatement;

namespace {

std::string firstMessage(const Diagnostics& diagnostics) {
    return diagnostics.empty() ? std::string() : diagnostics[0].format("s");
}

TEST(ScriptParser, ReadsTheProgramsScriptShape) {
    // CR LF lines, blanks before line ends, no line end after the last line.
    const std::string text =
        "BITMAPFAMILYEX ID 1000\r\n BEGIN\r\n"
        "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 1 DENSITY 1 \r\n"
        "  BITMAP \"ThmeRsrc/Tbmp03EE.bmp\" BPP 8 DENSITY 1 COMPRESS TRANSPARENTINDEX 210\r\n"
        "  BITMAP \"ThmeRsrc/Tbmp04EE.bmp\" BPP 16 DENSITY 2 COMPRESS TRANSPARENT 0 255 0\r\n"
        " END\r\n\r\n"
        "ICONFAMILYEX ID 10000\r\n BEGIN\r\n END\r\n\r\n"
        "\r\nDATA \"code\" ID 1 \"ThmeRsrc/code0001.bin\"\r\nVERSION ID 1000 \"1.0\"";
    Diagnostics diagnostics;
    const auto script = ScriptParser::parse(text, &diagnostics);
    ASSERT_TRUE(script) << firstMessage(diagnostics);
    ASSERT_EQ(script->statements.size(), 4u);
    const auto& family = script->statements[0].family;
    EXPECT_EQ(family.id, 1000);
    ASSERT_EQ(family.members.size(), 3u);
    EXPECT_EQ(family.members[0].line, 3);
    EXPECT_EQ(family.members[0].depth, 1);
    EXPECT_FALSE(family.members[0].compress);
    EXPECT_EQ(family.members[1].transparentIndex, 210);
    EXPECT_TRUE(family.members[2].highDensity);
    EXPECT_EQ(family.members[2].transparentColour, qRgb(0, 255, 0));
    EXPECT_EQ(script->statements[1].family.kind, vv::pdb::FamilyBlock::Kind::Icon);
    EXPECT_TRUE(script->statements[1].family.members.empty());
    EXPECT_EQ(script->statements[2].data.type, "code");
    EXPECT_EQ(script->statements[2].data.line, 13);
    EXPECT_EQ(script->statements[3].version.text, "1.0");
    EXPECT_EQ(script->statements[3].version.line, 14);
}

TEST(ScriptParser, AcceptsTheLanguagesOtherSpellings) {
    // Lower case, braces, comments, lone CR and LF line ends, backslashes, 72/144.
    const std::string text = "// leading comment\n"
                             "bitmapfamilyex id 0x10 /* spans\r two lines */ {\r"
                             "  bitmap \"Thme Rsrc\\sub\\p.bmp\" density 144 bpp 4 nocompress\n"
                             "  Bitmap \"p.bmp\" BPP 2 Density 72 compress // trailing\n"
                             "}";
    Diagnostics diagnostics;
    const auto script = ScriptParser::parse(text, &diagnostics);
    ASSERT_TRUE(script) << firstMessage(diagnostics);
    const auto& family = script->statements[0].family;
    EXPECT_EQ(family.id, 16);
    ASSERT_EQ(family.members.size(), 2u);
    EXPECT_EQ(family.members[0].file, "Thme Rsrc/sub/p.bmp");
    EXPECT_TRUE(family.members[0].highDensity);
    EXPECT_EQ(family.members[0].line, 4);
    EXPECT_FALSE(family.members[1].highDensity);
    EXPECT_TRUE(family.members[1].compress);
    EXPECT_EQ(family.members[1].line, 5);
}

TEST(ScriptParser, ErrorsNameTheLineThatIsWrong) {
    struct Case {
        const char* text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"BITMAPFAMILYEX ID 1\r\nBEGIN\r\n BITMAP \"a.bmp\" BPP 3 DENSITY 1\r\nEND", 3,
         "BPP must be 1, 2, 4, 8 or 16"},
        {"BITMAPFAMILYEX ID 1\nBEGIN\n BITMAP \"a.bmp\" BPP 8 DENSITY 3\nEND", 3, "DENSITY must be"},
        {"BITMAPFAMILYEX ID 1\nBEGIN\n BITMAP \"a.bmp\" BPP\nEND", 3, "expected a number for BPP"},
        {"BITMAPFAMILYEX ID 1\nBEGIN\n BITMAP \"a.bmp\" DENSITY 1\nEND", 3, "BITMAP needs BPP"},
        {"BITMAPFAMILYEX ID 1\nBEGIN\n BITMAP \"a.bmp\" BPP 8 TRANSPARENTINDEX 256\nEND", 3,
         "TRANSPARENTINDEX must be 0 to 255"},
        {"BITMAPFAMILYEX ID 1\nBEGIN\n BITMAP \"a.bmp\" BPP 16 TRANSPARENT 0 255\nEND", 3,
         "the blue of TRANSPARENT"},
        {"BITMAPFAMILYEX ID 1\nBEGIN\n BITMAP \"a.bmp\" BPP 8 FORCECOMPRESS\nEND", 3,
         "unknown BITMAP option 'FORCECOMPRESS'"},
        {"BITMAPFAMILYEX ID 1\nBEGIN\n BITMAP \"a.bmp\" BPP 8 7\nEND", 3, "unexpected '7' in BITMAP line"},
        {"BITMAPFAMILYEX ID 1x\nBEGIN\nEND", 1, "bad number '1x'"},
        {"BITMAPFAMILYEX ID 65536\nBEGIN\nEND", 1, "the resource ID must be 0 to 65535"},
        {"BITMAPFAMILYEX 1000\nBEGIN\nEND", 1, "expected ID after BITMAPFAMILYEX"},
        {"BITMAPFAMILYEX ID 1\n\nBITMAP \"a.bmp\" BPP 8\nEND", 1, "expected BEGIN or {"},
        {"\nBITMAPFAMILYEX ID 1\nBEGIN\n BITMAP \"a.bmp\" BPP 8\n", 2, "has no END"},
        {"BITMAPFAMILYEX ID 1\nBEGIN\n BITMAP \"a.bmp\" BPP 8\n BITMAP \"b.bmp\" BPP 8 DENSITY 1\nEND", 4,
         "a second BITMAP with BPP 8 DENSITY 1"},
        {"BITMAPFAMILYEX ID 1\nBEGIN\n BITMAP \"a.bmp\n BPP 8\nEND", 3, "not closed on its line"},
        {"\n/* never closed\n\n", 2, "never closed"},
        {"\n\nBITMAPX ID 1", 3, "unexpected 'BITMAPX'"},
        {"DATA \"code\" ID 1 \"a.bin\"\n#include \"x.h\"", 2, "unexpected character '#'"},
        {"DATA \"cod\" ID 1 \"a.bin\"", 1, "four characters"},
        {"DATA \"code\" ID 1\n\nVERSION ID 1 \"1\"", 1, "expected the data file"},
        {"VERSION 1000 \"1.0\"", 1, "expected ID after VERSION"},
        {"BITMAPFAMILYEX ID 1 BEGIN BITMAP \"\" BPP 8 END", 1, "file name is empty"},
    };
    for (const Case& c : cases) {
        Diagnostics diagnostics;
        EXPECT_FALSE(ScriptParser::parse(c.text, &diagnostics)) << c.text;
        ASSERT_EQ(diagnostics.size(), 1u) << c.text;
        EXPECT_EQ(diagnostics[0].line, c.line) << c.text;
        EXPECT_NE(diagnostics[0].text.find(c.message), std::string::npos)
            << c.text << "\n  gave: " << diagnostics[0].text;
    }
}

} // namespace
