// The version resource of each deliverable, read as Windows reads it for the
// file's properties: product, version and description, and the version number
// the build defines once.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Expected {
    const wchar_t* file;
    const wchar_t* product;
    const wchar_t* description;
};

std::wstring BesideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

class VersionInfo {
public:
    explicit VersionInfo(const std::wstring& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size == 0) return;
        data_.resize(size);
        if (!GetFileVersionInfoW(path.c_str(), 0, size, data_.data())) data_.clear();
    }
    bool found() const { return !data_.empty(); }

    // A text of the US English, Unicode string table.
    std::wstring Text(const wchar_t* name) const {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueW(data_.data(), key.c_str(), &value, &length) || length == 0) return {};
        return static_cast<const wchar_t*>(value);
    }

    // The fixed part's file version as "major.minor.patch".
    std::wstring FixedFileVersion() const {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data_.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) return {};
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        if (fixed->dwSignature != VS_FFI_SIGNATURE) return {};
        return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
               L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS));
    }

private:
    std::vector<char> data_;
};

const Expected kDeliverables[] = {
    {L"noxd.dll", L"noxd", L"noxd video renderer"},
#ifdef NOXD_TEST_AMBREL
    {L"ambrel.exe", L"ambrel", L"ambrel live decoder"},
#endif
#ifdef NOXD_TEST_VIEWER
    {L"noxd_viewer.exe", L"noxd", L"noxd camera viewer"},
#endif
};

TEST(SdkVersionResource, EveryDeliverableSaysItsProductVersionAndDescription) {
    for (const Expected& e : kDeliverables) {
        SCOPED_TRACE(testing::Message() << "file " << std::string(e.file, e.file + wcslen(e.file)));
        const VersionInfo info(BesideThisProgram(e.file));
        ASSERT_TRUE(info.found());
        EXPECT_EQ(info.Text(L"ProductName"), e.product);
        EXPECT_EQ(info.Text(L"FileDescription"), e.description);
        EXPECT_EQ(info.Text(L"OriginalFilename"), e.file);
        EXPECT_EQ(info.Text(L"ProductVersion"), NOXD_VERSION_TEXT);
        EXPECT_EQ(info.Text(L"FileVersion"), NOXD_VERSION_TEXT);
        EXPECT_EQ(info.FixedFileVersion(), NOXD_VERSION_TEXT);
    }
}

}  // namespace
