#include "ui/TForm3.h"
#include "common/SystemScreens.h"

#include "app/CheckTexts.h"
#include "app/OptionRules.h"
#include "app/SettingsFile.h"
#include "ui/Artwork.h"
#include "ui/BuildInputs.h"
#include "ui/Dialogs.h"
#include "ui/FileDialogFolders.h"
#include "ui/SettingsAndLanguage.h"
#include "ui/TAboutBox.h"
#include "ui/TForm1.h"
#include "ui/WorkHistory.h"

#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QShowEvent>
#include <QSignalBlocker>

TForm3* Form3 = nullptr;

using namespace vv::ui;

namespace {

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, bool checked, int x,
                        int y) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(x, y, 118, 17);
    box->setChecked(checked);
    return box;
}

TLabel* makeColourCell(QWidget* parent, const char* name, const QColor& colour, int x, int y) {
    TLabel* cell = makeLabel(parent, name, QString(), x, y, 25, 17);
    cell->setAlignment(Qt::AlignCenter);
    cell->setAutoFillBackground(true);
    QPalette palette = cell->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, colour == Qt::blue || colour == Qt::red ? Qt::white : Qt::black);
    cell->setPalette(palette);
    return cell;
}

} // namespace

TForm3::TForm3(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Options"));
    setupFixedWindow(this, 592, 156);

    // Made in this order on purpose: a later control stacks above an earlier
    // one and follows it in the tab order.
    makeDepthBoxes();
    makeScreenAndLanguage();
    makeColourRow();
    makeCompressionBox();
    makeDialogButtons();
    makeInstallToolRow();
    connectHandlers();
}

void TForm3::makeDepthBoxes() {
    Label4 = makeLabel(this, "Label4", QStringLiteral(" - Icon Bitdepth - "), 8, 2);
    CheckBox1 = makeCheckBox(this, "CheckBox1", QStringLiteral("0&1 bpp Icons"), false, 8, 18);
    CheckBox2 = makeCheckBox(this, "CheckBox2", QStringLiteral("0&2 bpp Icons"), false, 8, 35);
    CheckBox3 = makeCheckBox(this, "CheckBox3", QStringLiteral("0&4 bpp Icons"), false, 8, 52);
    CheckBox4 = makeCheckBox(this, "CheckBox4", QStringLiteral("0&8 bpp Icons"), false, 8, 69);
    CheckBox6 = makeCheckBox(this, "CheckBox6", QStringLiteral("1&6 bpp Icons"), true, 8, 86);
}

