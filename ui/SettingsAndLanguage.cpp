#include "ui/SettingsAndLanguage.h"

#include "app/LanguageFile.h"
#include "app/LanguageMessages.h"
#include "app/OptionRules.h"
#include "app/SettingsFile.h"
#include "buildrun/SettingsBuildOptions.h"
#include "common/Palette.h"
#include "common/SystemScreens.h"
#include "icons/IconSlots.h"
#include "ui/BuildInputs.h"
#include "ui/DatabaseOpening.h"
#include "ui/Dialogs.h"
#include "ui/FileDialogFolders.h"
#include "ui/TAboutBox.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"
#include "ui/TPaintBox.h"
#include "ui/WorkHistory.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QSignalBlocker>
#include <QTranslator>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

namespace {

// The current state as a record, so fields a short file lacks keep their values.
vv::SettingsRecord currentSettings() {
    vv::SettingsRecord record;
    record.depths = Form3->checkedDepths();
    record.compress = Form3->CheckBox5->isChecked();
    record.languageIndex = Form1->LanguageIndex;
    record.screenIndex = Form3->ComboBox2->currentIndex();
    record.red = Form1->TransparentRed.toInt();
    record.green = Form1->TransparentGreen.toInt();
    record.blue = Form1->TransparentBlue.toInt();
    record.paletteIndex = Form1->TransparentIndex.toInt();
    record.languageName = Form3->ComboBox1->currentText();
    record.screenText = Form3->ComboBox2->currentText();
    record.installTool = Form3->Edit1->text();
    return record;
}

void selectText(QComboBox* list, const QString& text) {
    const int found = list->findText(text);
    if (found >= 0)
        list->setCurrentIndex(found);
}

void selectPosition(QComboBox* list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void showColourComponent(qint32 value, TLabel* decimal, TLabel* hex) {
    decimal->setText(QString::number(value));
    hex->setText(vv::hexByteText(value));
}

// A decimal caption as a colour value; nothing when empty or not a number.
std::optional<qint32> decimalValue(const QString& text, int maximum) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > maximum)
        return std::nullopt;
    return value;
}

QWidget* windowNamed(const char* name) {
    const std::pair<const char*, QWidget*> windows[] = {{"Form1", Form1}, {"Form2", Form2},
                                                        {"Form3", Form3}, {"AboutBox", AboutBox},
                                                        {"Form6", Form6}, {"Form7", Form7}};
    for (const auto& [windowName, window] : windows)
        if (std::strcmp(windowName, name) == 0)
            return window;
    return nullptr;
}

TOpenPictureDialog* dialogNamed(const char* window, const char* name) {
    if (std::strcmp(name, "OpenPictureDialog1") == 0) {
        if (std::strcmp(window, "Form1") == 0)
            return &Form1->OpenPictureDialog1;
        if (std::strcmp(window, "Form2") == 0)
            return &Form2->OpenPictureDialog1;
    }
    if (std::strcmp(window, "Form3") == 0 && std::strcmp(name, "OpenDialog1") == 0)
        return &Form3->OpenDialog1;
    return nullptr;
}

QString* mainMemberNamed(const char* name) {
    const std::pair<const char*, QString*> members[] = {
        {"LanguageName", &Form1->LanguageName},           {"HelpSuffix", &Form1->HelpSuffix},
        {"ShowIconsCaption", &Form1->ShowIconsCaption},   {"HideIconsCaption", &Form1->HideIconsCaption},
        {"SnapPromptCaption", &Form1->SnapPromptCaption}, {"SnapBusyCaption", &Form1->SnapBusyCaption}};
    for (const auto& [memberName, member] : members)
        if (std::strcmp(memberName, name) == 0)
            return member;
    return nullptr;
}

