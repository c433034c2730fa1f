// Databases and pictures dropped on the windows, and the context menus of the
// theme and icon windows, driven headless with the recording platform.
#include "app/LanguageMessages.h"
#include "compiler/BitmapFamilyEncoder.h"
#include "compiler/QtBytes.h"
#include "formats/PalmDatabase.h"
#include "theme/SkinTemplate.h"
#include "theme/ThemeFamilies.h"
#include "theme/ThemePieces.h"
#include "ui/DatabaseOpening.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"
#include "ui/ThemeWindow.h"

#include "support/StartedWindows.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>

using namespace vv;

namespace {

// A colour per picture, so a picture in the wrong place shows; one that a
// 16 bpp bitmap holds exactly.
QRgb colourOf(int index, bool high) {
    const int r = index % 32, g = high ? 50 : 10, b = (index / 4) % 32;
    return qRgb(r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2);
}

QImage solid(QSize size, QRgb colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// A double-density theme: every bitmap and icon family of the tables in one
// colour at 16 bpp, both densities.
QByteArray colourTheme(const QByteArray& name) {
    formats::PalmDatabase db;
    db.name = name.toStdString();
    db.type = "thme";
    db.creator = "reze";
    const pdb::BitmapFamilyEncoder encoder;
    auto family = [&](QSize low, QSize high, int index) {
        std::string error;
        const std::optional<std::string> bytes =
            encoder.encode({{solid(low, colourOf(index, false)), 16, false, false, {}, {}},
                            {solid(high, colourOf(index, true)), 16, true, false, {}, {}}},
                           &error);
        EXPECT_TRUE(bytes) << error;
        return bytes.value_or(std::string());
    };
    for (const ThemeBitmapFamily& f : themeBitmapFamilies())
        db.resources.push_back(
            {"Tbmp", quint16(f.id), family(f.piece().lowSize(), f.piece().highSize(), f.pieceIndex)});
    for (int s = 0; s < kIconSlotCount; ++s)
        if (iconSlots()[s].use == BuildKind::Theme)
            db.resources.push_back(
                {"tAIB", quint16(iconSlots()[s].familyId), family(kLowIconSize, kHighIconSize, s)});
    return pdb::qtBytes(db.toBytes());
}

class DatabaseWindows : public test::StartedWindows {
protected:
    DatabaseWindows() : StartedWindows(QStringLiteral("ThmeBMP"), QStringLiteral("ThmeRsrc")) {}

    static void drop(QWidget* window, const QString& file) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        // As a drag would: the enter names the target the drop is delivered to.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &event);
        EXPECT_TRUE(event.isAccepted());
    }

    static QStringList menuOf(QWidget* window) {
        QStringList texts;
        for (QAction* action : window->actions())
            texts << action->text();
        return texts;
    }

    static QAction* action(QWidget* window, const char* name) {
        return window->findChild<QAction*>(QLatin1String(name));
    }

    QString writeTheme(const QByteArray& name) {
        const QString file = path(QStringLiteral("PDBFiles/") + QString::fromLatin1(name) + ".pdb");
        EXPECT_TRUE(test::writeBytes(file, colourTheme(name)));
        return file;
    }

    // Every piece, slot and the name as the program starts, to prove a refusal changed nothing.
    struct State {
        QList<QImage> pictures;
        QString name;
        bool operator==(const State&) const = default;
    };
    static State state() {
        State s;
        for (int i = 0; i < kThemePieceCount; ++i)
            s.pictures << Form2->Pieces.lowPiece(i) << Form2->Pieces.highPiece(i);
        for (int slot = 0; slot < kIconSlotCount; ++slot)
            s.pictures << Form1->IconBoard.slotPicture(IconWindow::Main, slot)
                       << Form1->IconBoard.slotPicture(IconWindow::Os5, slot);
        s.name = Form1->Edit1->text();
        return s;
    }
};

TEST_F(DatabaseWindows, DroppedThemeFillsBothThemeWindowsTheIconSlotsAndTheName) {
    const QString file = writeTheme("Dropped");
    for (QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form6)}) {
        Form1->Edit1->clear();
        drop(window, file);
        EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
        EXPECT_EQ(Form1->Edit1->text(), "Dropped");
        for (int i = 0; i < kThemePieceCount; ++i) {
            ASSERT_EQ(QColor(Form2->Pieces.highPiece(i).pixel(0, 0)), QColor(colourOf(i, true))) << i;
            ASSERT_EQ(Form6->pieceImage(i)->picture(), Form2->Pieces.highPiece(i)) << i;
            ASSERT_EQ(Form2->pieceImage(i)->picture(), Form2->Pieces.lowPiece(i)) << i;
        }
        // Low 24-bit pieces keep the exact colour; 8-bit ones its nearest palette colour.
        const int f4 = themePieceIndex(u"F4");
        EXPECT_EQ(QColor(Form2->Pieces.lowPiece(f4).pixel(0, 0)), QColor(colourOf(f4, false)));
        for (int s = 0; s < kIconSlotCount; ++s) {
            if (iconSlots()[s].use != BuildKind::Theme)
                continue;
            ASSERT_EQ(QColor(Form1->IconBoard.slotPicture(IconWindow::Main, s).pixel(3, 3)),
                      QColor(colourOf(s, false)));
            ASSERT_EQ(QColor(Form1->IconBoard.slotPicture(IconWindow::Os5, s).pixel(3, 3)),
                      QColor(colourOf(s, true)));
            ASSERT_EQ(Form7->IconPicker->slotImage(s)->picture(),
                      Form1->IconBoard.slotPicture(IconWindow::Os5, s));
        }
    }
}

