#include "platform/Interrupts.h"

#include <atomic>
#include <csignal>

namespace vv {
namespace {

std::atomic<int> requested{0};
static_assert(std::atomic<int>::is_always_lock_free, "the handler may only touch a lock-free flag");

extern "C" void onInterrupt(int signalNumber) {
    int none = 0;
    if (!requested.compare_exchange_strong(none, signalNumber) && none == signalNumber) {
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
    }
}

} // namespace

void catchInterrupts() {
    static const bool installed = [] {
#ifdef SIGHUP
        for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
#else
        for (const int signalNumber : {SIGINT, SIGTERM})
#endif
            std::signal(signalNumber, onInterrupt);
        return true;
    }();
    (void)installed;
}

int interruptSignal() {
    return requested.load();
}

void clearInterrupt() {
    requested.store(0);
}

} // namespace vv
