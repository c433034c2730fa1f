// Any bytes as a database and as a bitmap family: the readers refuse or read,
// and a database they read writes back to the same bytes when its offsets were
// contiguous.
#include "compiler/BitmapDecoder.h"
#include "formats/PalmDatabase.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)vv::pdb::BitmapDecoder::decodeFamily(bytes, nullptr);
    if (const auto db = vv::formats::PalmDatabase::fromBytes(bytes, nullptr)) {
        const auto again = vv::formats::PalmDatabase::fromBytes(db->toBytes(), nullptr);
        if (!again || again->resources.size() != db->resources.size())
            std::abort();
        for (size_t i = 0; i < db->resources.size(); ++i)
            if (again->resources[i].bytes != db->resources[i].bytes)
                std::abort();
    }
    return 0;
}
