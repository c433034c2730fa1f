// Any bytes as a language file: the reader gives its 101 lines and the
// messages picked out of them without reading past the data.
#include "app/LanguageFile.h"
#include "app/LanguageMessages.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const vv::LanguageTexts texts = vv::readLanguageLines(bytes);
    // A line ends at the latest where the data does (the reader then starts
    // over from the top, so lines may repeat, but none is longer than the file).
    for (const QString& text : texts) {
        if (text.size() > bytes.size())
            std::abort();
    }
    (void)vv::languageMessages(texts);
    return 0;
}
