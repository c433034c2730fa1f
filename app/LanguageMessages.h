// The 36 Messages of a language file, picked out of its 101 lines by the
// language line table, for code that shows messages without the windows.
#pragma once

#include "app/LanguageFile.h"

#include <QStringList>

namespace vv {

// Messages[0..35] in index order.
QStringList languageMessages(const LanguageTexts& texts);

// The built-in English text of `message`.
QString builtInMessage(Message message);
// The text of `message` in `messages` (Messages in index order); the built-in
// English text when the list has none for it (empty, or made before the
// message existed).
QString messageOrBuiltIn(const QStringList& messages, Message message);
// A message about `count` things: `one` when the count is 1, `many` otherwise,
// each from `messages` as messageOrBuiltIn gives it, with the count put in
// where the text names it (%1).
QString countedMessage(const QStringList& messages, Message one, Message many, qsizetype count);

} // namespace vv
