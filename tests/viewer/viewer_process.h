// Runs noxd_viewer.exe from the test program's folder as a child process
// (through the console tools' child-process runner) and reads back what it
// left behind.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ambrel_process.h"

namespace viewer_test {

// The Windows path of a file in a scratch folder.
inline std::string PathIn(const ScratchFolder& folder, const std::string& name) {
    return (folder / name).string();
}

struct ViewerRun {
    DWORD exit_code = STILL_ACTIVE;
    std::string output;  // console text, "\r\n" turned into "\n"
};

// Environment variables, name and value, set for a run.
using Environment = std::vector<std::pair<std::wstring, std::wstring>>;

// Runs the viewer with `args` until it ends, with `environment` set for it.
ViewerRun RunViewer(const std::vector<std::string>& args, const Environment& environment = {});

void WriteTextFile(const std::string& path, const std::string& text);

// The value after "label: " on its own line of the output, or -1.
long long NumberAfter(const std::string& output, const std::string& label);

// An RGB image read back from a PNG file; empty when it cannot be read.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    bool empty() const { return rgb.empty(); }
};
Image ReadPng(const std::string& path);

}  // namespace viewer_test
