#include "app/ui/print_commands.h"

#include <QAction>
#include <QDateTime>
#include <QLocale>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/ui/font_conversion.h"
#include "app/ui/main_form.h"
#include "core/interaction.h"
#include "editor/ui/editor_view_settings.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"

namespace zantor {

using editor::TMDIChild;

PrintCommands::PrintCommands(TMainForm& form, Interaction& interaction)
    : QObject(&form),
      form_(form),
      interaction_(interaction),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    now = [] {
        return QLocale::system()
            .toString(QDateTime::currentDateTime(), QLocale::ShortFormat)
            .toStdString();
    };
    if (auto* print = form.findChild<QAction*>("actionPrint"))
        connect(print, &QAction::triggered, this, &PrintCommands::print);
    if (auto* print = form.findChild<QAction*>("contextPrint")) {
        print->setEnabled(true);
        connect(print, &QAction::triggered, this, &PrintCommands::print);
    }
    QMenu* file = form.fileMenu();
    auto* setup = new QAction("P&rint setup...", &form);
    setup->setObjectName("actionPrintSetup");
    setup->setStatusTip("Define printer options");
    connect(setup, &QAction::triggered, this, &PrintCommands::printSetup);
    auto* preview = new QAction("Print Pre&view...", &form);
    preview->setObjectName("actionPrintPreview");
    preview->setStatusTip("Show the pages of the listing before printing them");
    connect(preview, &QAction::triggered, this, &PrintCommands::printPreview);
    // Right after "&Print...".
    const QList<QAction*> entries = file->actions();
    QAction* next = entries.value(entries.indexOf(form.findChild<QAction*>("actionPrint")) + 1);
    file->insertAction(next, preview);
    file->insertAction(next, setup);
}

PrintCommands::~PrintCommands() = default;

editor::ListingOptions PrintCommands::listingOptions(const TMDIChild& window) const {
    const RunState& state = form_.session().state;
    const AppSettings& s = state.Settings;
    editor::ListingOptions options;
    options.pretty = s.PrettyPrint;
    options.colour = s.ColorPrint;
    options.marginLeft = s.MarginLeft;
    options.marginTop = s.MarginTop;
    options.marginBottom = s.MarginBottom;
    options.font = toQFont(state.PrintFont);
    options.alphaColor = editor::colourFromSetting(s.AlphaColor);
    options.nonAlphaColor = editor::colourFromSetting(s.NonAlphaColor);
    options.commentColor = editor::colourFromSetting(s.CommentColor);
    options.commentStart = state.CurrentSettings.Format.CommentStart;
    options.commentEnd = state.CurrentSettings.Format.CommentEnd;
    options.fileName = window.FileName();
    options.now = now();
    options.byteCount = window.ByteCount();
    return options;
}

bool PrintCommands::printActiveWindow(QPrinter& printer, bool selectionOnly, int copies) {
    TMDIChild* window = form_.workspace().ActiveEditorWindow();
    if (!window) return false;
    editor::ListingOptions options = listingOptions(*window);
    options.copies = copies;
    try {
        const BusyCursor busy(interaction_);
        if (editor::printListing(printer, editor::ListingLines(*window, selectionOnly), options))
            return true;
    } catch (const editor::EditorError& e) {
        interaction_.message(MessageKind::Error, e.what(), Buttons::Ok);
        return false;
    }
    interaction_.message(MessageKind::Error,
                         "Cannot print to \"" + printer.printerName().toStdString() + "\"",
                         Buttons::Ok);
    return false;
}

void PrintCommands::print() {
    if (!form_.workspace().RequireActiveDocument()) return;
    TMDIChild* window = form_.workspace().ActiveEditorWindow();
    QPrintDialog dialog(printer_.get(), &form_);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, window->GetSelection().present);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted) return;
    // A printer that makes the copies itself gets the listing once.
    const int copies = printer_->supportsMultipleCopies() ? 1 : printer_->copyCount();
    printActiveWindow(*printer_, dialog.printRange() == QAbstractPrintDialog::Selection, copies);
}

void PrintCommands::printSetup() {
    QPageSetupDialog dialog(printer_.get(), &form_);
    dialog.exec();
}

void PrintCommands::printPreview() {
    if (!form_.workspace().RequireActiveDocument()) return;
    QPrintPreviewDialog preview(printer_.get(), &form_);
    preview.setWindowTitle("Print Preview");
    bool refused = false;
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* printer) {
        if (!refused) refused = !printActiveWindow(*printer, false, 1);
    });
    preview.exec();
}

}  // namespace zantor