TEST_F(DatabaseWindows, DamagedDatabaseIsRefusedByNameAndChangesNothing) {
    const State before = state();
    for (QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form2),
                            static_cast<QWidget*>(Form6), static_cast<QWidget*>(Form7)}) {
        platform.messages.clear();
        drop(window, test::fixturePath("broken-truncated.pdb"));
        ASSERT_EQ(platform.messages.size(), 1) << window->objectName().toStdString();
        EXPECT_TRUE(platform.messages[0].contains("broken-truncated.pdb"))
            << platform.messages[0].toStdString();
        EXPECT_TRUE(state() == before);
    }
}

// The window names why in the user's language, not in the unpacker's English.
TEST_F(DatabaseWindows, RefusalsNameTheReasonInTheLanguage) {
    const struct {
        QString file;
        Message reason;
    } cases[] = {
        {test::fixturePath("broken-offsets.pdb"), Message::DatabaseNotPalm},
        {test::fixturePath("broken-type.pdb"), Message::DatabaseWrongType},
        {path(QStringLiteral("PDBFiles/none.pdb")), Message::DatabaseUnreadable},
        {test::fixturePath("broken-truncated.pdb"), Message::DatabasePictureDamaged},
        {test::fixturePath("broken-size.pdb"), Message::DatabasePictureDamaged},
    };
    for (const auto& c : cases) {
        platform.messages.clear();
        EXPECT_FALSE(ui::openDatabaseFile(c.file));
        ASSERT_EQ(platform.messages.size(), 1);
        const QString expected = builtInMessage(Message::DatabaseRefused) + QStringLiteral(": ") +
                                 QDir::toNativeSeparators(c.file) + QStringLiteral(": ") +
                                 builtInMessage(c.reason);
        EXPECT_EQ(platform.messages[0].toStdString(), expected.toStdString());
    }
}

// `vedivavurir FILE`: a database as a drop would open it, a picture as the
// skin sheet of the screen's theme window; two files or a missing one are
// refused with a message and change nothing.
TEST_F(DatabaseWindows, FilesNamedOnTheCommandLineOpenAsDropsWould) {
    const State before = state();
    const QString theme = writeTheme("Named");
    const QString sheet = path("ThmeBMP/named.png");
    ASSERT_TRUE(solid(kLowSheetSize, qRgb(10, 20, 30)).save(sheet, "PNG"));

    ui::openFilesFromCommandLine({theme, sheet});
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0], Form1->Messages[Message::OneFileAtATime].arg(2));
    ui::openFilesFromCommandLine({path("PDBFiles/missing.pdb")});
    ASSERT_EQ(platform.messages.size(), 2);
    EXPECT_TRUE(platform.messages[1].contains("missing.pdb"));
    EXPECT_TRUE(state() == before);

    ui::openFilesFromCommandLine({theme});
    EXPECT_EQ(Form1->Edit1->text(), "Named");
    ui::openFilesFromCommandLine({sheet});
    EXPECT_EQ(Form2->Image1->picture().pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(platform.messages.size(), 2) << platform.messages.join('|').toStdString();
}

