#include "compiler/PaletteMapper.h"

#include "app/Palette.h"

#include <cstdlib>

namespace vv::pdb {

PaletteMapper::PaletteMapper() {
    const auto& table = palmSystemPalette();
    constexpr int levels[6] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF};
    auto levelOf = [&](int v) {
        for (int i = 0; i < 6; ++i)
            if (levels[i] == v)
                return i;
        return -1;
    };
    for (auto& plane : m_cube)
        for (auto& row : plane)
            for (int& cell : row)
                cell = -1;
    for (int i = 0; i < 256; ++i) {
        const int lr = levelOf(qRed(table[i])), lg = levelOf(qGreen(table[i])), lb = levelOf(qBlue(table[i]));
        if (lr >= 0 && lg >= 0 && lb >= 0)
            m_cube[lr][lg][lb] = i; // ascending, so equal colours keep their highest index
        else
            m_extras.push_back({qRed(table[i]), qGreen(table[i]), qBlue(table[i]), i});
    }
    m_cubeShortcut = true;
    for (auto& plane : m_cube)
        for (auto& row : plane)
            for (int cell : row)
                if (cell < 0)
                    m_cubeShortcut = false;
    for (int i = 0; i < 6; ++i)
        m_levelValue[i] = levels[i];
    for (int v = 0; v < 256; ++v)
        m_level[v] = static_cast<unsigned char>((v + 25) / 51);
}

int PaletteMapper::slowIndexOf(QRgb colour) const {
    return nearestPaletteIndex(colour);
}

} // namespace vv::pdb
