// The machine database of a large shop: 500 machines. Listing them and
// loading a hundred must feel instant when the selector or the DNC opens.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/file_io.h"
#include "core/ini_store.h"
#include "machines/machine_database.h"
#include "machines/machine_section.h"

namespace {

constexpr int kMachines = 500;

std::string makeDatabase() {
    std::string folder = (std::filesystem::temp_directory_path() / "zantor-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) std::abort();
    const std::string path = folder + "/WPOSTS.INI";
    zantor::IniFile ini;
    ini.writeInt("MACHINE NAMES", "NUMBER", kMachines);
    zantor::MachineSettings settings = zantor::defaultMachineSettings();
    for (int m = 1; m <= kMachines; ++m) {
        const std::string name = "Machine " + std::to_string(m);
        ini.writeString("MACHINE NAMES", "MACHINE" + std::to_string(m), name);
        settings.Format.Description = "cell " + std::to_string(m % 17);
        settings.Comm.PortNum = m % 16;
        for (const auto& [key, value] : zantor::machineSectionEntries(settings))
            ini.writeString(name, key, value);
        for (int macro = 1; macro <= 3; ++macro)  // a few NC-code macros per machine
            ini.writeString(name, "M" + std::to_string(macro) + "L1", "G28 G91 Z0");
    }
    zantor::writeFileAtomically(path, ini.serialize());
    return path;
}

// Cold: the file has just changed on disk, so it is parsed again.
void ListAndLoad100Cold(benchmark::State& state) {
    const std::string path = makeDatabase();
    const zantor::MachineDatabase db(path);
    for (auto _ : state) {
        zantor::IniStore::clearCache();
        const auto names = db.ListMachines();
        zantor::MachineSettings settings;
        zantor::FolderFlags flags;
        for (int i = 0; i < 100; ++i) db.LoadMachine(names[size_t(i * 5)], settings, flags);
        benchmark::DoNotOptimize(settings);
    }
    state.counters["file_MB"] = double(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(ListAndLoad100Cold)->Unit(benchmark::kMillisecond);

// Warm: the parse is reused, as while the program runs.
void ListAndLoad100Warm(benchmark::State& state) {
    const std::string path = makeDatabase();
    const zantor::MachineDatabase db(path);
    for (auto _ : state) {
        const auto names = db.ListMachines();
        zantor::MachineSettings settings;
        zantor::FolderFlags flags;
        for (int i = 0; i < 100; ++i) db.LoadMachine(names[size_t(i * 5)], settings, flags);
        benchmark::DoNotOptimize(settings);
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(ListAndLoad100Warm)->Unit(benchmark::kMillisecond);

// Saving one machine rewrites the whole file through a temporary file.
void SaveMachine(benchmark::State& state) {
    const std::string path = makeDatabase();
    const zantor::MachineDatabase db(path);
    zantor::MachineSettings settings = zantor::defaultMachineSettings();
    int n = 0;
    for (auto _ : state) {
        settings.Format.Description = "edit " + std::to_string(++n);
        db.SaveMachine("Machine 250", settings);
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(SaveMachine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
