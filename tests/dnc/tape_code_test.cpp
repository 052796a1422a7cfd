#include "dnc/tape_code.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace zantor {
namespace {

TEST(TapeCode, EiaCodesOfAProgramLine) {
    // N10G1: "N" 0x45, "1" 0x01, "0" 0x20, "G" 0x67, "1" 0x01.
    const std::string line = "N10G1";
    std::string codes;
    for (const char c : line) codes += char(encodeEia(uint8_t(c)));
    EXPECT_EQ(codes, "\x45\x01\x20\x67\x01");
    EXPECT_EQ(encodeEia('\r'), 0x80);  // end of block
    EXPECT_EQ(encodeEia(' '), 0x10);   // the blank; 0x20 is the digit zero
    EXPECT_EQ(encodeEia('%'), 0x0B);   // rewind stop
    EXPECT_EQ(encodeEia('g'), encodeEia('G'));
    EXPECT_EQ(encodeEia('x'), 0x37);
}

TEST(TapeCode, EveryEiaCodeHasOddParityInChannelFive) {
    for (int b = 0; b < 256; ++b) {
        if (!hasEiaCode(uint8_t(b))) continue;
        const uint8_t code = encodeEia(uint8_t(b));
        if (code == 0x00) continue;  // blank tape: no holes at all
        EXPECT_EQ(__builtin_popcount(code) % 2, 1) << std::hex << b;
    }
}

TEST(TapeCode, CharactersWithoutAnEiaCode) {
    for (const int b : std::initializer_list<int>{'<', '>', '{', '}', '_', '^', '|', '\'', 0x01, 0x1B, 0xE9, 0x8C})
        EXPECT_FALSE(hasEiaCode(uint8_t(b))) << b;
    for (const int b : std::initializer_list<int>{'(', ')', ':', '=', '~', '*', '\t', '\r', '\n', 0x1A, 0x7F, 'q'})
        EXPECT_TRUE(hasEiaCode(uint8_t(b))) << b;
    EXPECT_EQ(encodeEia('{'), 0x20);  // what the bare table gives; callers refuse it first
}

// Every character whose code no other character shares comes back as itself.
TEST(TapeCode, UniqueEiaCodesRoundTrip) {
    std::map<uint8_t, std::set<uint8_t>> byCode;
    for (int b = 0; b < 256; ++b) {
        const uint8_t byte = uint8_t(b);
        if (hasEiaCode(byte) && !(byte >= 'a' && byte <= 'z')) byCode[encodeEia(byte)].insert(byte);
    }
    int unique = 0;
    for (const auto& [code, bytes] : byCode) {
        if (bytes.size() != 1) continue;
        const uint8_t byte = *bytes.begin();
        ++unique;
        if (byte == 0x7F) {
            EXPECT_EQ(decodeEia(code), 0x00);  // the delete code punches out a mistake: no data
            continue;
        }
        EXPECT_EQ(decodeEia(code), byte) << std::hex << int(byte);
    }
    EXPECT_EQ(unique, 59);
}

TEST(TapeCode, SharedEiaCodesDecodeToOneOfThem) {
    const std::pair<std::string, char> shared[] = {
        {"(:", ':'}, {")~", '~'}, {"%=", '%'}, {std::string("\r\x8D", 2), '\n'}};
    for (const auto& [characters, decoded] : shared) {
        for (const char c : characters) {
            EXPECT_EQ(encodeEia(uint8_t(c)), encodeEia(uint8_t(characters[0])));
            EXPECT_EQ(decodeEia(encodeEia(uint8_t(c))), uint8_t(decoded));
        }
    }
    EXPECT_EQ(decodeEia(0x03), '?');  // no such hole pattern
}

TEST(TapeCode, EvenParity) {
    EXPECT_EQ(addEvenParity('G'), 0x47);  // four one bits
    EXPECT_EQ(addEvenParity('1'), 0xB1);  // three: gains bit 7
    EXPECT_EQ(addEvenParity('\r'), 0x8D);
    EXPECT_EQ(addEvenParity('\n'), 0x0A);
    EXPECT_EQ(addEvenParity(0xB1), 0xB1);
    EXPECT_EQ(addEvenParity(0xC7), 0x47);  // a wrong parity bit is corrected
    for (int b = 0; b < 256; ++b) {
        const uint8_t p = addEvenParity(uint8_t(b));
        EXPECT_EQ(__builtin_popcount(p) % 2, 0);
        EXPECT_EQ(p & 0x7F, b & 0x7F);
    }
}

TEST(TapeCode, ProblemsAreFoundByLineAndColumnAsTheEditorCountsThem) {
    struct Case {
        std::string text;
        long long line, column;
        uint8_t character;
    };
    const Case cases[] = {
        {"G1 X1\r\nG2 {X}\r\n", 2, 4, '{'},
        {"G1\nG2\n<A\n", 3, 1, '<'},  // Unix line ends
        {"G1\rG2\rG3_", 3, 3, '_'},   // lone CRs
        {"G1\r\n\r\nX\x01", 3, 2, 0x01},
    };
    for (const Case& c : cases) {
        const auto problem = findEiaProblem(c.text);
        ASSERT_TRUE(problem) << c.text;
        EXPECT_EQ(problem->at.line, c.line) << c.text;
        EXPECT_EQ(problem->at.column, c.column) << c.text;
        EXPECT_EQ(problem->character, c.character) << c.text;
    }
    EXPECT_FALSE(findEiaProblem("%\r\nO1000 (PART)\r\nN10 G1 X-1.5 F200.\r\nM30\r\n%"));
    EXPECT_EQ(describeEiaProblem(*findEiaProblem("G1\r\nG2 {X}")),
              "line 2, column 4: \"{\" (0x7B) has no EIA code");
    EXPECT_EQ(describeEiaProblem(*findEiaProblem("\x1b")),
              "line 1, column 1: (0x1B) has no EIA code");
}

TEST(TapeCode, TapeCodeOfAMachineIndex) {
    EXPECT_EQ(tapeCodeOf(0), TapeCode::Eia);
    EXPECT_EQ(tapeCodeOf(1), TapeCode::Ascii);
    EXPECT_EQ(tapeCodeOf(2), TapeCode::Iso);
    EXPECT_EQ(tapeCodeOf(-1), TapeCode::Iso);  // nothing selected: bytes go unchanged
}

}  // namespace
}  // namespace zantor

namespace zantor {
namespace {

// The example programs a new shop starts with go to an EIA machine too.
TEST(ExamplePrograms, EveryCharacterHasAnEiaCode) {
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZANTOR_EXAMPLES)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        const auto problem = findEiaProblem(text);
        EXPECT_FALSE(problem.has_value())
            << entry.path() << ": " << (problem ? describeEiaProblem(*problem) : "");
        ++checked;
    }
    EXPECT_GE(checked, 2);
}

}  // namespace
}  // namespace zantor
