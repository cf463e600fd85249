// Runs noxd_viewer.exe from the test program's folder as a child process,
// its console output into a file, and reads back what it left behind.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace viewer_test {

// A fresh folder under the temporary folder, removed with its content at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    // The Windows path of a file in it.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

struct ViewerRun {
    DWORD exit_code = STILL_ACTIVE;
    std::string output;  // console text, "\r\n" turned into "\n"
};

// Runs the viewer with `args` until it ends (or 60 s, then it is ended),
// with `environment` (NAME=value) added for the child only.
ViewerRun RunViewer(const std::vector<std::string>& args, const std::string& environment = {});

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
