#include "dnc/port/xmodem_blocks.h"

#include <charconv>
#include <cstdio>

#include "dnc/port/transfer_crc.h"

namespace zantor::xmodem {

namespace {
const uint8_t* bytes(std::string_view s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

uint8_t checksum(std::string_view data) {
    unsigned sum = 0;
    for (const char c : data) sum += uint8_t(c);
    return uint8_t(sum);
}
}  // namespace

std::string encodeBlock(uint8_t number, std::string_view data, bool large, bool crc, uint8_t pad) {
    const size_t size = large ? 1024 : 128;
    std::string block;
    block.reserve(size + 5);
    block += char(large ? kStx : kSoh);
    block += char(number);
    block += char(uint8_t(~number));
    const size_t start = block.size();
    block.append(data.substr(0, size));
    block.append(size - std::min(size, data.size()), char(pad));
    const std::string_view payload(block.data() + start, size);
    if (crc) {
        const uint16_t value = crc16(bytes(payload), payload.size());
        block += char(value >> 8);
        block += char(value & 0xFF);
    } else {
        block += char(checksum(payload));
    }
    return block;
}

std::string headerData(std::string_view name, long long size, long long modified) {
    if (name.empty()) return {};
    char numbers[64];
    // With a file mode (a regular file, rw-r--r--) the receiver takes the
    // name as it stands: without one, lrzsz lowercases an all-capitals name
    // as coming from a system without case.
    std::snprintf(numbers, sizeof numbers, "%lld %llo 100644 0", size, modified);
    std::string data(name);
    data += '\0';
    data += numbers;
    return data;
}

HeaderInfo parseHeader(std::string_view data) {
    HeaderInfo info;
    const size_t nul = data.find('\0');
    info.name = std::string(data.substr(0, nul));
    if (nul == std::string_view::npos) return info;
    const std::string_view rest = data.substr(nul + 1);
    long long size = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), size);
    if (error == std::errc() && end != rest.data()) info.size = size;
    return info;
}

bool checkMatches(std::string_view payload, std::string_view check, bool crc) {
    if (crc) {
        const uint16_t value = crc16(bytes(payload), payload.size());
        return check.size() == 2 && uint8_t(check[0]) == (value >> 8) &&
               uint8_t(check[1]) == (value & 0xFF);
    }
    return check.size() == 1 && uint8_t(check[0]) == checksum(payload);
}

}  // namespace zantor::xmodem
