// The expression evaluator on any text: never a crash, and every answer is a
// finite value within the limits or an error code with its position.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "bmacro/expression_evaluator.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zantor::EvalResult r = zantor::Evaluate(text);
    FUZZ_CHECK(r.code >= 0 && r.code <= 9);
    if (r.code == zantor::kEvalOk) {
        FUZZ_CHECK(std::isfinite(r.value));
        FUZZ_CHECK(r.position == 0);
    } else {
        FUZZ_CHECK(r.value == 0);
        FUZZ_CHECK(r.position >= 0 && size_t(r.position) <= size + 1);
    }
    return 0;
}
