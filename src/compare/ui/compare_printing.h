#pragma once

#include <QFont>
#include <QString>
#include <string>
#include <vector>

class QWidget;

namespace zantor {

enum class PrintOutcome { Printed, Canceled, Failed };

// Asks for a printer and prints the lines (Latin-1 bytes) in `font`.
PrintOutcome printLines(QWidget* parent, const QString& jobTitle,
                        const std::vector<std::string>& lines, const QFont& font);

}  // namespace zantor
