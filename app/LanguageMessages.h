// The 36 Messages of a language file, picked out of its 101 lines by the
// language line table, for code that shows messages without the windows.
#pragma once

#include "app/LanguageFile.h"

#include <QStringList>

namespace vv {

// Messages[0..35] in index order.
QStringList languageMessages(const LanguageTexts& texts);

} // namespace vv
