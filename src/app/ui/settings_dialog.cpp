#include "app/ui/settings_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <limits>

#include "app/ui/font_conversion.h"
#include "bmacro/evaluate_field.h"
#include "core/interaction.h"
#include "core/real_text.h"
#include "core/ticks.h"
#include "session/run_state.h"
#include "session/settings_keys.h"

namespace zantor {

namespace {

constexpr int rgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

constexpr int kMaxDelaySeconds = 3600;
constexpr int kOtherColour = -1;  // the list entry that opens the colour dialog

QSpinBox* numberField(int low, int high) {
    auto* box = new QSpinBox;
    box->setRange(low, high);
    return box;
}

}  // namespace

const std::array<std::pair<const char*, int>, 16> TZtrSettingsDlg::kNamedColours = {{
    {"Black", rgb(0, 0, 0)},
    {"Maroon", rgb(128, 0, 0)},
    {"Green", rgb(0, 128, 0)},
    {"Olive", rgb(128, 128, 0)},
    {"Navy", rgb(0, 0, 128)},
    {"Purple", rgb(128, 0, 128)},
    {"Teal", rgb(0, 128, 128)},
    {"Gray", rgb(128, 128, 128)},
    {"Silver", rgb(192, 192, 192)},
    {"Red", rgb(255, 0, 0)},
    {"Lime", rgb(0, 255, 0)},
    {"Yellow", rgb(255, 255, 0)},
    {"Blue", rgb(0, 0, 255)},
    {"Fuchsia", rgb(255, 0, 255)},
    {"Aqua", rgb(0, 255, 255)},
    {"White", rgb(255, 255, 255)},
}};

TZtrSettingsDlg::TZtrSettingsDlg(RunState& state, Interaction& interaction, QWidget* parent)
    : QDialog(parent), state_(state), interaction_(interaction) {
    setObjectName("ZtrSettingsDlg");
    setWindowTitle(QString(kProductCaption) + " 2013 Properties");
    tabs = new QTabWidget;
    tabs->addTab(generalPage(), "General");
    tabs->addTab(editorPage(), "Editor");
    tabs->addTab(dncPage(), "DNC");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Help);
    buttons->button(QDialogButtonBox::Help)->setText("&Help");
    connect(buttons, &QDialogButtonBox::accepted, this, &TZtrSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TZtrSettingsDlg::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { emit helpRequested(kHelpContext); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    for (QCheckBox* box : {showSyntax, wordWrap, prettyPrint, colorPrint})
        connect(box, &QCheckBox::clicked, this, &TZtrSettingsDlg::applyEnabling);
    // At most one of the two wrap choices is ticked.
    connect(wrapToWindow, &QCheckBox::clicked, this, [this](bool on) {
        wrapToColumn->setChecked(!on);
        applyEnabling();
    });
    connect(wrapToColumn, &QCheckBox::clicked, this, [this](bool on) {
        wrapToWindow->setChecked(!on);
        applyEnabling();
    });
    for (QLineEdit* field : margins)
        connect(field, &QLineEdit::editingFinished, this, [this, field] { evaluateMargin(field); });
    connect(editorFont, &QPushButton::clicked, this, &TZtrSettingsDlg::chooseEditorFont);
    connect(printerFont, &QPushButton::clicked, this, &TZtrSettingsDlg::choosePrinterFont);
}

QWidget* TZtrSettingsDlg::generalPage() {
    auto* page = new QWidget;
    autoIndent = new QCheckBox("Auto Indentation");
    backup = new QCheckBox("Create Backup File");
    prettyPrint = new QCheckBox("Pretty Printing");
    colorPrint = new QCheckBox("In Color ?");
    wordWrap = new QCheckBox("Wordwrap");
    wrapToWindow = new QCheckBox("Wrap to Window");
    wrapToColumn = new QCheckBox("Wrap to Column");
    wrapColumn = numberField(1, 100000);
    ncWarn = new QCheckBox("Warn Before Running NC-Analyzer");
    analyzer = new QLineEdit;
    analyzer->setObjectName("analyzerCommand");
    analyzer->setToolTip("The command that starts the NC-Code Analyzer");
    useSecure = new QCheckBox("Enable Password Security");
    tabSize = numberField(1, 256);
    printerFont = new QPushButton("Printer Font");

    auto* checks = new QVBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(autoIndent), static_cast<QWidget*>(backup)})
        checks->addWidget(w);
    auto* printing = new QHBoxLayout;
    printing->addWidget(prettyPrint);
    printing->addWidget(colorPrint);
    checks->addLayout(printing);
    checks->addWidget(wordWrap);
    auto* wrap = new QGridLayout;
    wrap->setContentsMargins(20, 0, 0, 0);
    wrap->addWidget(wrapToWindow, 0, 0);
    wrap->addWidget(wrapToColumn, 1, 0);
    wrap->addWidget(wrapColumn, 1, 1);
    checks->addLayout(wrap);
    checks->addWidget(ncWarn);
    auto* analyzerRow = new QFormLayout;
    analyzerRow->addRow("NC-Code Analyzer", analyzer);
    checks->addLayout(analyzerRow);
    checks->addWidget(useSecure);
    checks->addStretch();

