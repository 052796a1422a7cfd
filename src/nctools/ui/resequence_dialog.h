#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "machines/machine_settings.h"
#include "nctools/resequence.h"

class QCheckBox;
class QLineEdit;

namespace zantor {

// "RE/UN-Sequence Block Numbers": the numbering of a resequence run. Every
// machine load fills the fields from the machine (RSSEQST ... RSLZEROS);
// otherwise they keep what the user typed. Removing all numbers disables
// the other fields.
class TRESEQDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 112;

    explicit TRESEQDlg(QWidget* parent = nullptr);

    void setDefaults(const UtilityDefaults& machine);
    // The fields as a run takes them; the error text when a number is no
    // whole number.
    std::optional<std::string> readSettings(ResequenceSettings& settings) const;

    QLineEdit* snum;
    QLineEdit* nincr;
    QLineEdit* maxdig;
    QLineEdit* Seqchrs;
    QLineEdit* skpchrs;
    QCheckBox* lzeros;
    QCheckBox* unseq;

signals:
    void helpRequested(int context);
};

}  // namespace zantor
