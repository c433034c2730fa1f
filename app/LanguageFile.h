// Language files Language/vkdm_<name>.lng: 101 lines of Windows-1252 text in a
// fixed order, and the one table that says where each line goes.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace vv {

inline constexpr int LanguageLineCount = 101;
inline constexpr int MessageCount = 36;

enum class LanguageTargetKind {
    Ignored,       // read and dropped, kept so the lines after it stay in place
    Caption,       // the caption of control `control` on window `window`
    WindowCaption, // the title of window `window`
    DialogTitle,   // the title of file dialog `control` on window `window`
    Member,        // text member `control` of the main window
    Message,       // Messages[messageIndex] of the main window
};

struct LanguageLine {
    int line; // 1-based, as in the file
    LanguageTargetKind kind;
    const char* window;  // global instance name: "Form1", "Form2", "Form3", "AboutBox"
    const char* control; // control or member name
    int messageIndex;    // for Message lines, else -1
};

// Line N of a language file is languageLines()[N - 1].
const std::array<LanguageLine, LanguageLineCount>& languageLines();
// The line whose target is window `window`, control or member `control`; 0 when none.
int languageLineFor(const char* window, const char* control);

// Reads lines from a language file held in memory, by the file's rules: a line
// ends at CR and the byte after the CR is skipped; a lone LF is text; 0xFF and
// the end of the data end the line and rewind to the start, whose first byte is
// then skipped as if it were the LF.
class LanguageLineReader {
public:
    explicit LanguageLineReader(QByteArray bytes) : bytes_(std::move(bytes)) {}
    // The next line as raw bytes.
    QByteArray ReadLine();

private:
    int nextByte(); // -1 at the end
    QByteArray bytes_;
    qsizetype position_ = 0;
};

using LanguageTexts = std::array<QString, LanguageLineCount>;

// The 101 lines of `bytes`, decoded.
LanguageTexts readLanguageLines(const QByteArray& bytes);
// The 101 lines of the file; nothing when it cannot be opened.
std::optional<LanguageTexts> readLanguageFile(const QString& path);

} // namespace vv
