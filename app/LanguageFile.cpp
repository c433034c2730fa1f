#include "app/LanguageFile.h"

#include "app/AnsiText.h"

#include <QFile>

#include <cstring>

namespace vv {
namespace {

using K = LanguageTargetKind;

// Line number, what it sets, on which window. The copies to the high-resolution
// windows are not lines of their own: they follow their twins when applied.
constexpr std::array<LanguageLine, LanguageLineCount> kLines{{
    {1, K::Member, "Form1", "LanguageName", -1},
    {2, K::Caption, "Form1", "Label5", -1},
    {3, K::Caption, "Form3", "Label4", -1},
    {4, K::Caption, "Form1", "SpeedButton2", -1},
    {5, K::Caption, "Form2", "Button1", -1},
    {6, K::Caption, "Form1", "SpeedButton1", -1},
    {7, K::Caption, "Form1", "Button2", -1},
    {8, K::Caption, "Form3", "Button4", -1},
    {9, K::WindowCaption, "Form2", "", -1},
    {10, K::WindowCaption, "Form1", "", -1},
    {11, K::Member, "Form1", "HideIconsCaption", -1},
    {12, K::Member, "Form1", "ShowIconsCaption", -1},
    {13, K::Caption, "Form1", "Label1", -1},
    {14, K::Caption, "Form1", "Button4", -1},
    {15, K::Caption, "Form2", "Button2", -1},
    {16, K::Caption, "Form1", "Button1", -1},
    {17, K::Caption, "Form3", "Button1", -1},
    {18, K::Caption, "Form3", "Label2", -1},
    {19, K::Caption, "Form1", "Button7", -1},
    {20, K::WindowCaption, "AboutBox", "", -1},
    {21, K::Caption, "Form3", "Label3", -1},
    {22, K::Caption, "Form1", "Button3", -1},
    {23, K::Caption, "Form1", "Button6", -1},
    {24, K::Caption, "Form3", "CheckBox1", -1},
    {25, K::Caption, "Form3", "CheckBox2", -1},
    {26, K::Caption, "Form3", "CheckBox3", -1},
    {27, K::Caption, "Form3", "CheckBox4", -1},
    {28, K::Caption, "Form1", "Label4", -1},
    {29, K::Caption, "Form3", "Button2", -1},
    {30, K::Message, "Form1", "Messages", 0},
    {31, K::Message, "Form1", "Messages", 1},
    {32, K::Message, "Form1", "Messages", 2},
    {33, K::Message, "Form1", "Messages", 3},
    {34, K::Message, "Form1", "Messages", 4},
    {35, K::Message, "Form1", "Messages", 5},
    {36, K::Message, "Form1", "Messages", 6},
    {37, K::Message, "Form1", "Messages", 7},
    {38, K::Message, "Form1", "Messages", 8},
    {39, K::Message, "Form1", "Messages", 9},
    {40, K::Message, "Form1", "Messages", 10},
    {41, K::Message, "Form1", "Messages", 11},
    {42, K::Message, "Form1", "Messages", 12},
    {43, K::Message, "Form1", "Messages", 13},
    {44, K::Message, "Form1", "Messages", 14},
    {45, K::Caption, "Form1", "Button8", -1},
    {46, K::Message, "Form1", "Messages", 15},
    {47, K::Caption, "Form3", "Label5", -1},
    {48, K::Caption, "Form3", "Button3", -1},
    {49, K::Message, "Form1", "Messages", 16},
    {50, K::DialogTitle, "Form3", "OpenDialog1", -1},
    {51, K::DialogTitle, "Form1", "OpenPictureDialog1", -1},
    {52, K::DialogTitle, "Form2", "OpenPictureDialog1", -1},
    {53, K::Message, "Form1", "Messages", 17},
    {54, K::Message, "Form1", "Messages", 18},
    {55, K::Message, "Form1", "Messages", 19},
    {56, K::Message, "Form1", "Messages", 20},
    {57, K::Caption, "Form1", "Button9", -1},
    {58, K::Member, "Form1", "HelpSuffix", -1},
    {59, K::Message, "Form1", "Messages", 21},
    {60, K::Ignored, "", "", -1},
    {61, K::Ignored, "", "", -1},
    {62, K::Ignored, "", "", -1},
    {63, K::Message, "Form1", "Messages", 22},
    {64, K::Message, "Form1", "Messages", 23},
    {65, K::Message, "Form1", "Messages", 24},
    {66, K::Message, "Form1", "Messages", 25},
    {67, K::Message, "Form1", "Messages", 26},
    {68, K::Message, "Form1", "Messages", 27},
    {69, K::Message, "Form1", "Messages", 28},
    {70, K::Message, "Form1", "Messages", 29},
    {71, K::Message, "Form1", "Messages", 30},
    {72, K::Message, "Form1", "Messages", 31},
    {73, K::Ignored, "", "", -1},
    {74, K::Ignored, "", "", -1},
    {75, K::Ignored, "", "", -1},
    {76, K::Ignored, "", "", -1},
    {77, K::Ignored, "", "", -1},
    {78, K::Ignored, "", "", -1},
    {79, K::Ignored, "", "", -1},
    {80, K::Ignored, "", "", -1},
    {81, K::Ignored, "", "", -1},
    {82, K::Ignored, "", "", -1},
    {83, K::Caption, "Form7", "Button1", -1},
    {84, K::Caption, "Form1", "SpeedButton3", -1},
    {85, K::Message, "Form1", "Messages", 32},
    {86, K::Message, "Form1", "Messages", 33},
    {87, K::Caption, "Form3", "CheckBox5", -1},
    {88, K::Caption, "Form3", "Label6", -1},
    {89, K::WindowCaption, "Form3", "", -1},
    {90, K::Message, "Form1", "Messages", 34},
    {91, K::Ignored, "", "", -1},
    {92, K::Caption, "Form1", "Label2", -1},
    {93, K::Caption, "Form1", "Label3", -1},
    {94, K::Caption, "Form1", "Button10", -1},
    {95, K::Member, "Form1", "SnapPromptCaption", -1},
    {96, K::Ignored, "", "", -1},
    {97, K::Message, "Form1", "Messages", 35},
    {98, K::Caption, "Form3", "CheckBox6", -1},
    {99, K::Caption, "Form3", "Panel1", -1},
    {100, K::Caption, "Form3", "Label13", -1},
    {101, K::Member, "Form1", "SnapBusyCaption", -1},
}};

constexpr bool linesAreNumberedInOrder() {
    for (int i = 0; i < LanguageLineCount; ++i)
        if (kLines[i].line != i + 1)
            return false;
    return true;
}
static_assert(linesAreNumberedInOrder());

} // namespace

const std::array<LanguageLine, LanguageLineCount>& languageLines() {
    return kLines;
}

int languageLineFor(const char* window, const char* control) {
    for (const LanguageLine& line : kLines)
        if (std::strcmp(line.window, window) == 0 && std::strcmp(line.control, control) == 0)
            return line.line;
    return 0;
}

int LanguageLineReader::nextByte() {
    if (position_ >= bytes_.size())
        return -1;
    return static_cast<unsigned char>(bytes_[position_++]);
}

QByteArray LanguageLineReader::ReadLine() {
    QByteArray text;
    for (;;) {
        const int byte = nextByte();
        if (byte == -1 || byte == 0xFF) {
            position_ = 0; // the end wraps round; the skip below eats the first byte
            break;
        }
        if (byte == '\r')
            break;
        text.append(static_cast<char>(byte));
    }
    nextByte();
    return text;
}

LanguageTexts readLanguageLines(const QByteArray& bytes) {
    LanguageLineReader reader(bytes);
    LanguageTexts texts;
    for (QString& text : texts)
        text = decodeAnsi(reader.ReadLine());
    return texts;
}

std::optional<LanguageTexts> readLanguageFile(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readLanguageLines(file.readAll());
}

} // namespace vv
