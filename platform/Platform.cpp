#include "platform/Platform.h"

#include "platform/Installed.h"

namespace vv {

Platform& platform() {
    return Installed<Platform>::get();
}

Platform* setPlatform(Platform* p) {
    return Installed<Platform>::set(p);
}

} // namespace vv
