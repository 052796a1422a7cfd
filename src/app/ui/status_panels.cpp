#include "app/ui/status_panels.h"

#include <QLabel>
#include <QStatusBar>

#include "editor/ui/tmdi_child.h"

namespace zantor {

StatusPanels::StatusPanels(QStatusBar& bar) : QObject(&bar) {
    const int widths[6] = {90, 70, 110, 90, 130, 70};
    for (size_t i = 0; i < panels_.size(); ++i) {
        auto* panel = new QLabel(&bar);
        panel->setObjectName(QString("StatusPanel%1").arg(i + 1));
        panel->setMinimumWidth(widths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar.addPermanentWidget(panel);
        panels_[i] = panel;
    }
    connect(&bar, &QStatusBar::messageChanged, this, [this](const QString& hint) {
        for (QLabel* panel : panels_) panel->setVisible(hint.isEmpty());
    });
}

void StatusPanels::show(const editor::TMDIChild* window) {
    if (!window) {
        for (QLabel* panel : panels_) panel->clear();
        return;
    }
    const editor::TextPosition caret = window->Caret();
    panels_[0]->setText(QString("%1:%2").arg(caret.line).arg(caret.column));
    panels_[1]->setText(window->Modified() ? "Modified" : "");
    panels_[2]->setText(QString("Total: %1").arg(window->LineCount()));
    panels_[3]->setText(QString("Top: %1").arg(window->TopLine()));
    panels_[4]->setText(QString("Bytes: %1").arg(window->ByteCount()));
    panels_[5]->setText(window->InsertMode() ? "Insert" : "Overwrite");
}

QString StatusPanels::text(int panel) const {
    return panels_[size_t(panel - 1)]->text();
}

}  // namespace zantor
