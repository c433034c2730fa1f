// Where the file dialogs open: each kind of file in the folder the user last
// picked one from in this run, the folder the program names the first time.
#pragma once

#include <QString>

namespace vv::ui {

enum class FileKind { SkinSheet, IconSheet, Database, Template, InstallTool };

// The folder a dialog for `kind` opens in: that of the last file of this kind
// picked in this run, else `firstFolder`.
QString dialogFolder(FileKind kind, const QString& firstFolder);
// Remembers the folder of `chosenFile` for `kind`; an empty path (a cancelled
// dialog) changes nothing.
void rememberDialogFolder(FileKind kind, const QString& chosenFile);
// Forgets every folder: a new set of windows starts with the program's folders.
void forgetDialogFolders();

// A file dialog's filter: files of the kind called `name` matching
// `patterns` (blank-separated), then all files, in the language in use.
QString fileDialogFilter(const QString& name, const QString& patterns);
// The filter of every picture format the loader reads.
QString pictureFileFilter();

} // namespace vv::ui
