#include "common/SystemScreens.h"

#include <QByteArray>

#include <iterator>

namespace vv {
namespace {

using P = SingleDensityPiece;

constexpr ScreenProfile kScreens[] = {
    // name, type, ID prefix, single-density piece, density 2, InFO, IdAT,
    // high icons, high theme window, caption suffix, Hi-Res Icons button
    {"160x160 Low", 1, "", P::Low, false, nullptr, "IdAT03E8.bin", false, false, "", false},
    {"320x320 OS5", 2, "", P::Low, true, "InFOOS5.bin", "IdATOS5.bin", true, false, " OS5 Low-Res", true},
    {"320x320 Sony", 3, "1", P::High, false, "InFOSONY.bin", "IdAT03E8.bin", false, true, " Sony Hi-Res",
     false},
    {"320x480 Sony", 3, "1", P::High, false, "InFOSONY.bin", "IdAT03E8.bin", false, true, " Sony Hi-Res",
     false},
};

static_assert(kScreens[0].screenType == kDefaultScreenType);

} // namespace

std::span<const ScreenProfile> screenProfiles() {
    return kScreens;
}

const ScreenProfile* screenProfileOf(int screenType) {
    for (const ScreenProfile& profile : kScreens)
        if (profile.screenType == screenType)
            return &profile;
    return nullptr;
}

int themeBitmapId(const ScreenProfile& screen, int familyId) {
    return (QByteArray(screen.bitmapIdPrefix) + QByteArray::number(familyId)).toInt();
}

const QStringList& systemScreenNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const ScreenProfile& profile : kScreens)
            list << QLatin1String(profile.name);
        return list;
    }();
    return names;
}

int systemScreenIndexOf(const QString& name) {
    return int(systemScreenNames().indexOf(name));
}

} // namespace vv
