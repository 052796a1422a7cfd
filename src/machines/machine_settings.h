#pragma once

#include <array>
#include <string>

#include "machines/mach_com_rec.h"

namespace zantor {

enum MachineTypeIndex { kMill = 0, kLathe = 1, kDxfFile = 2, kPrintFile = 3, kBendixMill = 4 };

// Number format and codes of a control.
struct MachineFormat {
    int MachType = kMill;
    int AbsInc = 1;
    int NumFormat = 1;
    std::string DigitsLeft = "3";
    std::string DigitsRight = "4";
    int LatheXFormat = 3;
    int ArcType = 5;
    std::string Description;
    std::string RapidCode = "G00";
    std::string LinearCode = "G01";
    std::string CwCode = "G02";
    std::string CcwCode = "G03";
    bool SeqOut = true;
    std::string StartSeq = "10";
    std::string FeedDigits = "2";
    bool Redundant = false;
    std::string CommentStart = "(";
    std::string CommentEnd = ")";
    std::string ProgramId = "O";
    std::string DefaultExt = "TAP";
    std::string UploadFolder = "\\NCPRG";
    std::string DownloadFolder = "\\NCPRG";
    std::string LoadSaveFolder = "\\NCPRG";
    bool StripBlankLines = false;
    bool FilterLineFeeds = false;
    bool CleanupBeforeSend = false;

    bool operator==(const MachineFormat&) const = default;
};

inline constexpr int kSubstitutionEntries = 21;
inline constexpr size_t kSubstitutionTextLimit = 80;

// The live values of the NC utility dialogs for the current machine.
struct UtilityDefaults {
    std::string ResequenceStart = "10";
    std::string ResequenceIncrement = "10";
    std::string ResequenceMaxDigits = "4";
    std::string ResequenceChars = "N/";
    std::string ResequenceSkipChars = "<(%=$#OE\\^@:";
    bool ResequenceLeadingZeros = false;
    std::string LineBeginFrom;
    std::string LineBeginTo;
    std::string LineEndFrom;
    std::string LineEndTo;
    std::string ArithmeticAmount = "1.0";
    std::string ArithmeticRegisters = "XYZIJKR";
    int ArithmeticOperation = 1;  // 1 add, 2 subtract, 3 multiply, 4 divide
    std::string ColumnRegisterOrder = "NGXYZRFSTHM";
    std::string ColumnWidth = "10";
    bool ReformatRegisters = true;
    bool ReformatGCodes = true;
    bool ReformatComments = true;
    bool ReformatUseSubstitutions = true;
    std::string ReformatRegisterLetters = "XYZIJKRF";
    std::string ReformatOtherMachine;
    std::array<std::string, kSubstitutionEntries> SubstituteOld{};
    std::array<std::string, kSubstitutionEntries> SubstituteNew{};
    std::array<bool, 6> CleanupOptions{};

    bool operator==(const UtilityDefaults&) const = default;
};

// A whole machine section of the database.
struct MachineSettings {
    MachineFormat Format;
    MachComRec Comm;  // Name, UploadDir and DownloadDir are not part of a section
    UtilityDefaults Utilities;

    bool operator==(const MachineSettings&) const = default;
};

}  // namespace zantor
