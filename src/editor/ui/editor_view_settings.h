#pragma once

#include <QColor>
#include <QFont>

namespace zantor::editor {

// The per-window view settings, taken from the application settings and
// applied to every view of every editor window.
struct EditorViewSettings {
    QFont font;
    QColor fontColor = Qt::black;
    QColor background = Qt::white;  // EDCOLOR
    int tabSize = 8;
    bool wordWrap = false;
    int wrapColumn = 80;
    bool wrapToWindow = false;
    bool autoIndent = false;
    bool backup = true;
    int tabType = 1;  // 0 fixed, 1 real, 2 smart tabs
    bool showSyntax = true;
    QColor alphaColor = Qt::black;
    QColor nonAlphaColor = Qt::blue;
    QColor commentColor = Qt::red;
    bool wordStar = false;  // the WordStar control keys move the caret and delete
};

// A colour stored as red + 256 * green + 65536 * blue.
inline QColor colourFromSetting(int value) {
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

}  // namespace zantor::editor
