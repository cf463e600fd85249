#include "gl11_child.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <utility>

#include "bench_stats.h"
#include "mesa_gl11_env.h"
#include "noxd.h"
#include "noxd_pipeline.h"
#include "test_card.h"

namespace bench {

namespace {

// A child that takes longer than this to start or to answer one command is
// taken as hung.
constexpr DWORD kAnswerTimeoutMs = 120000;

// Whether the environment entries "NAME=..." name the same variable.
bool SameVariable(const wchar_t* entry, const wchar_t* other) {
    const wchar_t* equals = std::wcschr(other, L'=');
    const size_t length = equals ? static_cast<size_t>(equals - other) : std::wcslen(other);
    return _wcsnicmp(entry, other, length) == 0 && entry[length] == L'=';
}

// This process's environment block with tools/mesa-gl11.env's variables set
// (any value they had here replaced), as CreateProcessW takes it.
std::wstring Gl11EnvironmentBlock() {
    std::wstring block;
    if (wchar_t* current = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = current; *entry; entry += std::wcslen(entry) + 1) {
            bool replaced = false;
            for (const wchar_t* variable : kMesaGl11Environment) replaced = replaced || SameVariable(entry, variable);
            if (!replaced) block.append(entry).push_back(L'\0');
        }
        FreeEnvironmentStringsW(current);
    }
    for (const wchar_t* variable : kMesaGl11Environment) block.append(variable).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// How the child is started: the program and its command line.
struct ChildStart {
    std::wstring program;
    std::wstring command;
};

// Under Wine a Windows program started by another gets the Unix environment
// of the process that starts it, whatever block CreateProcessW is given,
// while a Unix program gets the block as its Unix environment (but no pipe
// or file of the parent's as its standard handles). So under Wine the child
// is started through Wine's loader, a Unix program, which runs the bench in
// the same wineserver (the block holds WINEPREFIX) with Mesa's variables in
// its Unix environment; the two talk through a named pipe. Elsewhere the
// block is the child's environment as it is.
bool ChildStartFor(const std::wstring& exe, const std::wstring& pipe_name, ChildStart& start,
                   std::string& problem) {
    const std::wstring arguments = Quoted(exe) + L" --gl11-child " + pipe_name;
    using DosFileName = WCHAR*(CDECL*)(const char*);
    const auto dos_file_name = reinterpret_cast<DosFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!dos_file_name) {
        start = {exe, arguments};
        return true;
    }
    char loader[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("WINELOADER", loader, sizeof loader);
    if (length == 0 || length >= sizeof loader) {
        problem = "WINELOADER does not name Wine's loader (tools/wine-exec sets it)";
        return false;
    }
    WCHAR* program = dos_file_name(loader);
    if (!program) {
        problem = Format("Wine's loader %s has no Windows path", loader);
        return false;
    }
    // The loader's arguments are split from the command line as a Windows
    // program's are; its own name goes first, as a Unix path.
    start = {program, Quoted(std::wstring(loader, loader + length)) + L" " + arguments};
    HeapFree(GetProcessHeap(), 0, program);
    return true;
}

// Finishes an overlapped call on the pipe within the timeout (cancelled
// after it); false when it failed or took too long.
bool Finish(HANDLE pipe, OVERLAPPED& call, BOOL done_at_once, DWORD& bytes) {
    if (!done_at_once && GetLastError() != ERROR_IO_PENDING) return false;
    if (WaitForSingleObject(call.hEvent, kAnswerTimeoutMs) != WAIT_OBJECT_0) {
        CancelIo(pipe);
        GetOverlappedResult(pipe, &call, &bytes, TRUE);
        return false;
    }
    return GetOverlappedResult(pipe, &call, &bytes, FALSE) != 0;
}

// Takes the first line out of `buffer` into `line`; false when it holds none.
bool TakeLine(std::string& buffer, std::string& line) {
    const size_t end = buffer.find('\n');
    if (end == std::string::npos) return false;
    line = buffer.substr(0, end);
    buffer.erase(0, end + 1);
    return true;
}

}  // namespace

Gl11Child::Gl11Child() {
    wchar_t exe[MAX_PATH] = {};
    if (!GetModuleFileNameW(nullptr, exe, MAX_PATH)) {
        problem_ = "the bench cannot find its own program";
        return;
    }
    static LONG children = 0;
    const std::wstring pipe_name =
        L"\\\\.\\pipe\\noxd-bench-gl11-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
        std::to_wstring(InterlockedIncrement(&children));
    ChildStart start;
    if (!ChildStartFor(exe, pipe_name, start, problem_)) return;
    pipe_.reset(CreateNamedPipeW(pipe_name.c_str(),
                                 PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                 PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                                 4096, 4096, 0, nullptr));
    io_done_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!pipe_ || !io_done_) {
        problem_ = Format("no pipe to a child process (error %lu)", static_cast<unsigned long>(GetLastError()));
        return;
    }
    std::wstring environment = Gl11EnvironmentBlock();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    // Wine 8 loses about one process start in 3,000 in its own start-up
    // (ERROR_INTERNAL_ERROR, tests/ambrel/ambrel_process.cpp); such a start
    // is made again.
    DWORD error = 0;
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        PROCESS_INFORMATION info = {};
        started = CreateProcessW(start.program.c_str(), &start.command[0], nullptr, nullptr, FALSE,
                                 CREATE_UNICODE_ENVIRONMENT, &environment[0], nullptr, &startup, &info);
        if (started) {
            // None for a Unix program: the child's first line names its process.
            const noxd::UniqueKernelHandle process(info.hProcess), thread(info.hThread);
        } else {
            error = GetLastError();
            if (error != ERROR_INTERNAL_ERROR) break;
        }
    }
    if (!started) {
        problem_ = Format("the child process could not be started (error %lu)", static_cast<unsigned long>(error));
        return;
    }
    OVERLAPPED call = {};
    call.hEvent = io_done_.get();
    DWORD bytes = 0;
    const BOOL connected = ConnectNamedPipe(pipe_.get(), &call);
    if (!connected && GetLastError() != ERROR_PIPE_CONNECTED && !Finish(pipe_.get(), call, FALSE, bytes)) {
        problem_ = "the child process never opened its pipe";
        return;
    }
    unsigned long id = 0;
    const std::string hello = WaitForLine("its start");
    if (std::sscanf(hello.c_str(), "ready %lu", &id) == 1)
        process_.reset(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, static_cast<DWORD>(id)));
    if (!process_ && problem_.empty()) problem_ = "the child process answered \"" + hello + "\" to its start";
}