// The template a painter starts from loads back as a sheet without a question.
TEST_F(DatabaseWindows, TemplateSheetsAreSavedAndCutWithoutAQuestion) {
    for (ThemeWindow* window : {static_cast<ThemeWindow*>(Form2), static_cast<ThemeWindow*>(Form6)}) {
        const PieceResolution resolution = window->resolution();
        platform.fileAnswers.enqueue(path(QStringLiteral("ThmeBMP/template")));
        action(window, "SaveTemplateAction")->trigger();
        const FileDialogRequest& asked = platform.fileDialogs.last();
        EXPECT_EQ(asked.suggestedName,
                  resolution == PieceResolution::Low ? "SkinTemplateLow.png" : "SkinTemplateHigh.png");
        const QString file = path(QStringLiteral("ThmeBMP/template.bmp"));
        ASSERT_TRUE(QFileInfo::exists(file));
        EXPECT_EQ(QImage(file).size(), skinSheetSize(resolution));

        window->loadSheetFile(file);
        EXPECT_TRUE(platform.questions.isEmpty());
        ThemePieces expected;
        expected.loadSheet(skinSheetTemplate(resolution), resolution);
        for (int i = 0; i < kThemePieceCount; ++i)
            ASSERT_EQ(Form2->Pieces.piece(i, resolution), expected.piece(i, resolution)) << i;
        QFile::remove(file);
    }
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
}

TEST_F(DatabaseWindows, OpeningADatabaseIsOneStepAndUndoPutsEverythingBack) {
    const State before = state();
    drop(Form6, writeTheme("Undone"));
    ASSERT_EQ(Form1->Edit1->text(), "Undone");
    const State opened = state();
    EXPECT_EQ(action(Form2, "UndoAction")->text(), "Undo open database");
    action(Form2, "UndoAction")->trigger();
    EXPECT_TRUE(state() == before);
    EXPECT_EQ(Form6->pieceImage(0)->picture(), Form2->Pieces.highPiece(0));
    EXPECT_EQ(Form7->IconPicker->slotImage(20)->picture(), Form1->IconBoard.slotPicture(IconWindow::Os5, 20));
    action(Form1, "RedoAction")->trigger();
    EXPECT_TRUE(state() == opened);
}

// A PNG's transparent half arrives as the options' transparency colour on
// every window it is dropped on, so it stays see-through on the handheld.
TEST_F(DatabaseWindows, DroppedPicturesLoadAsSheetsWithAlphaAsTheTransparencyColour) {
    Form1->TransparentRed = QStringLiteral("255");
    Form1->TransparentGreen = QStringLiteral("0");
    Form1->TransparentBlue = QStringLiteral("255");
    const QRgb transparency = qRgb(255, 0, 255);
    QImage sheet = solid(kHighSheetSize, qRgb(10, 20, 30)).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width() / 2; ++x)
            sheet.setPixel(x, y, qRgba(10, 20, 30, 0));
    const QString file = path("ThmeBMP/dropped.png");
    ASSERT_TRUE(sheet.save(file, "PNG"));
    auto isTheSheet = [&](const QImage& loaded) {
        return loaded.size() == kHighSheetSize && loaded.pixel(0, 0) == transparency &&
               loaded.pixel(loaded.width() - 1, 0) == qRgb(10, 20, 30);
    };
    drop(Form6, file);
    EXPECT_TRUE(isTheSheet(Form6->Image1->picture()));

    // A skin sheet is no icon sheet's size: each icon window asks before cutting it.
    platform.choiceAnswers.enqueue(0);
    drop(Form7, file);
    EXPECT_TRUE(isTheSheet(Form1->IconBoard.sheet(IconWindow::Os5)));
    EXPECT_NE(Form1->IconBoard.sheet(IconWindow::Main).size(), kHighSheetSize);
    platform.choiceAnswers.enqueue(0);
    drop(Form1, file);
    EXPECT_TRUE(isTheSheet(Form1->IconBoard.sheet(IconWindow::Main)));
    EXPECT_EQ(platform.questions.size(), 2);
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
}

