#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "editor/ui/listing_printer.h"

class QAction;
class QPrinter;

namespace zantor {

class Interaction;
class TMainForm;

namespace editor {
class TMDIChild;
}

// "&Print...", "P&rint setup..." and the print preview: listings of the
// active editor window on the printer chosen in the setup.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    PrintCommands(TMainForm& form, Interaction& interaction);
    ~PrintCommands() override;

    // The print dialog (offering the selection when there is one), then the
    // listing.
    void print();
    void printSetup();
    void printPreview();

    // Prints the active window, whole or its selected lines, on `printer`;
    // false (the user told why) when nothing was printed.
    bool printActiveWindow(QPrinter& printer, bool selectionOnly, int copies);
    editor::ListingOptions listingOptions(const editor::TMDIChild& window) const;

    QPrinter& printer() { return *printer_; }
    // The date and time a header shows; the system's format unless set.
    std::function<std::string()> now;

private:
    TMainForm& form_;
    Interaction& interaction_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace zantor
