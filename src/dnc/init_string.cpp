#include "dnc/init_string.h"

#include "dnc/port/com_port.h"
#include "dnc/send_file.h"
#include "dnc/slash_escapes.h"

namespace zantor {

void checkInitString(std::string_view text, TapeCode code, const std::string& what) {
    if (code == TapeCode::Eia) requireEiaCodes(parseSlashEscapes(text), what);
}

bool sendInitString(ComPort& port, std::string_view text, TapeCode code, const std::string& what,
                    Clock::Duration roomLimit) {
    const std::vector<EscapePiece> pieces = parseSlashEscapes(text);
    if (code == TapeCode::Eia) requireEiaCodes(pieces, what);
    Clock& clock = port.clock();
    for (const EscapePiece& p : pieces) {
        if (p.isValue && p.value < 0) {
            clock.sleep(std::chrono::milliseconds(-p.value), WaitMode::IgnoreUserInput);
            continue;
        }
        const uint8_t byte = p.isValue ? uint8_t(p.value % 256) : inTapeCode(p.character, code);
        clock.waitUntil([&] { return port.outputFree() > 0 || !port.Open(); }, roomLimit,
                        WaitMode::Responsive);
        if (port.sendByte(byte) != SendResult::Sent) return false;
    }
    return true;
}

}  // namespace zantor
