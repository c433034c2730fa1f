// The compiler's texts are UTF-8 (messages, file names as the system takes
// them); the script's own text and the database name are Windows-1252. These
// turn one into the other by the program's code page rules (formats/Windows1252.h).
#pragma once

#include <string>
#include <string_view>

namespace vv::pdb {

// Windows-1252 bytes as UTF-8.
std::string ansiToUtf8(std::string_view bytes);
// UTF-8 text as Windows-1252: a character the code page lacks becomes '?',
// one beyond the first plane "??" (as the program's own encoder counts UTF-16
// units), each byte that is no valid UTF-8 '?'. A leading byte-order mark is
// dropped.
std::string utf8ToAnsi(std::string_view text);
// Latin-1 bytes as UTF-8, for quoting script bytes in messages.
std::string latin1ToUtf8(std::string_view bytes);
// A script's file name: taken as it is when it is valid UTF-8 (a leading
// byte-order mark dropped), else read as Windows-1252; '\' turned into '/'.
std::string scriptPath(std::string_view bytes);

} // namespace vv::pdb
