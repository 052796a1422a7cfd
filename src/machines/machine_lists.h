#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zantor {

// The texts of the setup dialog's lists, in order; the settings hold
// 0-based indexes into them.
inline constexpr std::array<std::string_view, 5> kMachineTypeNames = {"Mill", "Lathe", "DXF File",
                                                                      "Print File", "Bendix Mill"};
inline constexpr std::array<std::string_view, 4> kLatheXFormatNames = {
    "Out 2' Dia as X2.0", "Out 2' Dia as X1.0", "Out 2' Dia as X-1.0", "Out 2' Dia as X-2.0"};
inline constexpr std::array<std::string_view, 5> kHubNames = {"Std. PC Ports", "Hub #1", "Hub #2",
                                                              "Hub #3", "Hub #4"};
inline constexpr std::array<std::string_view, 4> kXonXoffNames = {"Send/Recv", "None", "Send",
                                                                  "Receive"};
inline constexpr std::array<std::string_view, 3> kTapeCodeNames = {"EIA", "ASCII", "ISO"};
inline constexpr std::array<std::string_view, 4> kLineEndNames = {"Add<Cr>Before", "Add<Lf>After",
                                                                  "None", "Strip"};
inline constexpr std::array<std::string_view, 5> kProtocolNames = {"ASCII", "XMODEM", "YMODEM",
                                                                   "ZMODEM", "KERMIT"};
inline constexpr std::array<std::string_view, 5> kDeviceTypeNames = {
    "Machine Control/Hub", "Terminal on DNC-8 Hub", "Shop Terminal", "Remote CNC Control",
    "Direct File Transfer (DFT)"};
inline constexpr std::array<std::string_view, 6> kArcTypeNames = {
    "Distance From Tool to Arc Center", "Distance from Arc Center to Tool",
    "Un-Signed Incremental Distance",   "Absolute Arc Center Coordinates",
    "Radius of Arc 'R' Values",         "Use Linear Moves for Arcs"};
inline constexpr int kPortCount = 256;

// "Port #1" to "Port #256".
inline std::string portName(int index) {
    return "Port #" + std::to_string(index + 1);
}

// The text of entry `index`, empty when nothing (or nothing valid) is selected.
template <size_t N>
std::string listText(const std::array<std::string_view, N>& items, int index) {
    return (index >= 0 && size_t(index) < N) ? std::string(items[size_t(index)]) : std::string();
}

}  // namespace zantor
