#include "ui/Dialogs.h"

#include <QtGlobal>

namespace vv {
namespace {
Dialogs* current = nullptr;
}

Dialogs& dialogs() {
    Q_ASSERT_X(current, "vv::dialogs", "no dialogs installed");
    return *current;
}

Dialogs* setDialogs(Dialogs* d) {
    Dialogs* previous = current;
    current = d;
    return previous;
}

} // namespace vv
