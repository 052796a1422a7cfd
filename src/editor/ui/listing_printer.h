#pragma once

#include <QColor>
#include <QFont>
#include <string>
#include <vector>

#include "editor/listing_layout.h"

class QPrinter;

namespace zantor::editor {

// What a listing prints besides its lines, and how.
struct ListingOptions {
    bool pretty = true;   // framed header, page numbers, styled lines
    bool colour = false;  // styled in colours rather than bold and italic
    double marginLeft = 1.0;
    double marginTop = 0.5;
    double marginBottom = 0.5;
    QFont font;
    QColor alphaColor = Qt::black;
    QColor nonAlphaColor = Qt::blue;
    QColor commentColor = Qt::red;
    std::string commentStart;
    std::string commentEnd;
    std::string fileName;  // full path
    std::string now;       // date and time as the header shows it
    long long byteCount = 0;
    int copies = 1;        // printed one after another in the job
};

// The page geometry of a formatted listing on `printer`.
ListingMetrics listingMetrics(QPrinter& printer, const ListingOptions& options);

// Prints `lines` on `printer` as a formatted or a plain listing, `copies`
// times. Throws EditorError before anything is printed when the margins
// leave no room; returns false when the printer cannot be opened.
bool printListing(QPrinter& printer, const std::vector<std::string>& lines,
                  const ListingOptions& options);

}  // namespace zantor::editor
