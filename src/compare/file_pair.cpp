#include "compare/file_pair.h"

#include "core/text_util.h"

namespace zantor::compare {

bool IsRefusedExtension(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    // Whole extensions only: a name without one, or with ".s" or ".c", is a text file.
    const std::string extension = toLowerAscii(path.substr(dot));
    for (const char* refused : {".dcu", ".exe", ".res", ".obj", ".dll", ".bmp", ".ico"})
        if (extension == refused) return true;
    return false;
}

FilePair AssignByModification(const std::string& first, const std::string& second) {
    FilePair pair{ReadFileInfo(first), ReadFileInfo(second), first, second};
    const auto older = [](const TFileInfo& a, const TFileInfo& b) {
        return a.modified < b.modified ||
               (a.modified == b.modified && a.modifiedNanoseconds < b.modifiedNanoseconds);
    };
    // Two names of the same file keep the order chosen.
    if (first != second && older(pair.chosenFirst, pair.chosenSecond)) std::swap(pair.file1, pair.file2);
    return pair;
}

}  // namespace zantor::compare
