#pragma once

#include <string>

#include "compare/compare_options.h"
#include "compare/difference_list.h"
#include "compare/source_list.h"

namespace zantor::compare {

// Told of every step of a run; throws CompareCanceled to stop it.
class CompareProgress {
public:
    virtual ~CompareProgress() = default;
    virtual void Progress(long long position, long long total, int pass) = 0;
};

class NoCompareProgress : public CompareProgress {
public:
    void Progress(long long, long long, int) override {}
};

struct CompareResult {
    int diffCount = 0;
    long long matchCount = 0;
    bool diffFound = false;
    std::string resultText;
};

// Compares File 1 (`current`, the newer) with File 2 (`previous`), both
// loaded, into `list`. Throws CompareCanceled when `progress` does, and
// CompareError on a cursor fault.
CompareResult CompareFiles(TSourceList& current, TSourceList& previous,
                           const CompareOptions& options, DifferenceList& list,
                           CompareProgress& progress);

// The status text of a run's outcome.
std::string ResultText(const CompareResult& result, const CompareOptions& options,
                       const DifferenceList& list);

}  // namespace zantor::compare
