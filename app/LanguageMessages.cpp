#include "app/LanguageMessages.h"

namespace vv {

QStringList languageMessages(const LanguageTexts& texts) {
    QStringList messages(MessageCount);
    for (const LanguageLine& line : languageLines())
        if (line.kind == LanguageTargetKind::Message)
            messages[line.messageIndex] = texts[line.line - 1];
    return messages;
}

} // namespace vv
