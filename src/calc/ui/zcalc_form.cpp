#include "calc/ui/zcalc_form.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/real_text.h"

namespace zantor {

TZcalcform::TZcalcform(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle("Zantor-Calc");
    display_ = new QLineEdit(this);
    display_->setReadOnly(true);
    display_->setAlignment(Qt::AlignRight);
    display_->setFocusPolicy(Qt::NoFocus);
    QFont big = display_->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    display_->setFont(big);

    auto* keys = new QGridLayout;
    const auto addKey = [&](const QString& key, int row, int column) {
        auto* button = new QPushButton(key, this);
        button->setObjectName("Key_" + key);
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumWidth(48);
        connect(button, &QPushButton::clicked, this, [this, key] { press(key); });
        keys->addWidget(button, row, column);
    };
    const QStringList top = {"Back", "CE", "C"};
    for (int i = 0; i < top.size(); ++i) addKey(top[i], 0, 2 + i);
    const QStringList memory = {"MC", "MR", "MS", "M+", "M-"};
    for (int i = 0; i < memory.size(); ++i) addKey(memory[i], 1 + i, 0);
    const QStringList block[4] = {{"7", "8", "9", "/", "Sqrt"},
                                  {"4", "5", "6", "*", "%"},
                                  {"1", "2", "3", "-", "1/x"},
                                  {"0", "+/-", ".", "+", "="}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) addKey(block[r][c], 1 + r, 1 + c);
    memory_ = new QLabel(this);
    keys->addWidget(memory_, 0, 0);

    tape_ = new QListWidget(this);
    tape_->setFocusPolicy(Qt::NoFocus);
    tape_->setFont(QFont("Monospace"));
    count_ = new QLabel(this);
    auto* clearTape = new QPushButton("CT", this);
    clearTape->setToolTip("Clear the tape");
    clearTape->setFocusPolicy(Qt::NoFocus);
    connect(clearTape, &QPushButton::clicked, this, [this] {
        calc_.clearTape();
        refresh();
    });
    auto* tapeBar = new QHBoxLayout;
    tapeBar->addWidget(count_, 1);
    tapeBar->addWidget(clearTape);
    auto* tapeColumn = new QVBoxLayout;
    tapeColumn->addWidget(tape_, 1);
    tapeColumn->addLayout(tapeBar);

    auto* left = new QVBoxLayout;
    left->addWidget(display_);
    left->addLayout(keys);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(tapeColumn, 1);
    setFocusPolicy(Qt::StrongFocus);
    refresh();
}

void TZcalcform::press(const QString& key) {
    calc_.press(key.toStdString());
    refresh();
}

QString TZcalcform::display() const {
    return display_->text();
}

int TZcalcform::tapeLines() const {
    return tape_->count();
}

void TZcalcform::refresh() {
    display_->setText(QString::fromStdString(calc_.display()));
    memory_->setText(calc_.memoryHeld() ? "M" : "");
    tape_->clear();
    for (const std::string& line : calc_.tape()) tape_->addItem(QString::fromStdString(line));
    tape_->scrollToBottom();
    count_->setText(QString("%1 items").arg(calc_.tape().size()));
}

void TZcalcform::copyToClipboard() {
    QApplication::clipboard()->setText(QString::fromStdString(FormatReal5(calc_.value(), true)));
}

void TZcalcform::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: press("="); return;
    case Qt::Key_Backspace: press("Back"); return;
    case Qt::Key_Escape: press("C"); return;
    case Qt::Key_Delete: press("CE"); return;
    default: break;
    }
    if (event->matches(QKeySequence::Copy)) {
        copyToClipboard();
        return;
    }
    if (text.size() == 1 && QString("0123456789.+-*/=%").contains(text)) {
        press(text);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TZcalcform::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction("&Copy To Clipboard", this, &TZcalcform::copyToClipboard);
    menu.exec(event->globalPos());
}

}  // namespace zantor
