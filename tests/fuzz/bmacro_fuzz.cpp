// The B-Macro interpreter on any program: it ends (a step limit stands for
// Cancel), never crashes, and writes no more lines than it executed.
#include <cstdint>
#include <string>

#include "bmacro/bmacro_interpreter.h"
#include "editor/nc_document.h"
#include "fuzz_check.h"

namespace {
class Host : public zantor::BMacroHost {
public:
    void error(const std::string&) override {}
    std::optional<double> askNumber(const std::string&, double v) override { return v; }
    bool lineDone(int, int, const std::string&) override { return false; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    zantor::editor::NcDocument program;
    program.InsertText(std::string(reinterpret_cast<const char*>(data), size));
    zantor::BMacroOptions options;
    options.maxSteps = 2000;
    Host host;
    long long lines = 0;
    const zantor::BMacroOutcome outcome =
        zantor::runBMacro(program, options, host, [&](const std::string&) { ++lines; });
    FUZZ_CHECK(outcome.linesExecuted <= options.maxSteps);
    FUZZ_CHECK(lines <= outcome.linesExecuted + 1);
    return 0;
}