TEST_F(DatabaseWindows, ContextMenusOpenDatabasesAndSaveSheetsThatLoadBackUnchanged) {
    const QString open = Form1->Messages[Message::OpenDatabaseAction];
    const QString save = Form1->Messages[Message::SaveSkinSheetAction];
    EXPECT_EQ(open, QStringLiteral("&Open database\u2026"));
    // Undo and Redo come first, then a separator.
    const QStringList undo{Form1->Messages[Message::UndoAction], Form1->Messages[Message::RedoAction], ""};
    const QString paintOn = Form1->Messages[Message::SaveTemplateAction];
    EXPECT_EQ(menuOf(Form2), (undo + QStringList{open, save, paintOn}));
    EXPECT_EQ(menuOf(Form6), (undo + QStringList{open, save, paintOn}));
    EXPECT_EQ(menuOf(Form1), (undo + QStringList{open, Form1->Messages[Message::StartAfreshAction]}));
    EXPECT_EQ(menuOf(Form7), (undo + QStringList{open}));

    platform.fileAnswers.enqueue(writeTheme("From menu"));
    action(Form7, "OpenDatabaseAction")->trigger();
    EXPECT_EQ(Form1->Edit1->text(), "From menu");
    EXPECT_TRUE(platform.fileDialogs.last().directory.endsWith("PDBFiles"));

    for (ThemeWindow* window : {static_cast<ThemeWindow*>(Form2), static_cast<ThemeWindow*>(Form6)}) {
        const PieceResolution resolution = window->resolution();
        for (const char* suffix : {".bmp", ".png"}) {
            SCOPED_TRACE(suffix);
            const QString file = path(QStringLiteral("ThmeBMP/") +
                                      (resolution == PieceResolution::Low ? "low" : "high") + suffix);
            const bool png = QLatin1String(suffix) == QLatin1String(".png");
            platform.fileAnswers.clear(); // cancelled: nothing written
            action(window, "SaveSkinSheetAction")->trigger();
            EXPECT_FALSE(QFileInfo::exists(file));

            platform.fileAnswers.enqueue(file);
            action(window, "SaveSkinSheetAction")->trigger();
            ASSERT_TRUE(QFileInfo::exists(file));
            const QImage saved(file);
            EXPECT_EQ(saved.size(), resolution == PieceResolution::Low ? kLowSheetSize : kHighSheetSize);
            if (png) {
                EXPECT_TRUE(test::readBytes(file).startsWith("\x89PNG"));
                // The gaps between the pieces are the transparency colour: see-through.
                EXPECT_EQ(qAlpha(saved.pixel(saved.width() - 1, saved.height() - 1)), 0);
            } else {
                EXPECT_EQ(test::readBytes(file).at(28), 24) << "a 24-bit BMP";
            }
            ThemePieces reloaded;
            ASSERT_TRUE(reloaded.loadSheetFile(file, resolution, ui::outsideSheetColour()).loaded());
            for (int i = 0; i < kThemePieceCount; ++i)
                ASSERT_EQ(reloaded.piece(i, resolution), Form2->Pieces.piece(i, resolution)) << i;
        }
    }
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
}

} // namespace

