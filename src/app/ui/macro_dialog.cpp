#include "app/ui/macro_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/file_io.h"
#include "core/ini_store.h"
#include "core/interaction.h"
#include "editor/nc_macros.h"
#include "nctools/ui/latin1_text.h"

namespace zantor {

using editor::MacroSlots;

namespace {
std::string bytesOf(const QString& text) {
    return text.toLatin1().toStdString();
}
}  // namespace

MacroDialog::MacroDialog(Interaction& interaction, QWidget* parent)
    : QDialog(parent),
      interaction_(interaction),
      list_(new QListWidget(this)),
      contents_(new QPlainTextEdit(this)),
      machineLabel_(new QLabel(this)) {
    setObjectName("MacroDialog");
    setWindowTitle("NC-Code Macros");
    list_->setObjectName("MacroList");
    contents_->setObjectName("MacroContents");
    contents_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Program text lines up in columns, as in the editor.
    contents_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    contents_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    contents_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    machineLabel_->setObjectName("MachineName");

    auto* defined = new QGroupBox("Defined Macros", this);
    (new QVBoxLayout(defined))->addWidget(list_);
    auto* contentsBox = new QGroupBox("Contents", this);
    (new QVBoxLayout(contentsBox))->addWidget(contents_);
    auto* machineBox = new QGroupBox("Current Machine", this);
    (new QVBoxLayout(machineBox))->addWidget(machineLabel_);

    const auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* add = button("A&dd", "AddButton");
    QPushButton* editName = button("&Edit Name", "EditNameButton");
    QPushButton* remove = button("&Delete", "DeleteButton");
    QPushButton* save = button("&Save", "SaveButton");
    QPushButton* cut = button("Cut", "CutButton");
    QPushButton* copy = button("Copy", "CopyButton");
    QPushButton* paste = button("Paste", "PasteButton");
    connect(add, &QPushButton::clicked, this, &MacroDialog::addMacro);
    connect(editName, &QPushButton::clicked, this, &MacroDialog::editName);
    connect(remove, &QPushButton::clicked, this, &MacroDialog::deleteMacro);
    connect(save, &QPushButton::clicked, this, &MacroDialog::saveCurrent);
    connect(cut, &QPushButton::clicked, contents_, &QPlainTextEdit::cut);
    connect(copy, &QPushButton::clicked, contents_, &QPlainTextEdit::copy);
    connect(paste, &QPushButton::clicked, contents_, &QPlainTextEdit::paste);
    connect(list_, &QListWidget::currentRowChanged, this, &MacroDialog::selectionChanged);
    connect(contents_, &QPlainTextEdit::textChanged, this, [this] {
        if (!loading_) changed_ = true;
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* help = buttons->addButton("Help", QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &MacroDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });

    auto* macroButtons = new QVBoxLayout;
    for (QPushButton* b : {add, editName, remove, save}) macroButtons->addWidget(b);
    macroButtons->addStretch();
    auto* clipButtons = new QHBoxLayout;
    for (QPushButton* b : {cut, copy, paste}) clipButtons->addWidget(b);
    clipButtons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(defined);
    left->addWidget(machineBox);
    auto* right = new QVBoxLayout;
    right->addWidget(contentsBox, 1);
    right->addLayout(clipButtons);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(macroButtons);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);
    resize(760, 420);
}

template <typename Change>
bool MacroDialog::updateSlots(Change change) {
    bool result = false;
    try {
        IniStore::update(path_, [&](IniFile& file) {
            MacroSlots macroSlots(file, machine_);
            result = change(macroSlots);
        });
    } catch (const FileError& error) {
        interaction_.showError(error.what());
        return false;
    }
    return result;
}

void MacroDialog::prepare(const std::string& databasePath, const std::string& machine) {
    path_ = databasePath;
    machine_ = machine;
    current_.clear();
    expanded_.clear();
    machineLabel_->setText(latin1Text(machine));
    std::vector<std::string> names;
    try {
        IniFile file = *IniStore::read(path_);
        names = MacroSlots(file, machine_).names();
    } catch (const FileError& error) {
        interaction_.showError(error.what());
    }
    {
        const QSignalBlocker block(list_);
        list_->clear();
        for (const std::string& name : names) list_->addItem(latin1Text(name));
        list_->setCurrentRow(-1);
    }
    loadContents({});
    changed_ = false;
}

std::vector<std::string> MacroDialog::listNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < list_->count(); ++i) names.push_back(bytesOf(list_->item(i)->text()));
    return names;
}

