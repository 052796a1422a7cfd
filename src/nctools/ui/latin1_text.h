#pragma once

#include <QLineEdit>
#include <QString>
#include <string>

namespace zantor {

// Program text is bytes, one character each: a field shows and gives them
// as Latin-1.
inline QString latin1Text(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}
inline std::string latin1Of(const QLineEdit* edit) { return edit->text().toLatin1().toStdString(); }

}  // namespace zantor
