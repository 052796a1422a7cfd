#pragma once

#include <string>
#include <vector>

namespace zantor {

class MachineDatabase;

// A first start: neither the settings file nor the machine database exists.
bool isFirstStart(const std::string& programFolder, const std::string& systemFolder);

// The machines a new shop may start with, to try the program before its own
// machines are defined: an ISO-code mill on port 1 and an EIA lathe on port 3
// of DNC hub 1 (a hub on port 2).
inline constexpr const char* kExampleMill = "Example Mill (ISO)";
inline constexpr const char* kExampleLathe = "Example Lathe (EIA, hub 1)";

struct ExampleSetup {
    std::vector<std::string> machines;
    std::vector<std::string> programs;  // the example programs copied
    std::string programFolder;          // where they went: the machines' folder
};

// Adds the example machines and hub 1 to the database and copies the
// example programs of `examplesFolder` into the machines' folder, leaving
// any file of the same name as it is. Throws FileError when the database
// cannot be written.
ExampleSetup installExamples(const MachineDatabase& machines, const std::string& examplesFolder);

}  // namespace zantor
