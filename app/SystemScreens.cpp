#include "app/SystemScreens.h"

namespace vv {

const QStringList& systemScreenNames() {
    static const QStringList names{QStringLiteral("160x160 Low"), QStringLiteral("320x320 OS5"),
                                   QStringLiteral("320x320 Sony"), QStringLiteral("320x480 Sony")};
    return names;
}

int systemScreenIndexOf(const QString& name) {
    return int(systemScreenNames().indexOf(name));
}

} // namespace vv
