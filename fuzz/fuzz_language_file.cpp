// Any bytes as a language file: the reader gives every line of the table and
// the messages picked out of them, without reading past the data.
#include "app/LanguageFile.h"
#include "app/LanguageMessages.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const vv::LanguageTexts texts = vv::readLanguageLines(bytes);
    // Every line is there, read from the data or the built-in English.
    if (texts.size() != vv::kLanguageLineCount)
        std::abort();
    if (vv::languageMessages(texts).size() != vv::kMessageCount)
        std::abort();
    return 0;
}
