// The INI reader: any bytes read back unchanged, and a value written can be
// read again whatever the file held before.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/ini_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    zantor::IniFile ini = zantor::IniFile::parse(bytes);
    const std::string saved = ini.serialize();
    FUZZ_CHECK(zantor::IniFile::parse(saved).serialize() == saved);

    for (const std::string& section : ini.sectionNames()) {
        for (const std::string& key : ini.keys(section)) (void)ini.value(section, key);
    }
    ini.writeString("GENERAL", "CMACHINE", "Mill 1");
    ini.writeInt("GENERAL", "EOFTIME", -42);
    const zantor::IniFile reread = zantor::IniFile::parse(ini.serialize());
    FUZZ_CHECK(reread.readString("GENERAL", "CMACHINE", "") == "Mill 1");
    FUZZ_CHECK(reread.readInt("GENERAL", "EOFTIME", 0) == -42);
    return 0;
}
