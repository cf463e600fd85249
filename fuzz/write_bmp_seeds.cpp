// Writes the seed files of fuzz_bmp_file into the folder given.
#include <fstream>
#include <string>
#include <vector>

#include "bmp_corpus.h"

using namespace noxd_osd_test;

namespace {

uint32_t Cycle(int x, int y) { return static_cast<uint32_t>(x + 2 * y) % 2; }
uint32_t Colour(int x, int y) { return 0x00102030u * static_cast<uint32_t>(x + y + 1); }

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    int n = 0;
    for (const MalformedBmp& bad : MalformedBmpCorpus()) Write(folder + "/malformed-" + std::to_string(n++), bad.bytes);
    for (int bits : {1, 4, 8, 24, 32})
        for (bool top_down : {false, true})
            Write(folder + "/sound-" + std::to_string(bits) + (top_down ? "-top-down" : ""),
                  BmpOf(5, 3, bits, top_down, bits > 8 ? std::vector<uint32_t>{} : std::vector<uint32_t>{0, 0xFFFFFF},
                        bits > 8 ? Colour : Cycle));
    Write(folder + "/sound-8-two-colours", Bmp8(7, 3));
    return 0;
}
