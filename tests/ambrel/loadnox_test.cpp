// ambrel's component binding failing: the "Error" message box (found from
// this process, checked and closed), then the error line and the prompt.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>

#include "ambrel_process.h"

namespace fs = std::filesystem;

namespace {

struct FoundBox {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindErrorBox(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<FoundBox*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t caption[16] = {};
    GetWindowTextW(window, caption, 16);
    if (owner != found->processId || !IsWindowVisible(window) || std::wstring(caption) != L"Error") {
        return TRUE;
    }
    found->window = window;
    return FALSE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Static") != 0) return TRUE;
    wchar_t text[256] = {};
    SendMessageW(child, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    if (text[0]) *reinterpret_cast<std::wstring*>(param) = text;
    return TRUE;
}

// Waits for the child's "Error" message box, returns its text and presses
// its OK button until the box is gone. No box within 30 s, or a box that
// shows no text or does not close within 30 s, fails the test.
std::wstring CloseErrorBox(DWORD processId) {
    FoundBox found = {processId, nullptr};
    for (int waited = 0; !found.window; waited += 50) {
        if (waited > 30000) {
            ADD_FAILURE() << "no \"Error\" box from the child within 30 s";
            return L"";
        }
        EnumWindows(FindErrorBox, reinterpret_cast<LPARAM>(&found));
        if (!found.window) Sleep(50);
    }
    std::wstring text;
    const DWORD found_at = GetTickCount();
    while (text.empty() && IsWindow(found.window)) {
        if (GetTickCount() - found_at > 30000) {
            ADD_FAILURE() << "the \"Error\" box shows no text within 30 s";
            break;
        }
        EnumChildWindows(found.window, CollectStaticText, reinterpret_cast<LPARAM>(&text));
        if (text.empty()) Sleep(50);
    }
    // A press that comes while the box is still being set up can be lost.
    const DWORD pressed_at = GetTickCount();
    while (IsWindow(found.window)) {
        if (GetTickCount() - pressed_at > 30000) {
            ADD_FAILURE() << "the \"Error\" box does not close within 30 s of pressing OK";
            break;
        }
        PostMessageW(found.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        Sleep(100);
    }
    return text;
}

const char kLoadLine[] =
    R"((^|\n)nox \d\d:\d\d:\d\d NOX error\(0x00000001\): file:ambrel\.cpp, line:\d+, )"
    R"(expr:LoadNOX\(&ini\.pLive, &ini\.pDecode\) == 1 \? S_OK : S_FALSE\r\npress any key to exit$)";

class AmbrelLoadNox : public testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableA("NOX_SIM_LOG", (folder_ / "calls.log").string().c_str());
        SetEnvironmentVariableA("NOX_SIM_FAULT", nullptr);
    }

    // Runs exe to its message box; returns the box's text and checks the end.
    std::wstring RunToMessageBox(const fs::path& exe) {
        AmbrelProcess ambrel(exe, {"-i10.0.0.1", "-ladmin:pw"}, folder_.path());
        const std::wstring text = CloseErrorBox(ambrel.id());
        ambrel.WaitForOutput("press any key to exit");
        ambrel.PressEnter();
        EXPECT_EQ(ambrel.Finish(), 0u);
        EXPECT_TRUE(std::regex_search(ambrel.Output(), std::regex(kLoadLine))) << ambrel.Output();
        return text;
    }

    std::vector<std::string> Calls() { return ReadLines(folder_ / "calls.log"); }

    ScratchFolder folder_;
};

TEST_F(AmbrelLoadNox, ComponentMissingBesideTheProgram) {
    const fs::path lonely = folder_ / "ambrel.exe";
    fs::copy_file(ProgramFolder() / "ambrel.exe", lonely);
    EXPECT_EQ(RunToMessageBox(lonely), L"nox.dll is not found");
}

TEST_F(AmbrelLoadNox, NoLiveClassFactory) {
    SetEnvironmentVariableA("NOX_SIM_FAULT", "live-factory");
    EXPECT_EQ(RunToMessageBox(ProgramFolder() / "ambrel.exe"), L"nox.dll is not found");
    EXPECT_TRUE(Calls().empty());
}

TEST_F(AmbrelLoadNox, LiveObjectNotCreated) {
    SetEnvironmentVariableA("NOX_SIM_FAULT", "create-live");
    EXPECT_EQ(RunToMessageBox(ProgramFolder() / "ambrel.exe"), L"nox.dll is invalid");
    EXPECT_TRUE(Calls().empty());
}

// The live object exists already when the decoder fails; the closing
// releases it.
TEST_F(AmbrelLoadNox, NoDecoderClassFactory) {
    SetEnvironmentVariableA("NOX_SIM_FAULT", "decode-factory");
    EXPECT_EQ(RunToMessageBox(ProgramFolder() / "ambrel.exe"), L"nox.dll is not found");
    EXPECT_EQ(Calls(), std::vector<std::string>{"ReleaseLive"});
}

TEST_F(AmbrelLoadNox, DecoderNotCreated) {
    SetEnvironmentVariableA("NOX_SIM_FAULT", "create-decode");
    EXPECT_EQ(RunToMessageBox(ProgramFolder() / "ambrel.exe"), L"nox.dll is invalid");
    EXPECT_EQ(Calls(), std::vector<std::string>{"ReleaseLive"});
}

}  // namespace
