#include "ui/SheetSizeCheck.h"

#include "app/CheckTexts.h"
#include "ui/BuildInputs.h"
#include "ui/Dialogs.h"

namespace vv::ui {
namespace {

QString sizeQuestion(const QString& text, QSize sheet, QSize expected) {
    return text.arg(sheet.width()).arg(sheet.height()).arg(expected.width()).arg(expected.height());
}

} // namespace

bool confirmSheetSize(QSize sheet, QSize expected) {
    if (sheet == expected)
        return true;
    return dialogs().askChoice(
               sizeQuestion(messageOrBuiltIn(currentMessages(), Message::SheetSizeQuestion), sheet, expected),
               {messageOrBuiltIn(currentMessages(), Message::YesAnswer),
                messageOrBuiltIn(currentMessages(), Message::NoAnswer)}) == 0;
}

std::optional<PieceResolution> confirmSkinSheetSize(QSize sheet, PieceResolution window) {
    const QSize expected = skinSheetSize(window);
    if (sheet == expected)
        return window;
    if (window == PieceResolution::Low && sheet == skinSheetSize(PieceResolution::High)) {
        switch (dialogs().askChoice(
            sizeQuestion(messageOrBuiltIn(currentMessages(), Message::HighSheetQuestion), sheet, expected),
            {messageOrBuiltIn(currentMessages(), Message::BothSetsAnswer),
             messageOrBuiltIn(currentMessages(), Message::CutAnywayAnswer),
             messageOrBuiltIn(currentMessages(), Message::NoAnswer)})) {
        case 0:
            return PieceResolution::High;
        case 1:
            return PieceResolution::Low;
        default:
            return std::nullopt;
        }
    }
    if (confirmSheetSize(sheet, expected))
        return window;
    return std::nullopt;
}

} // namespace vv::ui