    auto* marginGroup = new QGroupBox("Printer Margins in Inches");
    auto* marginForm = new QFormLayout(marginGroup);
    const char* marginNames[] = {"Left", "Top", "Bottom"};
    for (size_t i = 0; i < margins.size(); ++i) {
        margins[i] = new QLineEdit;
        marginForm->addRow(marginNames[i], margins[i]);
    }
    auto* tabGroup = new QGroupBox("Tab Type");
    auto* tabLayout = new QVBoxLayout(tabGroup);
    const char* tabNames[] = {"Fixed Tabs", "Real Tabs", "Smart Tabs"};
    for (size_t i = 0; i < tabTypes.size(); ++i) {
        tabTypes[i] = new QRadioButton(tabNames[i]);
        tabLayout->addWidget(tabTypes[i]);
    }
    auto* size = new QFormLayout;
    size->addRow("Tab Size", tabSize);
    auto* right = new QVBoxLayout;
    right->addWidget(marginGroup);
    right->addWidget(tabGroup);
    right->addLayout(size);
    right->addWidget(printerFont);
    right->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(checks);
    layout->addLayout(right);
    return page;
}

QWidget* TZtrSettingsDlg::editorPage() {
    auto* page = new QWidget;
    showSyntax = new QCheckBox("Syntax Highlighting");
    colourGroup = new QGroupBox("Syntax Highlight Colors");
    auto* colours = new QFormLayout(colourGroup);
    const char* names[] = {"Alpha", "Non-Alpha", "Comments"};
    const auto colourList = [] {
        auto* list = new QComboBox;
        for (const auto& [name, value] : kNamedColours) {
            QPixmap swatch(12, 12);
            swatch.fill(QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff));
            list->addItem(QIcon(swatch), name, value);
        }
        list->addItem("Other...", kOtherColour);
        return list;
    };
    for (size_t i = 0; i < syntaxColours.size(); ++i) {
        syntaxColours[i] = colourList();
        colours->addRow(names[i], syntaxColours[i]);
    }
    backgroundColour = colourList();
    for (QComboBox* list : {syntaxColours[0], syntaxColours[1], syntaxColours[2], backgroundColour})
        connect(list, &QComboBox::activated, this, [this, list] { chooseOtherColour(list); });
    editorFont = new QPushButton("Editor Font");
    sample = new QLabel("N1 G00 X2.5 Y3.2");
    sample->setFrameShape(QFrame::StyledPanel);
    sample->setMinimumHeight(48);
    wordStar = new QCheckBox("Wordstar Commands");

    auto* background = new QFormLayout;
    background->addRow("Editor Background Color", backgroundColour);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(showSyntax);
    layout->addWidget(colourGroup);
    layout->addLayout(background);
    auto* font = new QHBoxLayout;
    font->addWidget(editorFont);
    font->addWidget(sample, 1);
    layout->addLayout(font);
    layout->addWidget(wordStar);
    layout->addStretch();
    return page;
}

