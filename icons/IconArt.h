// The program's own icon artwork: small glyphs drawn in code on a 32 x 22 design
// grid, at single size for the main window and double size for the OS5 window.
// The factory pictures of every slot and the sample icon sheets use them.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>

namespace vv {

enum class IconGlyph {
    All,        // four tiles
    Games,      // a die
    Main,       // a house
    System,     // a gear
    Utilities,  // a hammer
    Unfiled,    // a folder
    Favourites, // a star
    Music,      // a note
    Photos,     // a framed landscape
    Mail,       // an envelope
    Web,        // a globe
    Calendar,   // a page of days
    Contacts,   // a person
    Memo,       // a lined page
    Calculator, // a keypad
    Clock,      // a clock face
    Settings,   // sliders
    Card,       // a memory card
    Search,     // a magnifier
    Battery,    // a battery
    Camera,     // a camera (the snapshot pictures)
    Blank,      // an empty dashed tile (the icon-set slots before a pick)
};
inline constexpr int kIconGlyphCount = int(IconGlyph::Blank) + 1;

struct IconColours {
    QRgb tile;   // the rounded tile behind the glyph
    QRgb ink;    // outlines
    QRgb accent; // glyph fill
};

// The colour around the tile: the program's default transparency colour, so
// icons stand free on the handheld with the default options.
inline constexpr QRgb kIconBackground = 0xFF00FF00u;

// Draws `glyph` on its tile into `target` at `topLeft`, `scale` times the
// 32 x 22 design size (1 or 2). Pixels outside that area are untouched.
void drawIcon(QImage& target, QPoint topLeft, int scale, IconGlyph glyph, const IconColours& colours);

// A 24-bit picture of 32 x 22 times `scale` holding one icon on kIconBackground.
QImage iconPicture(IconGlyph glyph, const IconColours& colours, int scale);

// Factory pictures. `slot` is an index into iconSlots(): the 12 icon-set slots
// share one picture, each theme slot has its own glyph.
QImage factorySlotPicture(int slot, int scale);
QImage factorySnapshotPicture(int scale);

// Glyph and colours the factory picture of a slot uses.
IconGlyph factoryGlyph(int slot);
IconColours factoryColours(int slot);

} // namespace vv
