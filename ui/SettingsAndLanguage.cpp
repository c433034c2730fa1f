#include "ui/SettingsAndLanguage.h"

#include "app/LanguageFile.h"
#include "app/LanguageMessages.h"
#include "app/OptionRules.h"
#include "app/Palette.h"
#include "app/SettingsFile.h"
#include "app/SystemScreens.h"
#include "ui/BuildInputs.h"
#include "ui/Dialogs.h"
#include "ui/TAboutBox.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm6.h"
#include "ui/TForm7.h"
#include "ui/WorkHistory.h"

#include <QSignalBlocker>

#include <cstring>

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

void showColourComponent(qint32 value, TLabel* decimal, TLabel* hex, QString& member) {
    decimal->setText(QString::number(value));
    hex->setText(vv::hexByteText(value));
    member = QString::number(value);
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
        Form1->Messages[line.messageIndex] = text;
        return;
    }
}

const QString& iconsCaptionFor(const TButton* button) {
    return button->Tag == 0 ? Form1->ShowIconsCaption : Form1->HideIconsCaption;
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
    Form1->CompressKeyword = vv::compressKeywordFor(s.compress);

    Form1->LanguageIndex = s.languageIndex;
    selectPosition(Form3->ComboBox1, s.languageIndex);
    Form1->ScreenType = vv::screenTypeFromStoredIndex(s.screenIndex);
    selectPosition(Form3->ComboBox2, s.screenIndex);

    showColourComponent(s.red, Form3->Label10, Form3->Label7, Form1->TransparentRed);
    showColourComponent(s.green, Form3->Label11, Form3->Label8, Form1->TransparentGreen);
    showColourComponent(s.blue, Form3->Label12, Form3->Label9, Form1->TransparentBlue);
    Form1->TransparentIndex = QString::number(s.paletteIndex);
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
                                      QStringLiteral(" - Language file is missing or incorrect"));
        return;
    }
    for (const vv::LanguageLine& line : vv::languageLines())
        applyLine(line, (*texts)[line.line - 1]);

    const QString mainCaption = Form1->windowTitle();
    Form7->Button3->setText(Form1->Button10->text());
    Form3->Edit1->setPlaceholderText(Form1->Messages[vv::Message::InstallToolHint]);
    Form3->Edit1->setToolTip(Form1->Messages[vv::Message::InstallToolHint]);
    Form1->Button11->setText(Form1->SnapPromptCaption);
    Form7->Button11->setText(Form1->SnapPromptCaption);

    // A ScreenType no screen has leaves the caption and the button as they are.
    if (const vv::ScreenProfile* screen = vv::screenProfileOf(Form1->ScreenType)) {
        Form1->setWindowTitle(mainCaption + QLatin1String(screen->captionSuffix));
        Form1->SpeedButton3->setVisible(screen->showsHighIconsButton);
    }
    Form1->Button5->setText(iconsCaptionFor(Form1->Button5));
    Form3->Label1->setText(Form1->LanguageName);

    Form6->setWindowTitle(Form2->windowTitle() + QStringLiteral(" Hi-Res"));
    Form6->Button1->setText(Form2->Button1->text());
    Form6->Button2->setText(Form2->Button2->text());
    Form6->OpenPictureDialog1.Title = Form2->OpenPictureDialog1.Title;

    Form7->setWindowTitle(mainCaption + QStringLiteral(" OS5 Hi-Res"));
    vv::ui::setCaption(Form7->Label4, Form1->Label4->text());
    vv::ui::setCaption(Form7->Label5, Form1->Label5->text());
    vv::ui::setCaption(Form7->Label6, Form1->Label6->text());
    Form7->Button5->setText(iconsCaptionFor(Form7->Button5));
    Form7->Button2->setText(Form1->Button3->text());
    Form7->Button6->setText(Form1->Button6->text());
    Form7->OpenPictureDialog1.Title = Form1->OpenPictureDialog1.Title;
    Form7->SpeedButton2->setText(Form1->SpeedButton2->text());
    vv::ui::updateUndoActions();
}

namespace vv::ui {

void createWindows() {
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
