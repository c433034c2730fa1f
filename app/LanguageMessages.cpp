#include "app/LanguageMessages.h"

namespace vv {

QStringList languageMessages(const LanguageTexts& texts) {
    QStringList messages(kMessageCount);
    for (const LanguageLine& line : languageLines())
        if (line.kind == LanguageTargetKind::Message)
            messages[line.messageIndex] = texts[line.line - 1];
    return messages;
}

QString builtInMessage(Message message) {
    return builtInLanguageLines().value(languageLineOf(message) - 1);
}

QString messageOrBuiltIn(const QStringList& messages, Message message) {
    const QString text = messages.value(indexOf(message));
    return text.isEmpty() ? builtInMessage(message) : text;
}

QString countedMessage(const QStringList& messages, Message one, Message many, qsizetype count) {
    const QString text = messageOrBuiltIn(messages, count == 1 ? one : many);
    return text.contains(QLatin1String("%1")) ? text.arg(count) : text;
}

} // namespace vv
