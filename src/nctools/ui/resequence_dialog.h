#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "machines/machine_settings.h"
#include "nctools/resequence.h"

class QCheckBox;
class QLineEdit;

namespace zantor {

class Interaction;

// "RE/UN-Sequence Block Numbers": the numbering of a resequence run. Every
// machine load fills the fields from the machine (RSSEQST ... RSLZEROS);
// otherwise they keep what the user typed. Removing all numbers disables
// the other fields. OK stays in the dialog, with the error box, while a
// number is no whole number, so that neither a run nor the machine's
// defaults take it.
class TRESEQDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 112;

    explicit TRESEQDlg(Interaction& interaction, QWidget* parent = nullptr);

    void setDefaults(const UtilityDefaults& machine);
    // The fields as the machine's defaults (the setup dialog edits them here).
    void storeDefaults(UtilityDefaults& machine) const;
    // The fields as a run takes them; the error text when a number is no
    // whole number.
    std::optional<std::string> readSettings(ResequenceSettings& settings) const;
    // The settings OK accepted.
    ResequenceSettings settings() const { return settings_; }

    QLineEdit* snum;
    QLineEdit* nincr;
    QLineEdit* maxdig;
    QLineEdit* Seqchrs;
    QLineEdit* skpchrs;
    QCheckBox* lzeros;
    QCheckBox* unseq;

public slots:
    void accept() override;

signals:
    void helpRequested(int context);

private:
    Interaction& interaction_;
    ResequenceSettings settings_;
};

}  // namespace zantor
