#include "compare/ui/compare_printing.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace zantor {

PrintOutcome printLines(QWidget* parent, const QString& jobTitle,
                        const std::vector<std::string>& lines, const QFont& font) {
    QPrinter printer;
    printer.setDocName(jobTitle);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return PrintOutcome::Canceled;
    QString text;
    for (const std::string& line : lines) text += QString::fromLatin1(line) + "\n";
    QTextDocument document;
    document.setDefaultFont(font);
    document.setPlainText(text);
    document.print(&printer);
    return printer.printerState() == QPrinter::Error ? PrintOutcome::Failed : PrintOutcome::Printed;
}

}  // namespace zantor
