// Any bytes as vkdm_settings.cfg: the reader never reads past what it has, the
// writer always gives 370 bytes, and what it writes reads back as the record
// it came from (texts cut to their fields on the first write, so the check is
// made from the second round on).
#include "app/SettingsFile.h"
#include "buildrun/SettingsBuildOptions.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const vv::SettingsRecord read = vv::decodeSettings(bytes, vv::SettingsRecord{});
    const QByteArray written = vv::encodeSettings(read);
    if (written.size() != vv::kSettingsFileSize)
        std::abort();
    const vv::SettingsRecord again = vv::decodeSettings(written, vv::SettingsRecord{});
    const QByteArray rewritten = vv::encodeSettings(again);
    if (rewritten != written || vv::decodeSettings(rewritten, vv::SettingsRecord{}) != again)
        std::abort();
    (void)vv::settingsRangeProblem(read);
    (void)vv::buildOptionsFromSettings(read);
    return 0;
}
