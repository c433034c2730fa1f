#include "theme/PieceTable.h"

namespace vv {
namespace {

QRect sheetRect(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

QRect doubled(const QRect& rect) {
    return QRect(rect.topLeft() * 2, rect.size() * 2);
}

// A piece whose high-resolution rectangle is exactly twice its low one.
ThemePiece piece(const char* code, int image, QRect low, PieceDepth depth, QPoint lowPreview,
                 QPoint highPreview) {
    return {QString::fromLatin1(code), image, low, doubled(low), depth, lowPreview, highPreview};
}

constexpr PieceDepth P8 = PieceDepth::Palette8;
constexpr PieceDepth C24 = PieceDepth::Rgb24;

std::array<ThemePiece, kThemePieceCount> buildTable() {
    auto r = sheetRect;
    std::array<ThemePiece, kThemePieceCount> table = {{
        piece("E0", 2, r(83, 1, 119, 13), P8, {2, 18}, {1, 1}),
        piece("E1", 3, r(83, 14, 119, 26), P8, {2, 31}, {1, 26}),
        piece("E2", 4, r(83, 27, 119, 39), P8, {2, 44}, {1, 51}),
        piece("E3", 5, r(83, 40, 119, 52), P8, {2, 57}, {1, 76}),
        piece("E4", 6, r(83, 53, 119, 65), P8, {2, 70}, {1, 101}),
        piece("E5", 7, r(83, 66, 119, 78), P8, {2, 83}, {1, 126}),
        piece("E6", 8, r(83, 79, 119, 91), P8, {2, 96}, {1, 151}),
        piece("E7", 9, r(83, 92, 119, 104), P8, {2, 109}, {1, 176}),
        piece("E8", 10, r(83, 105, 119, 117), P8, {2, 122}, {1, 201}),
        piece("E9", 11, r(83, 118, 119, 130), P8, {2, 135}, {1, 226}),
        piece("EA", 12, r(83, 131, 119, 143), P8, {2, 148}, {1, 251}),
        piece("EB", 13, r(83, 144, 119, 156), P8, {2, 161}, {1, 276}),
        piece("EC", 14, r(83, 157, 119, 169), P8, {2, 174}, {1, 301}),
        piece("ED", 15, r(83, 170, 119, 182), P8, {2, 187}, {1, 326}),
        piece("EE", 16, r(83, 183, 119, 195), P8, {2, 200}, {1, 351}),
        piece("EF", 17, r(120, 183, 183, 198), P8, {91, 57}, {164, 75}),
        piece("EG", 18, r(35, 199, 195, 235), P8, {56, 75}, {112, 107}),
        piece("EH", 19, r(196, 223, 208, 235), P8, {204, 112}, {408, 182}),
        piece("EI", 20, r(209, 223, 221, 235), P8, {204, 128}, {408, 208}),
        piece("EJ", 21, r(18, 201, 34, 217), P8, {40, 75}, {77, 106}),
        piece("EK", 22, r(1, 201, 17, 217), P8, {40, 91}, {77, 139}),
        piece("EL", 23, r(196, 201, 212, 217), P8, {216, 75}, {434, 107}),
        piece("EM", 24, r(213, 201, 229, 217), P8, {216, 91}, {434, 140}),
        piece("EN", 25, r(36, 236, 67, 266), P8, {40, 112}, {80, 181}),
        piece("EO", 26, r(36, 267, 67, 297), P8, {40, 144}, {80, 242}),
        piece("EP", 27, r(68, 236, 99, 266), P8, {72, 112}, {143, 181}),
        piece("EQ", 28, r(68, 267, 99, 297), P8, {72, 144}, {143, 242}),
        piece("ER", 29, r(100, 236, 131, 266), P8, {104, 112}, {207, 181}),
        piece("ES", 30, r(100, 267, 131, 297), P8, {104, 144}, {207, 242}),
        piece("ET", 31, r(132, 236, 163, 266), P8, {136, 112}, {270, 181}),
        piece("EU", 32, r(132, 267, 163, 297), P8, {136, 144}, {270, 242}),
        piece("EV", 33, r(164, 236, 195, 266), P8, {168, 112}, {338, 181}),
        piece("EW", 34, r(164, 267, 195, 297), P8, {168, 144}, {338, 242}),
        piece("EX", 35, r(35, 298, 195, 334), P8, {56, 176}, {112, 303}),
        piece("EY", 36, r(196, 322, 208, 334), P8, {204, 144}, {408, 251}),
        piece("EZ", 37, r(209, 322, 221, 334), P8, {204, 160}, {408, 277}),
        piece("F0", 38, r(18, 300, 34, 316), P8, {40, 176}, {77, 306}),
        piece("F1", 39, r(1, 300, 17, 316), P8, {40, 192}, {77, 339}),
        piece("F2", 40, r(196, 300, 212, 316), P8, {216, 176}, {434, 303}),
        piece("F3", 41, r(213, 300, 229, 316), P8, {216, 192}, {434, 336}),
        piece("F4", 42, r(184, 185, 197, 198), C24, {160, 40}, {292, 46}),
        piece("F5", 43, r(198, 185, 211, 198), C24, {160, 56}, {292, 78}),
        piece("B0", 47, r(219, 166, 227, 170), C24, {80, 45}, {146, 53}),
        piece("B1", 45, r(192, 166, 200, 174), C24, {80, 51}, {146, 62}),
        piece("B2", 46, r(201, 166, 209, 174), C24, {53, 51}, {97, 62}),
        piece("B3", 48, r(219, 171, 227, 176), C24, {80, 61}, {146, 79}),
        piece("B4", 49, r(120, 166, 128, 178), C24, {44, 37}, {80, 37}),
        piece("B5", 52, r(129, 166, 137, 175), C24, {53, 40}, {97, 43}),
        piece("B6", 53, r(156, 166, 164, 177), C24, {44, 61}, {80, 79}),
        piece("B7", 56, r(165, 166, 173, 175), C24, {53, 61}, {97, 79}),
        piece("B8", 50, r(138, 166, 146, 179), C24, {62, 36}, {113, 35}),
        piece("B9", 51, r(147, 166, 155, 179), C24, {71, 36}, {130, 35}),
        piece("BA", 54, r(174, 166, 182, 179), C24, {62, 61}, {113, 79}),
        piece("BB", 55, r(183, 166, 191, 179), C24, {71, 61}, {130, 79}),
        piece("BC", 44, r(210, 166, 218, 174), C24, {44, 51}, {80, 62}),
        piece("F7", 57, r(212, 185, 220, 197), C24, {175, 61}, {324, 78}),
        piece("F8", 58, r(221, 185, 229, 197), C24, {175, 45}, {348, 78}),
        piece("F9", 59, r(33, 149, 81, 197), P8, {184, 24}, {372, 6}),
    }};
    // The high-resolution sheet places F9 one low-resolution pixel right of and
    // below its low-resolution place.
    table.back().highSheetRect = doubled(r(34, 150, 82, 198));
    return table;
}

} // namespace

QSize ThemePiece::size(PieceResolution resolution) const {
    return resolution == PieceResolution::Low ? lowSize() : highSize();
}

QRect ThemePiece::sheetRect(PieceResolution resolution) const {
    return resolution == PieceResolution::Low ? lowSheetRect : highSheetRect;
}

PieceDepth ThemePiece::depth(PieceResolution resolution) const {
    return resolution == PieceResolution::Low ? lowDepth : PieceDepth::Rgb24;
}

QPoint ThemePiece::previewPosition(PieceResolution resolution) const {
    return resolution == PieceResolution::Low ? lowPreview : highPreview;
}

QString ThemePiece::fileBaseName(PieceResolution resolution) const {
    return (resolution == PieceResolution::Low ? QStringLiteral("Tbmp03") : QStringLiteral("Tbmp04")) + code;
}

const std::array<ThemePiece, kThemePieceCount>& themePieceTable() {
    static const std::array<ThemePiece, kThemePieceCount> table = buildTable();
    return table;
}

PieceShape pieceShapeOf(QSize lowSize) {
    struct Row {
        QSize size;
        PieceShape shape;
    };
    static constexpr Row kShapes[] = {
        {{36, 12}, PieceShape::Tab},       {{63, 15}, PieceShape::Title},
        {{160, 36}, PieceShape::Bar},      {{12, 12}, PieceShape::SmallArrowButton},
        {{16, 16}, PieceShape::BarButton}, {{31, 30}, PieceShape::Cell},
        {{13, 13}, PieceShape::CheckBox},
    };
    for (const Row& row : kShapes)
        if (row.size == lowSize)
            return row.shape;
    return lowSize.width() == 8 ? PieceShape::Glyph : PieceShape::Mark;
}

int pieceVariantOf(int index) {
    const auto& table = themePieceTable();
    int variant = 0;
    for (int i = 0; i < index; ++i)
        variant += table[i].lowSize() == table[index].lowSize() ? 1 : 0;
    return variant;
}

int themePieceIndex(QStringView code) {
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i)
        if (table[i].code == code)
            return i;
    return -1;
}

} // namespace vv
