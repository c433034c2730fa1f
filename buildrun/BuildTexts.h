// The English text of a piece that cannot be saved, kept apart until it
// becomes a row of the language table.
#pragma once

namespace vv::buildtext {

inline constexpr const char* kPieceNotSaved = "Cannot save %1: %2. Nothing was built.";

} // namespace vv::buildtext