Gl11Child::~Gl11Child() {
    // The pipe's end ends the child, its view released first.
    pipe_.reset();
    if (process_ && WaitForSingleObject(process_.get(), 30000) != WAIT_OBJECT_0)
        TerminateProcess(process_.get(), 1);
}

std::string Gl11Child::Ask(const std::string& command) {
    if (!problem_.empty()) return "";
    const std::string bytes = command + "\n";
    OVERLAPPED call = {};
    call.hEvent = io_done_.get();
    DWORD written = 0;
    const BOOL done = WriteFile(pipe_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &call);
    if (!Finish(pipe_.get(), call, done, written) || written != bytes.size()) {
        problem_ = "the child process no longer takes commands";
        return "";
    }
    return WaitForLine("\"" + command + "\"");
}

std::string Gl11Child::WaitForLine(const std::string& what) {
    std::string line;
    while (!TakeLine(received_, line)) {
        char buffer[4096];
        OVERLAPPED call = {};
        call.hEvent = io_done_.get();
        DWORD got = 0;
        const BOOL done = ReadFile(pipe_.get(), buffer, sizeof buffer, nullptr, &call);
        if (!Finish(pipe_.get(), call, done, got) || got == 0) {
            const DWORD error = GetLastError();
            problem_ = error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED
                           ? "the child process ended before it answered " + what
                           : "the child process did not answer " + what;
            return "";
        }
        received_.append(buffer, got);
    }
    return line;
}

Gl11Child::Opened Gl11Child::Open(const ViewLayout& l) {
    const std::string answer = Ask(Format("open %d %d %d %d %d %d %d", l.format, l.frame_width, l.frame_height, l.x,
                                          l.y, l.client_width, l.client_height));
    if (answer.rfind("ok ", 0) == 0) return {"", false, answer.substr(3)};
    if (answer.rfind("refused ", 0) == 0) return {answer.substr(8), true, ""};
    if (answer.rfind("failed ", 0) == 0) return {answer.substr(7), false, ""};
    return {problem_.empty() ? "the child process answered \"" + answer + "\"" : problem_, false, ""};
}

