#include "editor/gap_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zantor::editor {
namespace {

std::vector<std::string> contents(const GapBuffer<std::string>& store) {
    std::vector<std::string> out;
    for (size_t i = 0; i < store.size(); ++i) out.push_back(store[i]);
    return out;
}

// Replacements all over the store, checked against a plain vector.
TEST(GapBuffer, AgreesWithAPlainListThroughScatteredReplacements) {
    std::vector<std::string> model;
    for (int i = 0; i < 50; ++i) model.push_back("N" + std::to_string(i));
    GapBuffer<std::string> store;
    store.assign(model);
    unsigned seed = 12345;
    const auto next = [&](unsigned bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % bound;
    };
    for (int step = 0; step < 2000; ++step) {
        const size_t first = next(unsigned(model.size()) + 1);
        const size_t count = std::min<size_t>(next(4), model.size() - first);
        std::vector<std::string> with;
        for (unsigned k = next(5); k > 0; --k)
            with.push_back("S" + std::to_string(step) + "." + std::to_string(k));
        if (model.size() - count + with.size() == 0) with.push_back("KEEP");
        const std::vector<std::string> expectedTaken(model.begin() + long(first),
                                                     model.begin() + long(first + count));
        model.erase(model.begin() + long(first), model.begin() + long(first + count));
        model.insert(model.begin() + long(first), with.begin(), with.end());
        ASSERT_EQ(store.replace(first, count, with), expectedTaken) << "step " << step;
        ASSERT_EQ(store.size(), model.size()) << "step " << step;
        if (step % 50 == 0) {
            ASSERT_EQ(contents(store), model) << "step " << step;
        }
    }
    EXPECT_EQ(contents(store), model);
}

}  // namespace
}  // namespace zantor::editor
