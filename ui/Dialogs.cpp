#include "ui/Dialogs.h"

#include "platform/Installed.h"

namespace vv {

Dialogs& dialogs() {
    return Installed<Dialogs>::get();
}

Dialogs* setDialogs(Dialogs* d) {
    return Installed<Dialogs>::set(d);
}

} // namespace vv