// Controls that show the same tooltip as the one a line names: its twins on
// the OS5 and high-resolution windows and the other ways to the same action.
struct ToolTipTwin {
    const char* window;
    const char* control;
    std::initializer_list<std::pair<const char*, const char*>> twins; // window, control ("" the window)
};
const ToolTipTwin kToolTipTwins[] = {
    {"Form1", "Button5", {{"Form7", "Button5"}}},
    {"Form1",
     "Button7",
     {{"Form1", "Label6"},
      {"Form1", "Label7"},
      {"Form1", "ProgramIcon"},
      {"Form3", "ProgramIcon"},
      {"Form7", "Label6"}}},
    {"Form1", "Button3", {{"Form7", "Button2"}}},
    {"Form1", "Button10", {{"Form7", "Button3"}}},
    {"Form1", "Button11", {{"Form7", "Button11"}}},
    {"Form1", "SpeedButton2", {{"Form1", "Image4"}, {"Form7", "SpeedButton2"}, {"Form7", "Image52"}}},
    {"Form1", "SpeedButton1", {{"Form1", "Image5"}}},
    {"Form1", "", {{"Form7", ""}}},
    {"Form2", "", {{"Form6", ""}}},
    {"Form2", "Button1", {{"Form6", "Button1"}}},
    {"Form2", "Button2", {{"Form6", "Button2"}, {"Form7", "Button1"}}},
};

QWidget* controlNamed(const char* window, const char* control) {
    QWidget* owner = windowNamed(window);
    if (!owner || !*control)
        return owner;
    return owner->findChild<QWidget*>(QLatin1String(control));
}

// The controls of a group a tooltip line names, on both icon pickers.
QList<QWidget*> toolTipGroup(const char* group) {
    QList<QWidget*> members;
    const std::string name(group);
    for (const vv::ui::IconPickerView* picker : {Form1->IconPicker, Form7->IconPicker}) {
        if (name == "IconSetSlots" || name == "ThemeIconSlots") {
            const vv::BuildKind use = name == "IconSetSlots" ? vv::BuildKind::IconSet : vv::BuildKind::Theme;
            for (int i = 0; i < vv::kIconSlotCount; ++i)
                if (vv::iconSlots()[i].use == use)
                    members << picker->slotImage(i);
        } else if (name == "SheetCells") {
            members << picker->sheetImage();
            for (int cell = 1; cell <= picker->grid().cellCount; ++cell)
                members << picker->cellTarget(cell);
        } else if (name == "SnapshotPictures") {
            members << picker->snapshotImage();
        }
    }
    if (name == "DepthBoxes")
        for (const vv::BitDepthRow& row : vv::kBitDepthRows)
            members << Form3->depthBox(row.bpp);
    return members;
}

// Every control that line `line` gives its tooltip.
QList<QWidget*> toolTipTargets(const vv::LanguageLine& line) {
    QList<QWidget*> targets = toolTipGroup(line.control);
    if (targets.isEmpty())
        if (QWidget* control = controlNamed(line.window, line.control))
            targets << control;
    for (const ToolTipTwin& twin : kToolTipTwins)
        if (std::strcmp(twin.window, line.window) == 0 && std::strcmp(twin.control, line.control) == 0)
            for (const auto& [window, control] : twin.twins)
                if (QWidget* target = controlNamed(window, control))
                    targets << target;
    return targets;
}

void applyLine(const vv::LanguageLine& line, const QString& text) {
    using K = vv::LanguageTargetKind;
    switch (line.kind) {
    case K::Ignored:
        return;
    case K::Caption:
        if (QWidget* window = windowNamed(line.window))
            if (auto* control = window->findChild<QWidget*>(QLatin1String(line.control)))
                vv::ui::setCaption(control, text);
        return;
    case K::WindowCaption:
        if (QWidget* window = windowNamed(line.window))
            window->setWindowTitle(text);
        return;
    case K::DialogTitle:
        if (TOpenPictureDialog* dialog = dialogNamed(line.window, line.control))
            dialog->Title = text;
        return;
    case K::Member:
        if (QString* member = mainMemberNamed(line.control))
            *member = text;
        return;
    case K::Message:
        Form1->Messages[line.message()] = text;
        return;
    case K::ToolTip:
        for (QWidget* target : toolTipTargets(line))
            vv::ui::setToolTipText(target, text);
        return;
    }
}