void TForm3::makeScreenAndLanguage() {
    Label3 = makeLabel(this, "Label3", QStringLiteral("System Scr&een:"), 130, 2);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setGeometry(130, 18, 118, 21);
    ComboBox2->addItems(vv::systemScreenNames());
    ComboBox2->setCurrentIndex(-1);
    Label3->setBuddy(ComboBox2);
    Label2 = makeLabel(this, "Label2", QStringLiteral("Select &Language:"), 130, 44);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(130, 60, 118, 21);
    Label2->setBuddy(ComboBox1);
    Label1 = makeLabel(this, "Label1", QStringLiteral("English"), 130, 84, 118, 17);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TForm3::makeColourRow() {
    Label13 = makeLabel(this, "Label13", QString(), 256, 2, 129, 17);
    Label13->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Panel1 = makeLabel(this, "Panel1", QStringLiteral("Select"), 388, 2, 72, 17);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setAutoFillBackground(true);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setCursor(Qt::PointingHandCursor);
    QFont bold = Panel1->font();
    bold.setBold(true);
    Panel1->setFont(bold);
    setSwatchColour(QColor(0, 255, 0));
    Label14 = makeLabel(this, "Label14", QStringLiteral("Hex"), 300, 24);
    Label15 = makeLabel(this, "Label15", QStringLiteral("Dec"), 300, 44);
    Label7 = makeColourCell(this, "Label7", Qt::red, 332, 24);
    Label8 = makeColourCell(this, "Label8", Qt::green, 358, 24);
    Label9 = makeColourCell(this, "Label9", Qt::blue, 384, 24);
    Label10 = makeColourCell(this, "Label10", Qt::red, 332, 44);
    Label11 = makeColourCell(this, "Label11", Qt::green, 358, 44);
    Label12 = makeColourCell(this, "Label12", Qt::blue, 384, 44);
}

void TForm3::makeCompressionBox() {
    Label6 = makeLabel(this, "Label6", QStringLiteral(" Bitmap Compression "), 256, 68);
    CheckBox5 = makeCheckBox(this, "CheckBox5", QStringLiteral("Ena&ble Compress"), true, 256, 86);
}

void TForm3::makeDialogButtons() {
    Button1 = makeButton(this, "Button1", QStringLiteral("&Save"), 392, 66, 90, 20);
    Button2 = makeButton(this, "Button2", QStringLiteral("&Apply"), 392, 88, 90, 20);
    Button4 = makeButton(this, "Button4", QStringLiteral("&Close"), 392, 110, 90, 20);

    ProgramIcon = new TImage(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(488, 8, 100, 100);
    ProgramIcon->setPicture(programPicture());
}

void TForm3::makeInstallToolRow() {
    Label5 = makeLabel(this, "Label5", QStringLiteral(" &Path to the handheld's install tool: "), 4, 116);
    Edit1 = new QLineEdit(vv::defaultInstallTool(), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(4, 132, 489, 21);
    Edit1->setMaxLength(299);
    // What to put here is not obvious where no desktop suite exists.
    Edit1->setPlaceholderText(vv::checktexts::builtIn(vv::Message::InstallToolPlaceholder));
    setToolTipText(Edit1, vv::checktexts::builtIn(vv::Message::InstallToolHint));
    Label5->setBuddy(Edit1);
    Button3 = makeButton(this, "Button3", QStringLiteral("Selec&t"), 498, 132, 90, 21);
    OpenDialog1.Title = QStringLiteral("Choose the install tool");
}

void TForm3::connectHandlers() {
    for (const vv::BitDepthRow& row : vv::kBitDepthRows)
        connect(depthBox(row.bpp), &QCheckBox::toggled, this, &TForm3::CheckBox1Click);
    connect(CheckBox5, &QCheckBox::toggled, this, &TForm3::CheckBox5Click);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm3::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm3::Button4Click);
    connect(Panel1, &TLabel::clicked, this, &TForm3::Panel1Click);
    connect(ProgramIcon, &TImage::clicked, this, &TForm3::ProgramIconClick);
    vv::ui::installUndoActions(this, false);
}

void TForm3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Every showing counts as an activation: on opening and on return from About.
    if (event->spontaneous())
        return;
    FormActivate();
    // Edits made before About was opened are still unsaved after it.
    if (!backFromAbout_)
        SavedOptions = OptionsRecord();
}

void TForm3::closeEvent(QCloseEvent* event) {
    if (!mayClose()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool TForm3::hasUnsavedEdits() const {
    return OptionsRecord() != SavedOptions;
}

bool TForm3::mayClose() {
    if (!hasUnsavedEdits())
        return true;
    const QStringList messages = currentMessages();
    const int answer =
        vv::dialogs().askChoice(vv::messageOrBuiltIn(messages, vv::Message::OptionsUnsavedQuestion),
                                {vv::messageOrBuiltIn(messages, vv::Message::SaveAnswer),
                                 vv::messageOrBuiltIn(messages, vv::Message::DiscardAnswer),
                                 vv::messageOrBuiltIn(messages, vv::Message::CancelAnswer)});
    switch (answer) {
    case 0:
        return save();
    case 1:
        // The main window reads the saved settings back into the dialog on its return.
        return true;
    default:
        return false;
    }
}

bool TForm3::save() {
    if (!SaveSettings(StartDir))
        return false;
    SavedOptions = OptionsRecord();
    vv::dialogs().showMessage(vv::messageOrBuiltIn(currentMessages(), vv::Message::OptionsSaved));
    return true;
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Button4Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm3::FormActivate() {
    Label1->setText(Form1->LanguageName);
    ComboBox1->clear();
    QStringList names;
    const QStringList files =
        QDir(vv::languageFolder(StartDir)).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        names << vv::languageNameFromFileName(file);
    names.sort(Qt::CaseInsensitive);
    ComboBox1->addItems(names);
    const int index = Form1->LanguageIndex;
    ComboBox1->setCurrentIndex(index >= 0 && index < ComboBox1->count() ? index : -1);
}

void TForm3::Button1Click() {
    save();
}

void TForm3::Button2Click() {
    if (SaveSettings(StartDir))
        SavedOptions = OptionsRecord();
    const std::optional<QString> languageFile = LoadSettings(StartDir);
    if (!languageFile)
        vv::dialogs().showMessage(Form1->Messages[vv::Message::SettingsNotReadBack]);
    ApplyLanguage(languageFile.value_or(QString()));
}

void TForm3::Button3Click() {
    OpenDialog1.InitialDir = QDir::rootPath();
    // Programs are known by their names only on Windows.
#ifdef Q_OS_WIN
    OpenDialog1.Filter = fileDialogFilter(currentText(vv::Message::ProgramFilter),
                                          QStringLiteral("*.exe *.com *.bat *.pif *.lnk"));
#else
    OpenDialog1.Filter = currentText(vv::Message::AllFilesFilter) + QStringLiteral(" (*)");
#endif
    const QString chosen = OpenDialog1.Execute();
    if (chosen.isEmpty())
        return;
    Edit1->setText(QDir::toNativeSeparators(chosen));
    if (!vv::isRunnableInstallTool(chosen)) {
        Edit1->clear();
        vv::dialogs().showMessage(Form1->Messages[vv::Message::InstallToolNotRunnable]);
    }
}

void TForm3::Button4Click() {
    close();
}

void TForm3::CheckBox1Click() {
    vv::DepthSet depths = checkedDepths();
    if (vv::keepOneBitDepth(depths))
        depthBox(vv::kFallbackBitDepth)->setChecked(true);
}

QCheckBox* TForm3::depthBox(int bpp) const {
    const vv::BitDepthRow* row = vv::bitDepthRow(bpp);
    Q_ASSERT(row);
    return findChild<QCheckBox*>(QLatin1String(row->optionsCheckBox), Qt::FindDirectChildrenOnly);
}

vv::DepthSet TForm3::checkedDepths() const {
    vv::DepthSet depths;
    for (const vv::BitDepthRow& row : vv::kBitDepthRows)
        depths.set(row.bpp, depthBox(row.bpp)->isChecked());
    return depths;
}

void TForm3::showDepths(vv::DepthSet depths) {
    for (const vv::BitDepthRow& row : vv::kBitDepthRows) {
        QCheckBox* box = depthBox(row.bpp);
        const QSignalBlocker quiet(box);
        box->setChecked(depths.contains(row.bpp));
    }
}

void TForm3::CheckBox5Click() {
    Form1->CompressKeyword = vv::compressKeywordFor(CheckBox5->isChecked());
}

void TForm3::Panel1Click() {
    const std::optional<QColor> colour = vv::dialogs().chooseColor(Panel1->palette().color(QPalette::Window));
    if (!colour)
        return;
    const vv::ColourChoice choice = vv::describeColourChoice(*colour);
    Label13->setText(choice.platformValue);
    Label7->setText(choice.hexRed);
    Label8->setText(choice.hexGreen);
    Label9->setText(choice.hexBlue);
    Label10->setText(choice.decRed);
    Label11->setText(choice.decGreen);
    Label12->setText(choice.decBlue);
    setSwatchColour(*colour);
    Panel1->setText(QString::number(choice.paletteIndex));
    TransparentIndex = Panel1->text();
}

void TForm3::ProgramIconClick() {
    hide();
    vv::dialogs().showModal(AboutBox);
    backFromAbout_ = true;
    show();
    backFromAbout_ = false;
}

void TForm3::setSwatchColour(const QColor& colour) {
    QPalette palette = Panel1->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, colour.lightness() < 128 ? Qt::white : Qt::black);
    Panel1->setPalette(palette);
}
