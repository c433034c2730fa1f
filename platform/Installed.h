// The one implementation of an interface that the program reaches from
// anywhere: installed by the program's main (or a test) and never owned here.
#pragma once

#include <QtGlobal>

#include <utility>

namespace vv {

template <typename Interface> class Installed {
public:
    static Interface& get() {
        Q_ASSERT_X(current_, "vv::Installed", "nothing installed");
        return *current_;
    }
    // Installs `p` and returns what was installed before.
    static Interface* set(Interface* p) { return std::exchange(current_, p); }

private:
    static inline Interface* current_ = nullptr;
};

} // namespace vv
