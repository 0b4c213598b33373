#pragma once

#include <string>
#include <vector>

namespace qm {

// Where the system names each serial adapter plugged in by what it is (maker, model, serial
// number): the name stays when the adapter moves to another USB socket, unlike ttyUSB0.
inline constexpr const char* kSerialByIdFolder = "/dev/serial/by-id";

// The adapters present, as paths in the folder, sorted; none when the folder is missing (no
// adapter plugged in, or a system without it).
std::vector<std::string> SerialAdapterPaths(const std::string& folder = kSerialByIdFolder);

} // namespace qm
