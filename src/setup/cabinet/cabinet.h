#pragma once
// Cabinet files, the device's install packages: packing files into one and
// unpacking all of it in memory, so that nothing is written anywhere until
// every file has come out whole.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvane {

struct cabinet_file {
    std::string name;  // as stored: relative, '\' between folders, e.g. "Kelvane.exe"
    std::vector<std::uint8_t> data;
    bool executable = false;  // a program, to be started after installing
};

// Packs the files into one compressed cabinet. False, with a reason, when the
// library refuses a file.
bool write_cabinet(const std::vector<cabinet_file>& files, std::vector<std::uint8_t>& out,
                   std::string& error);

// Unpacks every file. False, with files empty and a reason, when the bytes are
// no cabinet, or a file's data is damaged, cut short or not of its stored size.
bool read_cabinet(std::span<const std::uint8_t> bytes, std::vector<cabinet_file>& files,
                  std::string& error);

}  // namespace kelvane
