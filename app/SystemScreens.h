// The SystemScreen list: the handheld screens a theme can be built for, in the
// order the Options dialog lists them and the settings file stores their index.
#pragma once

#include <QStringList>

namespace vv {

// "160x160 Low", "320x320 OS5", "320x320 Sony", "320x480 Sony".
const QStringList& systemScreenNames();

// The list position of a SystemScreen text, or -1 when it is none of them.
int systemScreenIndexOf(const QString& name);

} // namespace vv