QWidget* TZtrSettingsDlg::dncPage() {
    auto* page = new QWidget;
    dncAlert = new QCheckBox("Alert After File Send/Receive");
    rtsLowForWrite = new QCheckBox("Force RTS Low for Disk Writes");
    commentStart = new QLineEdit;
    receiveBuffer = numberField(kMinComBufferSize, kMaxComBufferSize);
    sendBuffer = numberField(kMinComBufferSize, kMaxComBufferSize);
    dtrDelay = numberField(0, kMaxDelaySeconds);
    comOpenDelay = numberField(0, kMaxDelaySeconds);
    auto* form = new QFormLayout(page);
    form->addRow(dncAlert);
    form->addRow(rtsLowForWrite);
    form->addRow("Strip Comment Start ", commentStart);
    form->addRow("Receive Buffer Size", receiveBuffer);
    form->addRow("Send Buffer Size ", sendBuffer);
    form->addRow("DTR Delay (DNC-8 HUB)", dtrDelay);
    form->addRow("Com Port Open Delay", comOpenDelay);
    return page;
}

void TZtrSettingsDlg::showColour(QComboBox* list, int colour) {
    int index = list->findData(colour);
    if (index < 0) {
        // Before "Other...", which stays last.
        index = list->count() - 1;
        list->insertItem(index,
                         QString("RGB %1, %2, %3")
                             .arg(colour & 0xff)
                             .arg((colour >> 8) & 0xff)
                             .arg((colour >> 16) & 0xff),
                         colour);
    }
    list->setCurrentIndex(index);
    list->setProperty("shownColour", colour);
}

void TZtrSettingsDlg::chooseOtherColour(QComboBox* list) {
    const int previous = list->property("shownColour").toInt();
    if (list->currentData().toInt() != kOtherColour) {
        list->setProperty("shownColour", list->currentData());
        return;
    }
    const QColor chosen = QColorDialog::getColor(
        QColor(previous & 0xff, (previous >> 8) & 0xff, (previous >> 16) & 0xff), this);
    showColour(list, chosen.isValid() ? chosen.red() + 256 * chosen.green() + 65536 * chosen.blue()
                                      : previous);
}

int TZtrSettingsDlg::colourOf(const QComboBox* list) {
    return list->currentData().toInt();
}

void TZtrSettingsDlg::showEvent(QShowEvent* event) {
    load();
    QDialog::showEvent(event);
}

void TZtrSettingsDlg::load() {
    const AppSettings& s = state_.Settings;
    autoIndent->setChecked(s.AutoIndent);
    backup->setChecked(s.Backup);
    prettyPrint->setChecked(s.PrettyPrint);
    colorPrint->setChecked(s.ColorPrint);
    wordWrap->setChecked(s.WordWrap);
    wrapToWindow->setChecked(s.WrapToWindow);
    wrapToColumn->setChecked(wrapToColumnChosen_);
    wrapColumn->setValue(s.WrapColumn);
    ncWarn->setChecked(s.NcWarn);
    analyzer->setText(QString::fromLatin1(s.Analyzer.c_str()));
    useSecure->setChecked(s.UseSecure);
    const double values[] = {s.MarginLeft, s.MarginTop, s.MarginBottom};
    for (size_t i = 0; i < margins.size(); ++i)
        margins[i]->setText(QString::fromStdString(FormatReal5(values[i])));
    for (size_t i = 0; i < tabTypes.size(); ++i) tabTypes[i]->setChecked(int(i) == s.TabType);
    tabSize->setValue(s.TabSize);
    showSyntax->setChecked(s.ShowSyntax);
    showColour(syntaxColours[0], s.AlphaColor);
    showColour(syntaxColours[1], s.NonAlphaColor);
    showColour(syntaxColours[2], s.CommentColor);
    showColour(backgroundColour, s.EditorColor);
    sample->setFont(toQFont(state_.EditorFont));
    wordStar->setChecked(s.WordStar);
    dncAlert->setChecked(s.DncAlert);
    rtsLowForWrite->setChecked(s.RtsLowForWrite);
    commentStart->setText(QString::fromLatin1(s.LineCommentChar.c_str()));
    receiveBuffer->setValue(s.ComInSize);
    sendBuffer->setValue(s.ComOutSize);
    dtrDelay->setValue(TicksToSecs(state_.DtrDelayTicks));
    comOpenDelay->setValue(TicksToSecs(state_.ComOpenDelayTicks));
    applyEnabling();
}

