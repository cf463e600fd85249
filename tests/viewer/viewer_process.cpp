#include "viewer_process.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace viewer_test {

namespace {

// Environment variables of this process, which children inherit, set for
// the scope.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const Environment& variables) : variables_(variables) {
        for (const auto& [name, value] : variables_) SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (const auto& variable : variables_) SetEnvironmentVariableW(variable.first.c_str(), nullptr);
    }

private:
    const Environment variables_;
};

}  // namespace

ViewerRun RunViewer(const std::vector<std::string>& args, const Environment& environment) {
    const ScopedEnvironment set(environment);
    const ScratchFolder folder;
    AmbrelProcess viewer(ProgramFolder() / "noxd_viewer.exe", args, folder.path());
    ViewerRun run;
    run.exit_code = viewer.Finish();
    for (char c : viewer.Output())
        if (c != '\r') run.output += c;
    return run;
}

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
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
    std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(std::filesystem::path(path).c_str(), L"rb"), &std::fclose);
    if (!file) return image;
    stbi_uc* pixels = stbi_load_from_file(file.get(), &image.width, &image.height, &channels, 3);
    if (!pixels) return image;
    image.rgb.assign(pixels, pixels + static_cast<size_t>(image.width) * image.height * 3);
    stbi_image_free(pixels);
    return image;
}

}  // namespace viewer_test
