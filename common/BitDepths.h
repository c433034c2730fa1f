// The icon bit depths a build can make. One table says, for each depth, where
// the settings file keeps its flag, which Options check box shows it and
// which InFO resource names it; everything that walks the depths walks this
// table, in its order, which is also the order of an icon family's lines.
#pragma once

#include <array>
#include <initializer_list>

namespace vv {

struct BitDepthRow {
    int bpp;
    int settingsOffset;          // the one-byte flag in vkdm_settings.cfg
    const char* optionsCheckBox; // object name of its box in the Options dialog
    const char* infoFile;        // the InFO resource of a build led by this depth
};

inline constexpr std::array<BitDepthRow, 5> kBitDepthRows{{
    {1, 0, "CheckBox1", "InFO03E1.bin"},
    {2, 1, "CheckBox2", "InFO03E2.bin"},
    {4, 2, "CheckBox3", "InFO03E4.bin"},
    {8, 3, "CheckBox4", "InFO03E8.bin"},
    {16, 5, "CheckBox6", "InFO03E6.bin"},
}};

// The depth switched on when every depth is off.
inline constexpr int kFallbackBitDepth = 1;

// The row of `bpp`, or null when it is not one of the table's depths.
constexpr const BitDepthRow* bitDepthRow(int bpp) {
    for (const BitDepthRow& row : kBitDepthRows)
        if (row.bpp == bpp)
            return &row;
    return nullptr;
}

// A set of the table's depths: what the five "bpp Icons" boxes hold.
class DepthSet {
public:
    constexpr DepthSet() = default;
    // Values that are not depths of the table are left out.
    constexpr DepthSet(std::initializer_list<int> depths) {
        for (const int bpp : depths)
            set(bpp);
    }

    // False for any value that is not a depth of the table.
    constexpr bool contains(int bpp) const {
        const int index = indexOf(bpp);
        return index >= 0 && (bits_ & (1u << index)) != 0;
    }
    // Switches `bpp` on or off; a value that is not a depth of the table is ignored.
    constexpr void set(int bpp, bool on = true) {
        const int index = indexOf(bpp);
        if (index < 0)
            return;
        if (on)
            bits_ |= 1u << index;
        else
            bits_ &= ~(1u << index);
    }
    constexpr bool isEmpty() const { return bits_ == 0; }
    // The deepest depth of the set, or `none` when it is empty.
    constexpr int deepestOr(int none) const {
        for (auto row = kBitDepthRows.rbegin(); row != kBitDepthRows.rend(); ++row)
            if (contains(row->bpp))
                return row->bpp;
        return none;
    }

    bool operator==(const DepthSet&) const = default;

private:
    static constexpr int indexOf(int bpp) {
        for (int i = 0; i < int(kBitDepthRows.size()); ++i)
            if (kBitDepthRows[i].bpp == bpp)
                return i;
        return -1;
    }

    unsigned bits_ = 0; // bit i: row i of kBitDepthRows
};

} // namespace vv
