#pragma once

#include <QFont>

#include "session/run_state.h"

namespace zantor {

QFont toQFont(const FontSpec& spec);
// The font's name, size and style; the colour is not part of a QFont.
FontSpec toFontSpec(const QFont& font, int color = 0);
// The system's fixed-pitch font, the editor's font until the settings name one.
FontSpec defaultEditorFont();

}  // namespace zantor
