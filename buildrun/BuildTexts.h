// English texts of the build run's newer failures, kept together until they
// become rows of the language table.
#pragma once

namespace vv::buildtext {

inline constexpr const char* kAnotherBuildRunning =
    "Cannot build: another build is running in this folder. Wait until it has finished, then build again.";
inline constexpr const char* kLockNotTaken =
    "Cannot build: the lock file %1 cannot be created (%2). Check that the folder is writable.";
inline constexpr const char* kChooseScreen =
    "No System Screen is chosen (ScreenType %1). Choose the System Screen in Options, press Save, then "
    "build again.";
inline constexpr const char* kCompilerCrashed =
    "The resource compiler crashed with signal %1 (%2). Nothing was built. Command: %3";
inline constexpr const char* kCompilerTimedOut =
    "The resource compiler did not finish within %1 seconds and was stopped. Nothing was built; an older "
    "database was left as it was.";
inline constexpr const char* kBuildCancelled =
    "The build was cancelled and the resource compiler stopped. Nothing was built; an older database was "
    "left as it was.";
inline constexpr const char* kNoNewDatabase =
    " (the compiler ended without writing a new database; an older one was left as it was)";
inline constexpr const char* kNotADatabase = "%1 is not a resource database of type %2 and creator %3 "
                                             "holding resources";
inline constexpr const char* kPieceNotSaved = "Cannot save %1: %2. Nothing was built.";

} // namespace vv::buildtext