namespace {

// Each kind of file dialog opens where a file of that kind was last picked in
// this run, the program's folder before that; the others are not moved.
TEST_F(DatabaseWindows, FileDialogsReopenWhereAFileOfTheirKindWasLastPicked) {
    for (const char* folder : {"elsewhere/skins", "elsewhere/icons", "elsewhere/databases", "IconBMP"})
        ASSERT_TRUE(QDir(path(".")).mkpath(QLatin1String(folder)));
    Form2->StartDir = Form6->StartDir = dir_.path(); // as View Theme sets them
    const auto openDatabase = [] { Form1->findChild<QAction*>("OpenDatabaseAction")->trigger(); };
    const auto saveSheet = [] { Form6->findChild<QAction*>("SaveSkinSheetAction")->trigger(); };
    struct Step {
        const char* what;
        std::function<void()> open;
        QString answer; // empty: cancelled
        QString expectedFolder;
    };
    const Step steps[] = {
        {"skin sheet, first", [] { Form2->Button1Click(); }, path("elsewhere/skins/none.bmp"),
         path("ThmeBMP")},
        {"skin sheet, other window", [] { Form6->Button1Click(); }, {}, path("elsewhere/skins")},
        {"saved skin sheet", saveSheet, {}, path("elsewhere/skins")},
        {"icon sheet, first", [] { Form1->SpeedButton2Click(); }, path("elsewhere/icons/none.bmp"),
         path("IconBMP")},
        {"icon sheet, OS5 window", [] { Form7->SpeedButton2Click(); }, {}, path("elsewhere/icons")},
        {"database, first", openDatabase, path("elsewhere/databases/none.pdb"), path("PDBFiles")},
        {"database again", openDatabase, {}, path("elsewhere/databases")},
        {"install tool, first", [] { Form3->Button3Click(); }, {}, QDir::rootPath()},
        {"skin sheet, still", [] { Form2->Button1Click(); }, {}, path("elsewhere/skins")},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        platform.fileDialogs.clear();
        platform.fileAnswers.clear();
        if (!step.answer.isEmpty())
            platform.fileAnswers.enqueue(step.answer);
        step.open();
        ASSERT_EQ(platform.fileDialogs.size(), 1);
        EXPECT_EQ(QDir::cleanPath(platform.fileDialogs[0].directory).toStdString(),
                  QDir::cleanPath(step.expectedFolder).toStdString());
    }
    // A new set of windows starts from the program's folders again.
    ui::destroyWindows();
    ui::createWindows();
    platform.fileDialogs.clear();
    Form2->StartDir = Form1->StartDir;
    Form2->Button1Click();
    ASSERT_EQ(platform.fileDialogs.size(), 1);
    EXPECT_EQ(QDir::cleanPath(platform.fileDialogs[0].directory), QDir::cleanPath(path("ThmeBMP")));
}

// Save skin sheet offers the database name, else a name of the sheet's
// resolution, and writes a typed name without an extension as a .bmp.
TEST_F(DatabaseWindows, SaveSkinSheetSuggestsANameAndAddsTheExtension) {
    struct Case {
        ThemeWindow* window;
        QString databaseName;
        QString suggested;
        QString typed;
        QString written;
    };
    const Case cases[] = {
        {Form2, {}, "SkinSheetLow.bmp", "ThmeBMP/SavedLow", "ThmeBMP/SavedLow.bmp"},
        {Form6, {}, "SkinSheetHigh.bmp", "ThmeBMP/SavedHigh.", "ThmeBMP/SavedHigh.bmp"},
        {Form6, "  Sunset ", "Sunset.bmp", "ThmeBMP/Sunset.bmp", "ThmeBMP/Sunset.bmp"},
        {Form2, "Dusk", "Dusk.bmp", "ThmeBMP/dusk.sheet", "ThmeBMP/dusk.sheet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        Form1->Edit1->setText(c.databaseName);
        platform.fileDialogs.clear();
        platform.fileAnswers.enqueue(path(c.typed));
        c.window->findChild<QAction*>("SaveSkinSheetAction")->trigger();
        ASSERT_EQ(platform.fileDialogs.size(), 1);
        EXPECT_EQ(platform.fileDialogs[0].suggestedName, c.suggested);
        EXPECT_EQ(platform.fileDialogs[0].defaultSuffix, QStringLiteral("bmp"));
        EXPECT_TRUE(QFileInfo::exists(path(c.written)));
        if (c.written != c.typed) {
            EXPECT_FALSE(QFileInfo::exists(path(c.typed)));
        }
    }
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('|').toStdString();
}

} // namespace
