#include "ui/TOpenPictureDialog.h"

#include "ui/Dialogs.h"

QString TOpenPictureDialog::Execute() const {
    vv::FileDialogRequest request;
    request.title = Title;
    request.directory = vv::ui::dialogFolder(Kind, InitialDir);
    request.filter = Filter.isEmpty() ? vv::ui::pictureFileFilter() : Filter;
    const QString chosen = vv::dialogs().chooseOpenFile(request);
    vv::ui::rememberDialogFolder(Kind, chosen);
    return chosen;
}
