// Writes synthetic ZRM models for timing the command-line tool: one model of
// a shape and about a size, or a folder of small models for a batch.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "model_shapes.h"

namespace {

using morvane::bench::FindShape;
using morvane::bench::Shape;

bool writeModel(const Shape& shape, const std::filesystem::path& path, long long bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    bool written = true;
    morvane::bench::WriteShape(shape, bytes, [&](std::string_view piece) {
        written = written && std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
    });
    if (std::fclose(file) != 0 || !written) {
        std::perror(path.c_str());
        return false;
    }
    return true;
}

bool writeBatch(const std::filesystem::path& folder, int count) {
    std::filesystem::create_directories(folder);
    for (int index = 0; index < count; ++index) {
        char name[32];
        std::snprintf(name, sizeof name, "model-%05d.zrm", index);
        if (!writeModel(*FindShape("small"), folder / name, 0)) {
            return false;
        }
    }
    return true;
}

void usage() {
    std::fprintf(stderr,
                 "usage: make_model SHAPE OUTPUT MEBIBYTES\n"
                 "       make_model --batch FOLDER COUNT   (COUNT small models)\n"
                 "shapes:\n");
    for (const Shape& shape : morvane::bench::kShapes) {
        std::fprintf(stderr, "  %-14s %.*s, rewritten with -n %d\n", shape.name.data(),
                     static_cast<int>(shape.description.size()), shape.description.data(),
                     shape.volumes);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        usage();
        return 2;
    }
    const std::string what = argv[1];
    if (what == "--batch") {
        return writeBatch(argv[2], std::atoi(argv[3])) ? 0 : 1;
    }
    const Shape* shape = FindShape(what);
    if (shape == nullptr) {
        usage();
        return 2;
    }
    return writeModel(*shape, argv[2], std::atoll(argv[3]) * 1024 * 1024) ? 0 : 1;
}
