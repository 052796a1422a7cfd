#include "app/ui/font_conversion.h"

#include <QFontDatabase>

namespace zantor {

QFont toQFont(const FontSpec& spec) {
    QFont font(QString::fromStdString(spec.name));
    if (spec.size > 0) font.setPointSize(spec.size);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setFixedPitch(true);
    return font;
}

FontSpec toFontSpec(const QFont& font, int color) {
    return FontSpec{font.family().toStdString(), font.pointSize(), color, font.bold(),
                    font.italic()};
}

FontSpec defaultEditorFont() {
    return toFontSpec(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

}  // namespace zantor