// Qt's own texts (the buttons and labels of its file and colour dialogs) in
// the language whose code is line 58, where Qt ships that translation.
void installToolkitTranslation(const QString& code) {
    static QTranslator* installed = nullptr;
    static QString installedCode;
    if (code == installedCode)
        return;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    installedCode = code;
    auto translator = std::make_unique<QTranslator>();
    if (code.isEmpty() || !translator->load(QStringLiteral("qtbase_") + code,
                                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    installed = translator.release();
    QCoreApplication::installTranslator(installed);
}

const QString& iconsCaptionFor(const TButton* button) {
    return button->Tag == 0 ? Form1->ShowIconsCaption : Form1->HideIconsCaption;
}

// The screen's part of the main window's title in the language. The table
// names each suffix in English; a suffix without a line stays English.
QString screenCaptionSuffix(const vv::ScreenProfile& screen) {
    const QString english = QLatin1String(screen.captionSuffix).trimmed();
    if (english.isEmpty())
        return {};
    for (const vv::Message line : {vv::Message::Os5TitleSuffix, vv::Message::SonyTitleSuffix})
        if (vv::builtInMessage(line) == english)
            return QLatin1Char(' ') + vv::ui::currentText(line);
    return QLatin1String(screen.captionSuffix);
}

} // namespace

std::optional<QString> LoadSettings(const QString& startDir) {
    const std::optional<vv::SettingsRecord> read =
        vv::readSettingsFile(vv::settingsFilePath(startDir), currentSettings());
    if (!read)
        return std::nullopt;
    const vv::SettingsRecord& s = *read;
    const QString outOfRange = vv::settingsRangeProblem(s);
    Form3->SettingsProblem = outOfRange.isEmpty() ? QString()
                                                  : vv::messageOrBuiltIn(vv::ui::currentMessages(),
                                                                         vv::Message::SettingsOutOfRange)
                                                        .arg(outOfRange);
    if (!Form3->SettingsProblem.isEmpty())
        vv::dialogs().showMessage(Form3->SettingsProblem);

    {
        // The bit-depth rule judges the loaded set as a whole, so the order the
        // boxes are set in cannot leave 1 bpp on where the file has it off.
        Form3->showDepths(s.depths);
        const QSignalBlocker quiet(Form3->CheckBox5);
        Form3->CheckBox5->setChecked(s.compress);
    }
    Form3->CheckBox1Click();

    // The windows hold the same build options a build without windows reads
    // from this record.
    const vv::BuildOptions options = vv::buildOptionsFromSettings(s);
    Form1->CompressKeyword = options.compressKeyword;
    Form1->LanguageIndex = s.languageIndex;
    selectPosition(Form3->ComboBox1, s.languageIndex);
    Form1->ScreenType = options.screenType;
    selectPosition(Form3->ComboBox2, s.screenIndex);

    showColourComponent(s.red, Form3->Label10, Form3->Label7);
    showColourComponent(s.green, Form3->Label11, Form3->Label8);
    showColourComponent(s.blue, Form3->Label12, Form3->Label9);
    Form1->TransparentRed = options.transparentRed;
    Form1->TransparentGreen = options.transparentGreen;
    Form1->TransparentBlue = options.transparentBlue;
    Form1->TransparentIndex = options.transparentIndex;
    Form3->TransparentIndex = Form1->TransparentIndex;
    Form3->setSwatchColour(QColor(qBound(0, s.red, 255), qBound(0, s.green, 255), qBound(0, s.blue, 255)));

    selectText(Form3->ComboBox1, s.languageName);
    selectText(Form3->ComboBox2, s.screenText);
    Form3->Edit1->setText(s.installTool);
    return vv::languageFilePath(startDir, s.languageName);
}

vv::SettingsRecord OptionsRecord() {
    vv::SettingsRecord record = currentSettings();
    record.languageIndex = Form3->ComboBox1->currentIndex();
    // Colour captions are empty until a file was read or a colour chosen; the
    // colour is then the main window's default, kept whole so that the
    // components and the index never disagree.
    const auto red = decimalValue(Form3->Label10->text(), 255);
    const auto green = decimalValue(Form3->Label11->text(), 255);
    const auto blue = decimalValue(Form3->Label12->text(), 255);
    const auto index = decimalValue(Form3->TransparentIndex, 255);
    if (red && green && blue && index) {
        record.red = *red;
        record.green = *green;
        record.blue = *blue;
        record.paletteIndex = *index;
    } else {
        record.red = 0;
        record.green = 255;
        record.blue = 0;
        record.paletteIndex = 210;
    }
    return record;
}

bool SaveSettings(const QString& startDir) {
    const vv::SettingsRecord record = OptionsRecord();
    if (!vv::writeSettingsFile(vv::settingsFilePath(startDir), record)) {
        vv::dialogs().showMessage(Form1->Messages[vv::Message::SettingsNotWritten]);
        return false;
    }
    Form1->ScreenType = vv::screenTypeAfterSave(record.screenIndex, Form1->ScreenType);
    Form1->LanguageIndex = record.languageIndex;
    return true;
}

void ApplyLanguage(const QString& languageFile) {
    const std::optional<vv::LanguageTexts> texts = vv::readLanguageFile(languageFile);
    if (!texts) {
        if (Form3->isVisible())
            vv::dialogs().showMessage(Form1->Messages[vv::Message::LanguageFileDamaged]);
        else
            vv::dialogs().showMessage(Form1->Messages[vv::Message::LanguageNotLoaded] +
                                      vv::ui::currentText(vv::Message::LanguageMissingTail));
        return;
    }
    for (const vv::LanguageLine& line : vv::languageLines())
        applyLine(line, (*texts)[line.line - 1]);

    installToolkitTranslation(Form1->HelpSuffix);
    const QString mainCaption = Form1->windowTitle();
    Form7->Button3->setText(Form1->Button10->text());
    Form3->Edit1->setPlaceholderText(vv::ui::currentText(vv::Message::InstallToolPlaceholder));
    vv::ui::setToolTipText(Form3->Edit1, vv::ui::currentText(vv::Message::InstallToolHint));
    Form1->Button11->setText(Form1->SnapPromptCaption);
    Form7->Button11->setText(Form1->SnapPromptCaption);

    // A ScreenType no screen has leaves the caption and the button as they are.
    if (const vv::ScreenProfile* screen = vv::screenProfileOf(Form1->ScreenType)) {
        Form1->setWindowTitle(mainCaption + screenCaptionSuffix(*screen));
        Form1->SpeedButton3->setVisible(screen->showsHighIconsButton);
    }
    Form1->Button5->setText(iconsCaptionFor(Form1->Button5));
    Form3->Label1->setText(Form1->LanguageName);

    Form6->Button1->setText(Form2->Button1->text());
    Form6->Button2->setText(Form2->Button2->text());
    Form6->OpenPictureDialog1.Title = Form2->OpenPictureDialog1.Title;
    Form6->Label1->setText(vv::ui::highThemeBusyCaption());

    vv::ui::setCaption(Form7->Label4, Form1->Label4->text());
    vv::ui::setCaption(Form7->Label5, Form1->Label5->text());
    vv::ui::setCaption(Form7->Label6, Form1->Label6->text());
    Form7->Button5->setText(iconsCaptionFor(Form7->Button5));
    Form7->Button2->setText(Form1->Button3->text());
    Form7->Button6->setText(Form1->Button6->text());
    Form7->OpenPictureDialog1.Title = Form1->OpenPictureDialog1.Title;
    Form7->SpeedButton2->setText(Form1->SpeedButton2->text());
    Form7->layOutStrip();
    vv::ui::placeFrameTitle(Form1->Label5, Form1->Bevel2);
    vv::ui::placeFrameTitle(Form1->Label4, Form1->Bevel1);
    vv::ui::applyDatabaseActionTexts();
    for (QWidget* window :
         {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form2), static_cast<QWidget*>(Form3),
          static_cast<QWidget*>(AboutBox), static_cast<QWidget*>(Form6), static_cast<QWidget*>(Form7)})
        vv::ui::refreshToolTips(window);
    vv::ui::updateUndoActions();
}

namespace vv::ui {

void createWindows() {
    // The dialogs' folders belong to one run of the windows.
    forgetDialogFolders();
    Form1 = new TForm1;
    Form2 = new TForm2;
    Form3 = new TForm3;
    AboutBox = new TAboutBox;
    Form6 = new TForm6;
    Form7 = new TForm7;
}

void destroyWindows() {
    delete Form7;
    delete Form6;
    delete AboutBox;
    delete Form3;
    delete Form2;
    delete Form1;
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    AboutBox = nullptr;
    Form6 = nullptr;
    Form7 = nullptr;
}

} // namespace vv::ui
