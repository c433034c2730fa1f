// What a file-open dialog is set up with: title, first folder, filter and the
// kind of file it picks. The dialog itself is the platform's, so tests can answer it.
#pragma once

#include "ui/FileDialogFolders.h"

#include <QString>

class TOpenPictureDialog {
public:
    explicit TOpenPictureDialog(vv::ui::FileKind kind) : Kind(kind) {}

    vv::ui::FileKind Kind;
    QString Title;
    QString InitialDir; // where the first dialog of this kind opens
    QString Filter;     // empty: every picture format the loader knows

    // Runs the dialog in the folder of the last file of this kind picked in
    // this run (InitialDir the first time); the chosen path, or an empty
    // string on cancel.
    QString Execute() const;
};

// The Options dialog's tool chooser is the same holder with its own filter.
using TOpenDialog = TOpenPictureDialog;
