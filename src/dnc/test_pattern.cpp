#include "dnc/test_pattern.h"

#include "core/file_io.h"

namespace zantor {

void writeTestPattern(const std::string& path, int kilobytes) {
    AtomicFileWriter out(path);
    out.write("%\r\nO7777\r\n");
    const long long lines = kilobytes > 0 ? (long long)kilobytes * 1024 / 15 : 0;
    for (long long i = 0; i < lines; ++i) out.write("G01X1.5Y2.5Z3.5\r\n");
    out.write("M30\r\n%\r\n");
    out.commit();
}

}  // namespace zantor
