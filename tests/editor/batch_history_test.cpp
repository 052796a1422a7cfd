#include "editor/batch_history.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zantor::editor {
namespace {

struct Edit {
    long position;
    std::string removed;
    std::string inserted;
    long anchorBefore;
    long caretBefore;
    long caretAfter;
};

void record(BatchHistory& history, const Edit& e) {
    history.record(e.position, e.removed, e.inserted, e.anchorBefore, e.caretBefore, e.caretAfter);
}

void expectStep(const BatchStep& step, const Edit& e) {
    EXPECT_EQ(step.position, e.position);
    EXPECT_EQ(step.removed, e.removed);
    EXPECT_EQ(step.inserted, e.inserted);
    EXPECT_EQ(step.anchorBefore, e.anchorBefore);
    EXPECT_EQ(step.caretBefore, e.caretBefore);
    EXPECT_EQ(step.caretAfter, e.caretAfter);
}

std::string allBytes() {
    std::string text;
    for (int c = 0; c < 256; ++c) text.push_back(char(c));
    return text;
}

// Steps of every shape: an insert, a deletion, a replacement, texts with
// every byte value and texts longer than a piece of the store.
const std::vector<Edit> kEdits = {
    {0, "", "G1 ", 0, 0, 3},
    {17, "X1.5", "", 20, 17, 17},
    {2147483000, "Y", "Y ", 5, 9, 2147483002},
    {40, allBytes(), std::string(1500, 'Z'), 40, 40, 1540},
    {7, std::string(700, 'Q'), allBytes() + allBytes(), 7, 707, 519},
};

TEST(BatchHistory, UndoGivesTheStepsBackLastFirstAndRedoFirstFirst) {
    BatchHistory history;
    for (const Edit& e : kEdits) record(history, e);
    EXPECT_EQ(history.size(), kEdits.size());
    EXPECT_FALSE(history.canRedo());
    BatchStep step;
    for (size_t i = kEdits.size(); i-- > 0;) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(history.canUndo());
        history.takeUndo(step);
        expectStep(step, kEdits[i]);
        EXPECT_EQ(history.applied(), i);
    }
    EXPECT_FALSE(history.canUndo());
    for (size_t i = 0; i < kEdits.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(history.canRedo());
        history.takeRedo(step);
        expectStep(step, kEdits[i]);
    }
    EXPECT_FALSE(history.canRedo());
}

TEST(BatchHistory, ANewEditAfterUndoDropsWhatCouldBeRedoneAndItsText) {
    BatchHistory history;
    for (const Edit& e : kEdits) record(history, e);
    BatchStep step;
    history.takeUndo(step);
    history.takeUndo(step);
    const Edit next{3, "A", "BC", 1, 2, 5};
    record(history, next);
    EXPECT_EQ(history.size(), kEdits.size() - 1);
    EXPECT_FALSE(history.canRedo());
    size_t kept = next.removed.size() + next.inserted.size();
    for (size_t i = 0; i + 2 < kEdits.size(); ++i)
        kept += kEdits[i].removed.size() + kEdits[i].inserted.size();
    EXPECT_EQ(history.textBytes(), kept);
    history.takeUndo(step);
    expectStep(step, next);
    history.takeUndo(step);
    expectStep(step, kEdits[kEdits.size() - 3]);

    history.dropRedo();
    EXPECT_EQ(history.size(), kEdits.size() - 3);
    EXPECT_FALSE(history.canRedo());
}

// Any mix of records, undos, redos and drops leaves the history as a plain
// list of edits with a cursor would be.
TEST(BatchHistory, FollowsAPlainListThroughAnyMixOfOperations) {
    std::mt19937 random(20261211);
    BatchHistory history;
    std::vector<Edit> model;
    size_t applied = 0;
    BatchStep step;
    for (int round = 0; round < 4000; ++round) {
        SCOPED_TRACE(round);
        const int choice = int(random() % 10);
        if (choice < 4) {
            const Edit e{long(random() % 100000),
                         std::string(random() % 40, char('a' + round % 26)),
                         std::string(random() % 700, char('A' + round % 26)),
                         long(random() % 9),
                         long(random() % 9),
                         long(random() % 9)};
            record(history, e);
            model.resize(applied);
            model.push_back(e);
            ++applied;
        } else if (choice < 7) {
            ASSERT_EQ(history.canUndo(), applied > 0);
            if (applied == 0) continue;
            history.takeUndo(step);
            expectStep(step, model[--applied]);
        } else if (choice < 9) {
            ASSERT_EQ(history.canRedo(), applied < model.size());
            if (applied == model.size()) continue;
            history.takeRedo(step);
            expectStep(step, model[applied++]);
        } else {
            history.dropRedo();
            model.resize(applied);
        }
        ASSERT_EQ(history.size(), model.size());
        ASSERT_EQ(history.applied(), applied);
    }
}

}  // namespace
}  // namespace zantor::editor
