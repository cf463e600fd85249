#include "viewer_process.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace viewer_test {

namespace fs = std::filesystem;

namespace {

struct HandleCloser {
    void operator()(HANDLE h) const {
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

std::wstring Wide(const std::string& text) { return fs::path(text).wstring(); }

std::wstring Quoted(const std::string& arg) { return L"\"" + Wide(arg) + L"\""; }

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path().wstring();
}

std::string ReadAll(const std::string& path) {
    std::ifstream file(fs::path(path), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    std::string out;
    for (char c : text.str())
        if (c != '\r') out += c;
    return out;
}

// The child's environment: ours, with `extra` set.
std::wstring ChildEnvironment(const std::string& extra) {
    std::wstring block;
    const std::wstring name = Wide(extra.substr(0, extra.find('=') + 1));
    wchar_t* own = GetEnvironmentStringsW();
    for (const wchar_t* v = own; *v; v += wcslen(v) + 1) {
        if (!name.empty() && _wcsnicmp(v, name.c_str(), name.size()) == 0) continue;
        block.append(v).push_back(L'\0');
    }
    FreeEnvironmentStringsW(own);
    if (!extra.empty()) block.append(Wide(extra)).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

}  // namespace

ScratchFolder::ScratchFolder() {
    static std::atomic<int> serial{0};
    const fs::path path = fs::temp_directory_path() /
                          ("viewer_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(serial++));
    fs::remove_all(path);
    fs::create_directories(path);
    path_ = path.string();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

ViewerRun RunViewer(const std::vector<std::string>& args, const std::string& environment) {
    const ScratchFolder console_folder;
    const std::string console_path = console_folder / "console.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    Handle console(CreateFileW(Wide(console_path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::wstring exe = ProgramFolder() + L"\\noxd_viewer.exe";
    std::wstring command = L"\"" + exe + L"\"";
    for (const std::string& arg : args) command += L" " + Quoted(arg);
    std::wstring env = ChildEnvironment(environment);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = console.get();
    startup.hStdError = console.get();
    PROCESS_INFORMATION info = {};
    ViewerRun run;
    if (!CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                        &env[0], nullptr, &startup, &info))
        return run;
    Handle process(info.hProcess), thread(info.hThread);
    if (WaitForSingleObject(process.get(), 60000) == WAIT_TIMEOUT) {
        TerminateProcess(process.get(), 99);
        WaitForSingleObject(process.get(), INFINITE);
    }
    GetExitCodeProcess(process.get(), &run.exit_code);
    console.reset();
    run.output = ReadAll(console_path);
    return run;
}

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream(fs::path(path), std::ios::binary) << text;
}

long long NumberAfter(const std::string& output, const std::string& label) {
    const std::string key = "\n" + label + ": ";
    const size_t at = ("\n" + output).find(key);
    if (at == std::string::npos) return -1;
    return std::atoll(output.c_str() + at + key.size() - 1);
}

Image ReadPng(const std::string& path) {
    Image image;
    int channels = 0;
    std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(Wide(path).c_str(), L"rb"), &std::fclose);
    if (!file) return image;
    stbi_uc* pixels = stbi_load_from_file(file.get(), &image.width, &image.height, &channels, 3);
    if (!pixels) return image;
    image.rgb.assign(pixels, pixels + static_cast<size_t>(image.width) * image.height * 3);
    stbi_image_free(pixels);
    return image;
}

}  // namespace viewer_test
