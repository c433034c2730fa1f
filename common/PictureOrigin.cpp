#include "common/PictureOrigin.h"

#include <algorithm>
#include <atomic>

namespace vv {
namespace {

std::atomic<quint64> lastStamp{0};
std::atomic<quint64> momentStamp{0}; // 0: no moment held

bool isUsersOwn(PictureSource source) {
    return source != PictureSource::BuiltIn && source != PictureSource::DatabaseWithout;
}

} // namespace

PictureOrigin PictureOrigin::fresh(PictureSource source) {
    return {source, source == PictureSource::BuiltIn ? 0 : nextPictureStamp()};
}

quint64 nextPictureStamp() {
    if (const quint64 held = momentStamp.load())
        return held;
    return ++lastStamp;
}

OnePictureMoment::OnePictureMoment() : outer_(momentStamp.load()) {
    if (outer_ == 0)
        momentStamp = ++lastStamp;
}

OnePictureMoment::~OnePictureMoment() {
    momentStamp = outer_;
}

void keepStampsAbove(quint64 stamp) {
    quint64 now = lastStamp.load();
    while (now < stamp && !lastStamp.compare_exchange_weak(now, stamp)) {
    }
}

bool isLowArtOnly(const PictureOrigin& low, const PictureOrigin& high) {
    if (!isUsersOwn(low.source))
        return false;
    return !isUsersOwn(high.source) || low.stamp > high.stamp;
}

QByteArray originText(const PictureOrigin& origin) {
    return char(origin.source) + QByteArray::number(origin.stamp);
}

std::optional<PictureOrigin> originFromText(const QByteArray& text) {
    if (text.size() < 2)
        return std::nullopt;
    const auto source = PictureSource(text[0]);
    switch (source) {
    case PictureSource::BuiltIn:
    case PictureSource::Sheet:
    case PictureSource::Cell:
    case PictureSource::Snapshot:
    case PictureSource::Database:
    case PictureSource::DatabaseWithout:
        break;
    default:
        return std::nullopt;
    }
    bool ok = false;
    const quint64 stamp = text.mid(1).toULongLong(&ok);
    if (!ok || !std::all_of(text.begin() + 1, text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return PictureOrigin{source, stamp};
}

} // namespace vv
