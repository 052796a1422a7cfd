#include "session/analyzer_handoff.h"

#include "core/file_io.h"
#include "core/ini_file.h"

namespace zantor {

std::string AnalyzerOperationsFile(const std::string& programFile) {
    const size_t folderEnd = programFile.find_last_of("/\\");
    const size_t dot = programFile.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (folderEnd == std::string::npos || dot > folderEnd);
    return (hasExtension ? programFile.substr(0, dot) : programFile) + ".OPF";
}

void WriteAnalyzerHandoff(const std::string& psIni, const std::string& program,
                          const std::string& machine) {
    IniFile ini = fileExists(psIni) ? IniFile::parse(readFileBytes(psIni)) : IniFile();
    const auto putFirst = [&ini](const char* section, const std::string& value) {
        ini.writeString(section, "0", value);
        if (ini.readInt(section, "Count", 0) < 1) ini.writeInt(section, "Count", 1);
    };
    putFirst("Operationsdlg.OvcMenuMRU1.Items", AnalyzerOperationsFile(program));
    putFirst("mtaform.OvcMenuMRU1.Items", program);
    putFirst("mtaform.OvcMenuMRU2.Items", machine + ".MCH");
    writeFileAtomically(psIni, ini.serialize());
}

}  // namespace zantor
