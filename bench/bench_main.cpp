// noxd_bench: frame cost against the floor and the peer, idle views, the
// wall, overlays, start-up, padded rows, the GL path without shaders and the
// picture checks, printed as tables with their goals.
//   noxd_bench [--quick] [--only N,N,...] [--width W] [--against OTHER_NOXD.DLL]
// --width limits the frame-cost grids to frames of one width.
// --only 8 measures what each piece of noxd's frame sequence costs on top of
// the floor; it runs only when asked for.
// --against measures this noxd.dll against another build of it in turns
// (result 9), to show what a change bought: the frame costs, overlays, idle
// CPU and start-up of results 1, 5, 3 and 6, those of them --only names, or
// all four when it names none of them.
// --gl11-child PIPE makes the program result 11's child process, which
// draws on the GL 1.1 path at its parent's commands (bench/gl11_child.h).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "benches.h"
#include "gl11_child.h"

namespace {

struct Command {
    bench::Options options;
    std::set<int> only;     // empty: all
    std::string other_dll;  // --against: another noxd.dll to take turns with
};

// "1,2,10": the numbers of the results; anything else between them is skipped.
std::set<int> ResultNumbers(const char* list) {
    std::set<int> numbers;
    while (*list) {
        char* end = nullptr;
        const long n = std::strtol(list, &end, 10);
        if (n > 0) numbers.insert(static_cast<int>(n));
        list = end == list ? list + 1 : end;
    }
    return numbers;
}

bool Parse(int argc, char** argv, Command& command) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            command.options.quick = true;
        } else if (std::strcmp(argv[i], "--width") == 0 && i + 1 < argc) {
            command.options.only_width = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--against") == 0 && i + 1 < argc) {
            command.other_dll = argv[++i];
        } else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            command.only = ResultNumbers(argv[++i]);
        } else {
            return false;
        }
    }
    return true;
}

bench::AgainstParts PartsAgainst(const std::set<int>& only) {
    const bool any = only.count(1) || only.count(3) || only.count(5) || only.count(6);
    auto part = [&](int n) { return !any || only.count(n) > 0; };
    return {part(1), part(5), part(3), part(6)};
}

}  // namespace

int main(int argc, char** argv) {
    // Result 11 starts the bench again as its child with GL 1.1's environment.
    if (argc == 3 && std::strcmp(argv[1], "--gl11-child") == 0) return bench::Gl11ChildMain(argv[2]);
    Command command;
    if (!Parse(argc, argv, command)) {
        std::fprintf(stderr, "usage: noxd_bench [--quick] [--only 1,2,3,4,5,6,7,8,9,10,11] [--width W] [--against NOXD.DLL]\n");
        return 2;
    }
    auto wanted = [&](int n) {
        return command.only.count(n) > 0 || (command.only.empty() && n != 8);
    };
    std::printf("%s%s\n", bench::BuildDescription().c_str(),
                command.options.quick ? "mode:   quick (fewer blocks, shorter runs)" : "mode:   full");
    std::fflush(stdout);
    using Bench = bench::Result (*)(const bench::Options&);
    const std::pair<int, Bench> benches[] = {{1, bench::FrameCostVsFloor}, {2, bench::PeerVsSdl2}, {3, bench::IdleRenderers},
                                            {4, bench::Wall},             {5, bench::Overlays},
                                            {6, bench::StartUp},          {10, bench::PaddedRows},
                                            {11, bench::GlFallbackPath},  {8, bench::ExplainGap}};
    std::vector<bench::Result> results;
    for (const auto& [number, run] : benches) {
        if (!wanted(number)) continue;
        results.push_back(run(command.options));
        bench::PrintResult(results.back());
    }
    if (!command.other_dll.empty()) {
        bench::NoxdApi other;
        std::string problem;
        const std::wstring path(command.other_dll.begin(), command.other_dll.end());
        if (bench::LoadOtherNoxd(path, other, problem)) {
            results.push_back(bench::AgainstOtherBuild(command.options, other, command.other_dll,
                                                       PartsAgainst(command.only)));
            bench::PrintResult(results.back());
        } else {
            std::printf("\n9. %s: %s\n", command.other_dll.c_str(), problem.c_str());
        }
    }
    if (wanted(7)) {
        results.push_back(bench::PictureChecks(results));
        bench::PrintResult(results.back());
    }
    bench::PrintSummary(results);
    return 0;
}
