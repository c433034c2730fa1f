// How a command ends when it cannot do its work: an exit code and the lines to
// print, handed back to the caller as a value so every path out of a command
// is visible where it is called.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
// An unknown option, a missing or extra argument, a value that can never be
// right: the command line itself is wrong, nothing was looked at.
inline constexpr int kExitUsage = 2;

struct Failure {
    int exitCode = kExitFailure;
    QStringList messages; // each printed as one "error:" message
};

inline Failure failure(const QString& message) {
    return {kExitFailure, {message}};
}
inline Failure usageError(const QString& message) {
    return {kExitUsage, {message}};
}

// Nothing when a step went well.
using Check = std::optional<Failure>;

// A step's value, or why there is none.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failed) : failure_(std::move(failed)) {}

    bool ok() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const Failure& failure() const { return failure_; }

private:
    std::optional<T> value_;
    Failure failure_;
};

} // namespace cli
