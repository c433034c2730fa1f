// The texts of the build checks, the sheet size checks, the build result and
// the install checks, by name: each is a language line; these give its
// built-in English text.
#pragma once

#include "app/LanguageMessages.h"

namespace vv::checktexts {

inline QString builtIn(Message message) {
    return messageOrBuiltIn({}, message);
}

} // namespace vv::checktexts
