// What a file-open dialog is set up with: title, initial folder and filter.
// The dialog itself is the platform's, so tests can answer it.
#pragma once

#include "ui/Dialogs.h"

#include <QString>

class TOpenPictureDialog {
public:
    QString Title;
    QString InitialDir;
    QString Filter; // empty: every picture format the loader knows

    // Runs the dialog; the chosen path, or an empty string on cancel.
    QString Execute() const { return vv::dialogs().chooseOpenFile({Title, InitialDir, Filter}); }
};

// The Options dialog's tool chooser is the same holder with its own filter.
using TOpenDialog = TOpenPictureDialog;