void TZtrSettingsDlg::applyEnabling() {
    const bool syntax = showSyntax->isChecked();
    colourGroup->setTitle(syntax ? "Syntax Highlight Colors" : "Disabled");
    for (QComboBox* list : syntaxColours) list->setEnabled(syntax);
    const bool wrap = wordWrap->isChecked();
    wrapToWindow->setEnabled(wrap);
    wrapToColumn->setEnabled(wrap);
    wrapColumn->setEnabled(wrap && !wrapToWindow->isChecked());
    colorPrint->setEnabled(prettyPrint->isChecked());
}

void TZtrSettingsDlg::evaluateMargin(QLineEdit* field) {
    std::string text = field->text().toStdString();
    EvaluateField(text, interaction_);
    field->setText(QString::fromStdString(text));
}

void TZtrSettingsDlg::chooseEditorFont() {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, toQFont(state_.EditorFont), this, "Editor Font",
                                            QFontDialog::MonospacedFonts);
    if (!ok) return;
    state_.EditorFont = toFontSpec(font, state_.EditorFont.color);
    sample->setFont(font);
}

void TZtrSettingsDlg::choosePrinterFont() {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, toQFont(state_.PrintFont), this, "Printer Font",
                                            QFontDialog::MonospacedFonts);
    if (ok) state_.PrintFont = toFontSpec(font, state_.PrintFont.color);
}

void TZtrSettingsDlg::accept() {
    // The margins first: one that leaves no room for a line keeps the dialog open.
    std::array<double, 3> inches{};
    const char* keys[] = {"PMARGINL", "PMARGINT", "PMARGINB"};
    for (size_t i = 0; i < margins.size(); ++i) {
        inches[i] = ParseRealOrWarn(margins[i]->text().trimmed().toStdString(), interaction_);
        if (const std::string problem = generalValueProblem(keys[i], FormatReal5(inches[i]));
            !problem.empty()) {
            interaction_.showError(problem);
            tabs->setCurrentIndex(0);
            margins[i]->setFocus();
            return;
        }
    }
    AppSettings& s = state_.Settings;
    s.AutoIndent = autoIndent->isChecked();
    s.Backup = backup->isChecked();
    s.PrettyPrint = prettyPrint->isChecked();
    s.ColorPrint = colorPrint->isChecked();
    s.WordWrap = wordWrap->isChecked();
    s.WrapToWindow = wrapToWindow->isChecked();
    wrapToColumnChosen_ = wrapToColumn->isChecked();
    s.WrapColumn = wrapColumn->value();
    s.NcWarn = ncWarn->isChecked();
    s.Analyzer = analyzer->text().trimmed().toLatin1().toStdString();
    s.UseSecure = useSecure->isChecked();
    s.MarginLeft = inches[0];
    s.MarginTop = inches[1];
    s.MarginBottom = inches[2];
    for (size_t i = 0; i < tabTypes.size(); ++i)
        if (tabTypes[i]->isChecked()) s.TabType = int(i);
    s.TabSize = tabSize->value();
    s.ShowSyntax = showSyntax->isChecked();
    s.AlphaColor = colourOf(syntaxColours[0]);
    s.NonAlphaColor = colourOf(syntaxColours[1]);
    s.CommentColor = colourOf(syntaxColours[2]);
    s.EditorColor = colourOf(backgroundColour);
    s.WordStar = wordStar->isChecked();
    // Both boxes do what they say for this run; RTSLOWFORWRITE is also saved.
    s.DncAlert = dncAlert->isChecked();
    s.RtsLowForWrite = rtsLowForWrite->isChecked();
    s.LineCommentChar = commentStart->text().toLatin1().toStdString();
    s.ComInSize = receiveBuffer->value();
    s.ComOutSize = sendBuffer->value();
    state_.DtrDelayTicks = SecsToTicks(dtrDelay->value());
    state_.ComOpenDelayTicks = SecsToTicks(comOpenDelay->value());
    QDialog::accept();
}

}  // namespace zantor
