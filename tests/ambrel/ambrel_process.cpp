#include "ambrel_process.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

fs::path ProgramFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

ScratchFolder::ScratchFolder() {
    static std::atomic<int> serial{0};
    path_ = fs::temp_directory_path() /
            ("ambrel_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(serial++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::wstring Widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    return wide;
}

namespace {

std::wstring QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring quoted = L"\"";
    for (wchar_t c : arg) {
        if (c == L'"') quoted += L'\\';
        quoted += c;
    }
    return quoted + L"\"";
}

void MakePipe(noxd::UniqueKernelHandle& readEnd, noxd::UniqueKernelHandle& writeEnd) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE r = nullptr, w = nullptr;
    CreatePipe(&r, &w, &inherit, 0);
    readEnd.reset(r);
    writeEnd.reset(w);
}

}  // namespace

AmbrelProcess::AmbrelProcess(const fs::path& exe, const std::vector<std::string>& args,
                             const fs::path& folder) {
    noxd::UniqueKernelHandle stdinRead, stdoutWrite;
    MakePipe(stdinRead, stdinWrite_);
    MakePipe(stdoutRead_, stdoutWrite);
    // Only the child's ends are inherited.
    SetHandleInformation(stdinWrite_.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(stdoutRead_.get(), HANDLE_FLAG_INHERIT, 0);

    std::wstring commandLine = QuoteArgument(exe.wstring());
    for (const std::string& arg : args) commandLine += L" " + QuoteArgument(Widen(arg));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = stdinRead.get();
    startup.hStdOutput = stdoutWrite.get();
    startup.hStdError = stdoutWrite.get();
    // Wine 8 loses about one process start in 3,000: the new process dies in
    // Wine's own start-up, before the program's first instruction, and
    // CreateProcessW fails with ERROR_INTERNAL_ERROR (a trivial program
    // started from the shell shows it too, exiting 1 with nothing printed).
    // Such a start is made again; a program that starts and fails is not.
    for (int attempt = 0; attempt < 3 && !process_; ++attempt) {
        PROCESS_INFORMATION info = {};
        if (CreateProcessW(exe.wstring().c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                           folder.wstring().c_str(), &startup, &info)) {
            process_.reset(info.hProcess);
            noxd::UniqueKernelHandle thread(info.hThread);
            id_ = info.dwProcessId;
        } else {
            start_error_ = GetLastError();
            if (start_error_ != ERROR_INTERNAL_ERROR) break;
        }
    }
    reader_ = std::thread([this] { ReadOutput(); });
}

AmbrelProcess::~AmbrelProcess() {
    if (process_) Finish();
    if (reader_.joinable()) reader_.join();
}

void AmbrelProcess::ReadOutput() {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(stdoutRead_.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        std::lock_guard<std::mutex> hold(lock_);
        output_.append(buffer, got);
        changed_.notify_all();
    }
    std::lock_guard<std::mutex> hold(lock_);
    ended_ = true;
    changed_.notify_all();
}

// Bounded, so a child that never prints the text fails the test with its
// output instead of hanging it.
bool AmbrelProcess::WaitForOutput(const std::string& text) {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait_for(hold, std::chrono::seconds(30),
                      [&] { return ended_ || output_.find(text) != std::string::npos; });
    const bool found = output_.find(text) != std::string::npos;
    if (found) return true;
    const std::string written = output_;
    hold.unlock();
    // How the child ended, when it did: a crash or a start that failed tells itself apart.
    DWORD code = STILL_ACTIVE;
    if (process_ && WaitForSingleObject(process_.get(), 1000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process_.get(), &code);
    std::ostringstream state;
    if (!process_) state << "not started: error " << start_error_;
    else if (code == STILL_ACTIVE) state << "still running";
    else state << "ended with 0x" << std::hex << code;
    ADD_FAILURE() << "no \"" << text << "\" from the child (" << state.str() << "); it wrote:\n" << written;
    return false;
}

void AmbrelProcess::PressEnter() {
    DWORD written = 0;
    WriteFile(stdinWrite_.get(), "\n", 1, &written, nullptr);
}

bool AmbrelProcess::EndsWithin(DWORD ms) {
    return process_ && WaitForSingleObject(process_.get(), ms) == WAIT_OBJECT_0;
}

void AmbrelProcess::Kill() {
    if (!process_) return;
    TerminateProcess(process_.get(), 0xDEAD);
    WaitForSingleObject(process_.get(), 5000);
}

// How long a child may take to end before it counts as hung: 30 s, or
// NOXD_CHILD_END_S where programs start and run far slower (the emulated
// guest, whose Wine start and first GL window alone take ~20 s).
DWORD SecondsForAChildToEnd() {
    const char* text = std::getenv("NOXD_CHILD_END_S");
    const int seconds = text ? std::atoi(text) : 0;
    return seconds > 0 ? static_cast<DWORD>(seconds) : 30;
}

DWORD AmbrelProcess::Finish() {
    stdinWrite_.reset();
    DWORD code = STILL_ACTIVE;
    if (process_) {
        const DWORD seconds = SecondsForAChildToEnd();
        if (WaitForSingleObject(process_.get(), seconds * 1000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the child did not end within " << seconds << " s";
            TerminateProcess(process_.get(), 0xDEAD);
        }
        WaitForSingleObject(process_.get(), 5000);
        GetExitCodeProcess(process_.get(), &code);
        process_.reset();
    }
    if (reader_.joinable()) reader_.join();
    return code;
}

std::string AmbrelProcess::Output() {
    std::lock_guard<std::mutex> hold(lock_);
    return output_;
}

RunResult RunAmbrel(const std::vector<std::string>& args, const fs::path& folder,
                    const std::string& waitFor) {
    AmbrelProcess ambrel(ProgramFolder() / "ambrel.exe", args, folder);
    ambrel.WaitForOutput(waitFor);
    ambrel.PressEnter();
    RunResult result;
    result.exitCode = ambrel.Finish();
    result.output = ambrel.Output();
    return result;
}

std::string AsWritten(const std::string& text) {
    std::string written;
    for (char c : text) {
        if (c == '\n') written += '\r';
        written += c;
    }
    return written;
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> ReadLines(const fs::path& path) {
    return SplitLines(ReadFileBytes(path));
}

size_t CountOf(const std::string& haystack, const std::string& needle) {
    size_t count = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) {
        ++count;
    }
    return count;
}
