#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <chrono>

#include "editor/slow_search_watch.h"

namespace zantor {
class Interaction;
}

namespace zantor::editor {

// Watches a search on the desktop: past the threshold the busy cursor shows
// and Esc stops the search. While it runs long, the events waiting are
// handled so the screen and the ports keep going, but the user's keys and
// clicks are held back (bar Esc), so nothing edits or closes the document
// under the search.
class EscapeSearchWatch : public QObject, public SearchWatch {
public:
    explicit EscapeSearchWatch(Interaction& interaction, std::chrono::milliseconds threshold =
                                                             SlowSearchWatch::kDefaultThreshold);
    ~EscapeSearchWatch() override;

    bool keepGoing() override { return watch_.keepGoing(); }
    bool stopped() const { return watch_.stopped(); }
    // Past the threshold: the busy cursor shows and Esc counts.
    bool slow() const { return watch_.slow(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool escapePressed();

    Interaction& interaction_;
    QElapsedTimer timer_;
    SlowSearchWatch watch_;
    bool filtering_ = false;
    bool escape_ = false;
};

}  // namespace zantor::editor