double Gl11Child::TimeBlock(int count) {
    const std::string answer = Ask(Format("block %d", count));
    double ms = 0;
    if (std::sscanf(answer.c_str(), "ms %lf", &ms) == 1) return ms;
    if (problem_.empty()) problem_ = "the child process answered \"" + answer + "\"";
    return std::nan("");
}

void Gl11Child::Close() { Ask("close"); }

int ViewPath(Contender& view) {
    const auto* noxd = static_cast<const NoxdPipeline*>(view.pipeline());
    NOXD_STATS stats = {};
    stats.size = sizeof stats;
    if (!noxd || noxd_get_stats(noxd->renderer(), &stats) != S_OK) return -1;
    return static_cast<int>(stats.path);
}

std::string CardOnTop(Contender& view, const std::vector<uint8_t>& card) {
    const std::string problem = CardProblem(view, view.ShowCard(card));
    if (!problem.empty()) return problem;
    const HWND window = view.pipeline()->window();
    RECT client = {};
    GetClientRect(window, &client);
    POINT centre = {client.right / 2, client.bottom / 2};
    ClientToScreen(window, &centre);
    const HWND there = WindowFromPoint(centre);
    if (!there || GetAncestor(there, GA_ROOT) != GetAncestor(window, GA_ROOT))
        return view.name() + " lies under another window, whose picture was checked";
    return "";
}

namespace {

// The child's view: made, put on the GL 1.1 path and its card checked; the
// answer to "open".
std::string OpenChildView(const ViewLayout& layout, std::unique_ptr<Contender>& view, Frames& frames) {
    view = std::make_unique<Contender>("noxd on the GL 1.1 path", MakeNoxdPipeline);
    if (!view->Open(layout)) return "failed the child's view could not be made";
    std::string gl;
    // The renderer's context is current on the thread that made it.
    view->worker().Run([&] { gl = CurrentGlDescription(); });
    const int path = ViewPath(*view);
    if (path != NOXD_PATH_CPU)
        return Format("refused the child's view draws on path %d, not the GL 1.1 path (GL %s)", path, gl.c_str());
    const std::string problem =
        CardOnTop(*view, CardFrame(layout.format, layout.frame_width, layout.frame_height));
    if (!problem.empty()) return "refused " + problem;
    frames = MovingFrames(layout.format, layout.frame_width, layout.frame_height, 4);
    return "ok " + gl;
}

bool WriteLine(HANDLE to, const std::string& line) {
    const std::string bytes = line + "\n";
    DWORD written = 0;
    return WriteFile(to, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

int Gl11ChildMain(const char* pipe_name) {
    const noxd::UniqueKernelHandle pipe(
        CreateFileA(pipe_name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!pipe) return 1;
    noxd_set_fallback(NOXD_FALLBACK_CPU);
    // The parent waits for and ends this process by its id.
    if (!WriteLine(pipe.get(), Format("ready %lu", static_cast<unsigned long>(GetCurrentProcessId())))) return 1;
    std::unique_ptr<Contender> view;
    Frames frames;
    std::string pending, line;
    char buffer[256];
    for (;;) {
        while (!TakeLine(pending, line)) {
            DWORD got = 0;
            if (!ReadFile(pipe.get(), buffer, sizeof buffer, &got, nullptr) || got == 0) return 0;
            pending.append(buffer, got);
        }
        ViewLayout l = {};
        int count = 0;
        std::string answer;
        if (std::sscanf(line.c_str(), "open %d %d %d %d %d %d %d", &l.format, &l.frame_width, &l.frame_height, &l.x,
                        &l.y, &l.client_width, &l.client_height) == 7) {
            view.reset();
            frames.clear();
            answer = OpenChildView(l, view, frames);
        } else if (std::sscanf(line.c_str(), "block %d", &count) == 1 && view && !frames.empty()) {
            answer = Format("ms %.17g", view->TimeBlock(frames, count));
        } else if (line == "close") {
            view.reset();
            answer = "ok";
        } else {
            answer = "failed unknown command \"" + line + "\"";
        }
        if (!WriteLine(pipe.get(), answer)) return 1;
    }
}

}  // namespace bench
