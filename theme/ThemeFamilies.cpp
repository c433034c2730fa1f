#include "theme/ThemeFamilies.h"

#include <QtGlobal>

namespace vv {
namespace {

struct FamilyRow {
    int id;
    const char* code;
};

// Family ID and the piece it shows; the piece table holds everything else.
constexpr FamilyRow kBitmapFamilyRows[kThemeBitmapFamilyCount] = {
    {1000, "EE"}, {1010, "E0"}, {1020, "E1"}, {1030, "E2"}, {1040, "E3"}, {1050, "E4"}, {1060, "E5"},
    {1070, "E6"}, {1080, "E7"}, {1090, "E8"}, {1100, "E9"}, {1110, "EA"}, {1120, "EB"}, {1130, "EC"},
    {1140, "ED"}, {1500, "EF"}, {2030, "F4"}, {2031, "F5"}, {2060, "B0"}, {2061, "B1"}, {2062, "B2"},
    {2063, "B3"}, {2064, "B4"}, {2065, "B5"}, {2066, "B6"}, {2067, "B7"}, {2068, "B8"}, {2069, "B9"},
    {2070, "BA"}, {2071, "BB"}, {2072, "BC"}, {3000, "EG"}, {3010, "EH"}, {3011, "EI"}, {3020, "EJ"},
    {3021, "EK"}, {3030, "EL"}, {3031, "EM"}, {3200, "EN"}, {3201, "EO"}, {3210, "EP"}, {3211, "EQ"},
    {3220, "ER"}, {3221, "ES"}, {3230, "ET"}, {3231, "EU"}, {3240, "EV"}, {3241, "EW"}, {3600, "EX"},
    {3610, "EY"}, {3611, "EZ"}, {3620, "F0"}, {3621, "F1"}, {3630, "F2"}, {3631, "F3"}, {3120, "F7"},
    {3121, "F8"}, {2040, "F9"},
};

std::array<ThemeBitmapFamily, kThemeBitmapFamilyCount> buildFamilies() {
    std::array<ThemeBitmapFamily, kThemeBitmapFamilyCount> families{};
    for (int i = 0; i < kThemeBitmapFamilyCount; ++i) {
        const int index = themePieceIndex(QString::fromLatin1(kBitmapFamilyRows[i].code));
        Q_ASSERT(index >= 0);
        families[i] = {kBitmapFamilyRows[i].id, index};
    }
    return families;
}

} // namespace

const std::array<ThemeBitmapFamily, kThemeBitmapFamilyCount>& themeBitmapFamilies() {
    static const std::array<ThemeBitmapFamily, kThemeBitmapFamilyCount> families = buildFamilies();
    return families;
}

} // namespace vv
