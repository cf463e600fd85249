// Runs ambrel.exe as a child process for the whole-run tests: arguments,
// working folder, standard input for the Enter, standard output captured.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "win32_owners.h"

// The folder of the running test program, where ambrel.exe and nox.dll are.
std::filesystem::path ProgramFolder();

// Text in the process's ANSI code page as UTF-16, for paths and arguments.
std::wstring Widen(const std::string& text);

// A fresh empty folder under the temporary folder, removed with its content
// when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

class AmbrelProcess {
public:
    // Starts exe with args in folder; the child inherits this process's
    // environment (NOX_SIM_FAULT, NOX_SIM_LOG).
    AmbrelProcess(const std::filesystem::path& exe, const std::vector<std::string>& args,
                  const std::filesystem::path& folder);
    AmbrelProcess(const AmbrelProcess&) = delete;
    AmbrelProcess& operator=(const AmbrelProcess&) = delete;
    ~AmbrelProcess();

    DWORD id() const { return id_; }
    // Blocks until the output holds text; false when the child ended its
    // output first.
    bool WaitForOutput(const std::string& text);
    void PressEnter();
    // Ends standard input, waits for the child to end; returns its exit code.
    DWORD Finish();
    // Whether the child ended within `ms` milliseconds.
    bool EndsWithin(DWORD ms);
    // Ends the child at once, as a crash or a kill would.
    void Kill();
    // Everything the child wrote so far, bytes as written.
    std::string Output();

private:
    void ReadOutput();

    noxd::UniqueKernelHandle process_;
    DWORD id_ = 0;
    DWORD start_error_ = 0;  // CreateProcessW's, when it failed
    noxd::UniqueKernelHandle stdinWrite_;
    noxd::UniqueKernelHandle stdoutRead_;
    std::thread reader_;
    std::mutex lock_;  // guards output_ and ended_ between reader_ and the test thread
    std::condition_variable changed_;
    std::string output_;
    bool ended_ = false;
};

// Runs ambrel from the program folder in folder, waits for text (the prompt
// by default), presses Enter and returns the whole output.
struct RunResult {
    std::string output;
    DWORD exitCode = 0;
};
RunResult RunAmbrel(const std::vector<std::string>& args, const std::filesystem::path& folder,
                     const std::string& waitFor = "press any key to exit");

// Text as the console tool's C runtime writes it: "\n" becomes "\r\n".
std::string AsWritten(const std::string& text);

std::string ReadFileBytes(const std::filesystem::path& path);
std::vector<std::string> ReadLines(const std::filesystem::path& path);
// Lines of text split at "\r\n" or "\n".
std::vector<std::string> SplitLines(const std::string& text);
// How many times needle occurs in haystack.
size_t CountOf(const std::string& haystack, const std::string& needle);
