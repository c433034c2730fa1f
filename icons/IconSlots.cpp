#include "icons/IconSlots.h"

#include "buildrun/BuildKindTraits.h"

namespace vv {
namespace {

constexpr BuildKind S = BuildKind::IconSet;
constexpr BuildKind T = BuildKind::Theme;

// clang-format off
const std::array<IconSlot, kIconSlotCount> Slots{{
    // use, family, main slot, position, holder, OS5 slot, position, holder, folder, low piece, high piece
    {S, 10000, "Image241", {17, 42},  "Image24", "Image1",  {4, 4},     "Image32", "Icon03E1", "Icon04H1"},
    {S, 10010, "Image242", {52, 42},  "Image24", "Image2",  {68, 4},    "Image32", "Icon03E2", "Icon04H2"},
    {S, 10020, "Image243", {87, 42},  "Image24", "Image3",  {132, 4},   "Image32", "Icon03E3", "Icon04H3"},
    {S, 10030, "Image244", {122, 42}, "Image24", "Image4",  {196, 4},   "Image32", "Icon03E4", "Icon04H4"},
    {S, 10040, "Image245", {17, 70},  "Image24", "Image5",  {4, 49},    "Image32", "Icon03E5", "Icon04H5"},
    {S, 10050, "Image246", {52, 70},  "Image24", "Image6",  {68, 49},   "Image32", "Icon03E6", "Icon04H6"},
    {S, 10060, "Image247", {87, 70},  "Image24", "Image7",  {132, 49},  "Image32", "Icon03E7", "Icon04H7"},
    {S, 10070, "Image248", {122, 70}, "Image24", "Image8",  {196, 49},  "Image32", "Icon03E8", "Icon04H8"},
    {S, 10080, "Image249", {17, 98},  "Image24", "Image9",  {4, 94},    "Image32", "Icon03E9", "Icon04H9"},
    // The tenth icon takes code 0: the codes run 1..9, 0, A, B.
    {S, 10090, "Image250", {52, 98},  "Image24", "Image10", {68, 94},   "Image32", "Icon03E0", "Icon04H0"},
    {S, 10100, "Image251", {87, 98},  "Image24", "Image11", {132, 94},  "Image32", "Icon03EA", "Icon04HA"},
    {S, 10110, "Image252", {122, 98}, "Image24", "Image12", {196, 94},  "Image32", "Icon03EB", "Icon04HB"},

    {T, 10000, "Image6",   {351, 15}, "Image25", "Image13", {274, 4},   "Image33", "Icon03E0", "Icon04H0"},
    {T, 10010, "Image7",   {384, 15}, "Image26", "Image14", {338, 4},   "Image34", "Icon03E1", "Icon04H1"},
    {T, 10020, "Image8",   {417, 15}, "Image27", "Image15", {402, 4},   "Image35", "Icon03E2", "Icon04H2"},
    {T, 10030, "Image9",   {450, 15}, "Image28", "Image16", {466, 4},   "Image36", "Icon03E3", "Icon04H3"},
    {T, 10040, "Image10",  {483, 15}, "Image29", "Image17", {530, 4},   "Image37", "Icon03E4", "Icon04H4"},
    {T, 10050, "Image11",  {516, 15}, "Image30", "Image18", {594, 4},   "Image38", "Icon03E5", "Icon04H5"},
    {T, 10060, "Image12",  {351, 39}, "Image31", "Image19", {274, 49},  "Image39", "Icon03E6", "Icon04H6"},
    {T, 10070, "Image13",  {384, 39}, "Image32", "Image20", {338, 49},  "Image40", "Icon03E7", "Icon04H7"},
    {T, 10080, "Image14",  {417, 39}, "Image33", "Image21", {402, 49},  "Image41", "Icon03E8", "Icon04H8"},
    {T, 10090, "Image15",  {450, 39}, "Image34", "Image22", {466, 49},  "Image42", "Icon03E9", "Icon04H9"},
    {T, 10100, "Image16",  {483, 39}, "Image35", "Image23", {530, 49},  "Image43", "Icon03EA", "Icon04HA"},
    {T, 10110, "Image17",  {516, 39}, "Image36", "Image24", {594, 49},  "Image44", "Icon03EB", "Icon04HB"},
    {T, 10120, "Image18",  {351, 63}, "Image37", "Image25", {274, 94},  "Image45", "Icon03EC", "Icon04HC"},
    {T, 10130, "Image19",  {384, 63}, "Image38", "Image26", {338, 94},  "Image46", "Icon03ED", "Icon04HD"},
    {T, 10140, "Image20",  {417, 63}, "Image39", "Image27", {402, 94},  "Image47", "Icon03EE", "Icon04HE"},
    {T, 10150, "Image21",  {450, 63}, "Image40", "Image28", {466, 94},  "Image48", "Icon03EF", "Icon04HF"},
    {T, 10160, "Image22",  {483, 63}, "Image41", "Image29", {530, 94},  "Image49", "Icon03EG", "Icon04HG"},
    {T, 10170, "Image23",  {516, 63}, "Image42", "Image30", {594, 94},  "Image50", "Icon03EH", "Icon04HH"},
    // The two extra theme icons take their factory pictures crosswise
    // (Image43 from Image46, Image44 from Image45), and on the OS5 window
    // Image53 stands above Image51.
    {T, 10180, "Image43",  {549, 15}, "Image46", "Image53", {658, 4},   "Image55", "Icon13EH", "Icon14HH"},
    {T, 10190, "Image44",  {549, 39}, "Image45", "Image51", {658, 49},  "Image54", "Icon23EH", "Icon24HH"},
}};
// clang-format on

const SnapshotSlot LowSnap{"LowSnap", {549, 63}, "Image47", kLowIconSize};
const SnapshotSlot HighSnap{"HighSnap", {658, 94}, "Image56", kHighIconSize};

const IconGrid MainGrid{.cellCount = 272,
                        .bandColumns = 4,
                        .rows = 17,
                        .pitch = {36, 26},
                        .sourceOrigin = {3, 8},
                        .sourceSize = {36, 26},
                        .sheetPos = {8, 152},
                        .sheetSize = {577, 449},
                        .clickOrigin = {8, 158},
                        .clickSize = {36, 26},
                        .slotSize = kLowIconSize};
const IconGrid Os5Grid{.cellCount = 90,
                       .bandColumns = 10,
                       .rows = 9,
                       .pitch = {72, 52},
                       .sourceOrigin = {6, 16},
                       .sourceSize = {72, 52},
                       .sheetPos = {1, 163},
                       .sheetSize = {723, 481},
                       .clickOrigin = {4, 176},
                       .clickSize = {70, 52},
                       .slotSize = kHighIconSize};

QList<ResourceFamily> familiesOf(BuildKind use) {
    QList<ResourceFamily> families;
    for (const IconSlot& slot : Slots) {
        if (slot.use != use)
            continue;
        families.append({FamilyKind::Icon, slot.familyId, workFolderOf(slot.use),
                         QString::fromLatin1(slot.lowPiece), QString::fromLatin1(slot.highPiece)});
    }
    return families;
}

} // namespace

const std::array<IconSlot, kIconSlotCount>& iconSlots() {
    return Slots;
}

int slotIndexByMainName(const QString& name) {
    for (int i = 0; i < kIconSlotCount; ++i)
        if (name == QLatin1String(Slots[i].mainName))
            return i;
    return -1;
}

int slotIndexByOs5Name(const QString& name) {
    for (int i = 0; i < kIconSlotCount; ++i)
        if (name == QLatin1String(Slots[i].os5Name))
            return i;
    return -1;
}

QString lowPiecePath(const IconSlot& slot) {
    return QStringLiteral("%1/%2.bmp").arg(workFolderOf(slot.use), QLatin1String(slot.lowPiece));
}

QString highPiecePath(const IconSlot& slot) {
    return QStringLiteral("%1/%2.bmp").arg(workFolderOf(slot.use), QLatin1String(slot.highPiece));
}

QList<ResourceFamily> iconSetFamilies() {
    return familiesOf(BuildKind::IconSet);
}
QList<ResourceFamily> themeIconFamilies() {
    return familiesOf(BuildKind::Theme);
}

const SnapshotSlot& lowSnapSlot() {
    return LowSnap;
}
const SnapshotSlot& highSnapSlot() {
    return HighSnap;
}

int IconGrid::column(int cell) const {
    const int i = (cell - 1) / bandColumns;
    const int k = (cell - 1) % bandColumns;
    return bandColumns * (i / rows) + k;
}

int IconGrid::row(int cell) const {
    return ((cell - 1) / bandColumns) % rows;
}

QPoint IconGrid::cellOrigin(int cell) const {
    return {pitch.width() * column(cell), pitch.height() * row(cell)};
}

QRect IconGrid::sourceRect(int cell) const {
    return QRect(sourceOrigin + cellOrigin(cell), sourceSize);
}

QRect IconGrid::clickTarget(int cell) const {
    return QRect(clickOrigin + cellOrigin(cell), clickSize);
}

QSize IconGrid::fullSheetSize() const {
    QRect extent;
    for (int cell = 1; cell <= cellCount; ++cell)
        extent |= sourceRect(cell);
    return {extent.right() + 1, extent.bottom() + 1};
}

const IconGrid& mainIconGrid() {
    return MainGrid;
}
const IconGrid& os5IconGrid() {
    return Os5Grid;
}

} // namespace vv
