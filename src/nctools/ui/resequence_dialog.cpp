#include "nctools/ui/resequence_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/interaction.h"
#include "core/text_util.h"
#include "nctools/ui/dialog_buttons.h"
#include "nctools/ui/latin1_text.h"

namespace zantor {

namespace {

QLineEdit* field(QDialog* dialog, const char* name, const char* text) {
    auto* edit = new QLineEdit(text, dialog);
    edit->setObjectName(name);
    return edit;
}

}  // namespace

TRESEQDlg::TRESEQDlg(Interaction& interaction, QWidget* parent)
    : QDialog(parent),
      snum(field(this, "snum", "10")),
      nincr(field(this, "nincr", "10")),
      maxdig(field(this, "maxdig", "4")),
      Seqchrs(field(this, "Seqchrs", "N/")),
      skpchrs(field(this, "skpchrs", "<(%=$#OE\\^@:")),
      lzeros(new QCheckBox("Use Leading Zeros", this)),
      unseq(new QCheckBox("Remove ALL Sequence Numbers", this)),
      interaction_(interaction) {
    setObjectName("TRESEQDlg");
    setWindowTitle("RE/UN-Sequence Block Numbers");
    lzeros->setObjectName("lzeros");
    unseq->setObjectName("unseq");
    auto* fields = new QFormLayout;
    fields->addRow("Start Number", snum);
    fields->addRow("Number Increment", nincr);
    fields->addRow("Max number of Digits", maxdig);
    fields->addRow("Sequence # Character(s) ", Seqchrs);
    fields->addRow("Skip Lines Starting with:", skpchrs);
    fields->addRow(lzeros);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(unseq);
    layout->addWidget(utilityDialogButtons(this, [this] { emit helpRequested(kHelpContext); }));
    connect(unseq, &QCheckBox::toggled, this, [this](bool removing) {
        for (QWidget* input : {static_cast<QWidget*>(snum), static_cast<QWidget*>(nincr),
                               static_cast<QWidget*>(maxdig), static_cast<QWidget*>(Seqchrs),
                               static_cast<QWidget*>(skpchrs), static_cast<QWidget*>(lzeros)})
            input->setEnabled(!removing);
    });
}

void TRESEQDlg::setDefaults(const UtilityDefaults& machine) {
    snum->setText(latin1Text(machine.ResequenceStart));
    nincr->setText(latin1Text(machine.ResequenceIncrement));
    maxdig->setText(latin1Text(machine.ResequenceMaxDigits));
    Seqchrs->setText(latin1Text(machine.ResequenceChars));
    skpchrs->setText(latin1Text(machine.ResequenceSkipChars));
    lzeros->setChecked(machine.ResequenceLeadingZeros);
}

void TRESEQDlg::storeDefaults(UtilityDefaults& machine) const {
    machine.ResequenceStart = latin1Of(snum);
    machine.ResequenceIncrement = latin1Of(nincr);
    machine.ResequenceMaxDigits = latin1Of(maxdig);
    machine.ResequenceChars = latin1Of(Seqchrs);
    machine.ResequenceSkipChars = latin1Of(skpchrs);
    machine.ResequenceLeadingZeros = lzeros->isChecked();
}

std::optional<std::string> TRESEQDlg::readSettings(ResequenceSettings& settings) const {
    if (auto error = readResequenceNumbers(latin1Of(snum), latin1Of(nincr), latin1Of(maxdig), settings))
        return error;
    settings.sequenceChars = latin1Of(Seqchrs);
    settings.skipChars = latin1Of(skpchrs);
    settings.leadingZeros = lzeros->isChecked();
    settings.remove = unseq->isChecked();
    return std::nullopt;
}

void TRESEQDlg::accept() {
    if (const auto error = readSettings(settings_)) {
        interaction_.showError(*error);
        // The first field that is no whole number, if the user can reach it.
        for (QLineEdit* number : {snum, nincr, maxdig}) {
            if (!parseInt(latin1Of(number))) {
                number->setFocus();
                break;
            }
        }
        return;
    }
    QDialog::accept();
}

}  // namespace zantor