void MacroDialog::loadContents(const std::vector<std::string>& lines) {
    loading_ = true;
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
    contents_->setPlainText(latin1Text(text));
    loading_ = false;
}

void MacroDialog::selectionChanged() {
    if (changed_) saveCurrent();
    QListWidgetItem* item = list_->currentItem();
    if (!item) return;
    current_ = bytesOf(item->text());
    std::vector<std::string> lines;
    try {
        IniFile file = *IniStore::read(path_);
        lines = MacroSlots(file, machine_).lines(current_);
    } catch (const FileError& error) {
        interaction_.showError(error.what());
    }
    loadContents(lines);
    changed_ = false;
}

bool MacroDialog::saveCurrent() {
    if (current_.empty()) return false;
    const std::vector<std::string> lines = editor::macroLinesOf(bytesOf(contents_->toPlainText()));
    bool full = false;
    const bool saved = updateSlots([&](MacroSlots& macroSlots) {
        full = !macroSlots.save(current_, lines);
        return !full;
    });
    if (full)
        interaction_.showWarning("No room for another macro: a machine holds at most " +
                                 std::to_string(editor::kMaxMacros) +
                                 ". Delete one to save this one.");
    if (saved) changed_ = false;
    return saved;
}

void MacroDialog::addMacro() {
    if (changed_) saveCurrent();
    const std::vector<std::string> names = listNames();
    const std::string proposal = editor::uniqueMacroName(names, editor::kNewMacroName);
    const std::optional<std::string> answer =
        interaction_.inputText("Enter a New Macro Name", "NC-code macros", proposal);
    // A second macro of one name would replace the first when saved.
    const std::string name =
        editor::uniqueMacroName(names, answer && !answer->empty() ? *answer : proposal);
    {
        const QSignalBlocker block(list_);
        list_->addItem(latin1Text(name));
        list_->setCurrentRow(list_->count() - 1);
    }
    loadContents({});
    current_ = name;
    changed_ = true;
}

void MacroDialog::editName() {
    QListWidgetItem* item = list_->currentItem();
    if (!item) return;
    const std::string old = bytesOf(item->text());
    const std::optional<std::string> answer =
        interaction_.inputText("New Macro Description", "NC-Code Macros", old);
    if (!answer || answer->empty() || *answer == old) return;
    std::vector<std::string> others = listNames();
    std::erase(others, old);
    const std::string name = editor::uniqueMacroName(others, *answer);
    updateSlots([&](MacroSlots& macroSlots) {
        macroSlots.remove(old);
        return true;
    });
    item->setText(latin1Text(name));
    current_ = name;
    saveCurrent();
}

void MacroDialog::deleteMacro() {
    QListWidgetItem* item = list_->currentItem();
    if (!item) return;
    if (interaction_.message(MessageKind::Confirmation, "Delete Current Macro ?", Buttons::YesNo) !=
        Answer::Yes)
        return;
    const std::string name = bytesOf(item->text());
    updateSlots([&](MacroSlots& macroSlots) {
        macroSlots.remove(name);
        return true;
    });
    {
        const QSignalBlocker block(list_);
        delete list_->takeItem(list_->row(item));
        list_->setCurrentRow(-1);
    }
    current_.clear();
    loadContents({});
    changed_ = false;
}

void MacroDialog::accept() {
    if (!list_->currentItem()) {
        reject();
        return;
    }
    if (changed_ && !saveCurrent()) return;
    const std::vector<std::string> lines = editor::macroLinesOf(bytesOf(contents_->toPlainText()));
    const auto text = editor::expandMacro(lines, [this](const std::string& p) {
        return interaction_
            .inputText("NC-Code Macro", "Enter Setting for Register -" + p + "-", "0")
            .value_or("0");
    });
    if (!text) {
        interaction_.showWarning("The macro comes to more than " +
                                 std::to_string(editor::kMaxExpandedMacro) +
                                 " characters and was not inserted.");
        return;
    }
    expanded_ = *text;
    QDialog::accept();
}

}  // namespace zantor
