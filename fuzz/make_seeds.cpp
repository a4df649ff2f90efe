// Writes the fuzzer's seed models into a folder: every chunk kind, STRN
// padding, several PRIM chunks, unrecognised words and each kind of refusal.
// Each file begins with the two bytes from which the fuzzer takes the count.
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/zrm_builder.h"

namespace {

using namespace morvane::testing;

std::string withCount(unsigned count, const std::string& model) {
    const unsigned selector = count - 1;
    return std::string{static_cast<char>(selector & 0xFFu), static_cast<char>(selector >> 8)} +
           model;
}

std::vector<std::pair<std::string, std::string>> acceptedModels() {
    const std::string h = containerHeader();
    return {
        {"worked-example", withCount(2, containerHeader(100) + chunk(kXyzs, 7, 24, payload(24)) +
                                            chunk(kPrim, 9, 40, payload(40)))},
        {"every-kind",
         withCount(3, h + chunk(kXyzs, 0, 8, payload(8)) + chunk(kPlan, 1, 4, payload(4)) +
                          chunk(kNorm, 2, 12, payload(12)) + chunk(kStrn, 3, 5, payload(8)) +
                          chunk(kHand, 4, 8, payload(8)) + chunk(kPrim, 5, 16, payload(16)))},
        {"strn-padding", withCount(1, h + chunk(kStrn, 0, 1, payload(4)) +
                                          chunk(kStrn, 0, 8, payload(8)) + chunk(kStrn, 0, 0, ""))},
        {"several-prims",
         withCount(1000, h + chunk(kPrim, 0, 4, payload(4)) + chunk(kHand, 0, 0, "") +
                             chunk(kPrim, 0, 0, "") + chunk(kPrim, 0, 12, payload(12)))},
        {"unrecognised-words", withCount(5, h + words({0x12345678u, 0x50524D49u}) +
                                                chunk(kNorm, 0, 4, payload(4)) + "xyz")},
        {"nested-header",
         withCount(7, h + containerHeader(0xFFFFFFFFu) + chunk(kPrim, 0, 4, payload(4)))},
        {"copy-block-edge", withCount(1, h + chunk(kXyzs, 0, 2049, payload(2049)))},
        {"header-only", withCount(1, h)},
    };
}

std::vector<std::pair<std::string, std::string>> refusedModels() {
    const std::string h = containerHeader();
    return {
        {"empty", withCount(1, "")},
        {"short", withCount(1, words({kZrm4, 0}))},
        {"other-first-word", withCount(1, chunk(kXyzs, 0, 0, ""))},
        {"header-cut-off", withCount(1, h + words({kPlan, 0}))},
        {"payload-cut-off", withCount(1, h + chunk(kNorm, 0, 64, payload(10)))},
        {"strn-padding-cut-off", withCount(1, h + chunk(kStrn, 0, 5, "hello"))},
        {"negative-size", withCount(1, h + chunk(kPrim, 0, 0xFFFFFFF8u, ""))},
        {"hand-size-six", withCount(1, h + chunk(kHand, 0, 6, payload(8)))},
        {"strn-rounding-overflows", withCount(1, h + chunk(kStrn, 0, 0x7FFFFFFFu, ""))},
        {"extended-size-overflows", withCount(1000, h + chunk(kPrim, 0, 0x7FFFF000u, ""))},
    };
}

bool writeSeed(const std::string& folder, const std::string& name, const std::string& bytes) {
    std::ofstream file(folder + "/" + name, std::ios::binary);
    file << bytes;
    return static_cast<bool>(file.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    auto seeds = acceptedModels();
    for (auto& refused : refusedModels()) {
        seeds.push_back(std::move(refused));
    }
    for (const auto& [name, bytes] : seeds) {
        if (!writeSeed(argv[1], name, bytes)) {
            std::perror(name.c_str());
            return 1;
        }
    }
    return 0;
}
