#include "dnc/slash_escapes.h"

#include <gtest/gtest.h>

namespace zantor {
namespace {

TEST(SlashEscapes, ValuesTextAndDroppedPieces) {
    struct Case {
        std::string text;
        std::string bytes;
    };
    const Case cases[] = {
        {"/027P1A",
         "\x1b"
         "P1A"},
        {"/$1B/$7f", "\x1b\x7f"},
        {"/ 27/  7", "\x1b\x07"},            // leading blanks
        {"/300", std::string(1, char(44))},  // modulo 256
        {"/-50", std::string(1, char(206))},
        {"/000", std::string(1, '\0')},
        {"X/12", "X12"},  // fewer than three: the "/" goes, the rest is text
        {"X/", "X"},
        {"/", ""},
        {"A/1x2B", "AB"},  // three characters that are no integer are dropped
        {"A/$G1B", "AB"},
        {"A/   B", "AB"},
        {"A/2 7B", "AB"},  // a blank inside is no integer
        {"//065", "5"},    // the first "/" takes "/06", no integer: dropped
        {"plain text", "plain text"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(decodeSlashEscapes(c.text), c.bytes) << c.text;
}

TEST(SlashEscapes, PiecesTellEscapesFromText) {
    const auto pieces = parseSlashEscapes("N/-50/0651");
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_FALSE(pieces[0].isValue);
    EXPECT_EQ(pieces[0].character, 'N');
    EXPECT_TRUE(pieces[1].isValue);
    EXPECT_EQ(pieces[1].value, -50);  // a pause where strings are sent live
    EXPECT_TRUE(pieces[2].isValue);
    EXPECT_EQ(pieces[2].value, 65);
    EXPECT_FALSE(pieces[3].isValue);
    EXPECT_EQ(pieces[3].character, '1');
}

}  // namespace
}  // namespace zantor
