#include "platform/Platform.h"

#include <QtGlobal>

namespace vv {
namespace {
Platform* current = nullptr;
}

Platform& platform() {
    Q_ASSERT_X(current, "vv::platform", "no platform installed");
    return *current;
}

Platform* setPlatform(Platform* p) {
    Platform* previous = current;
    current = p;
    return previous;
}

} // namespace vv
