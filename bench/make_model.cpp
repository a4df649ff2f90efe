// Writes a synthetic ZRM model of about the given size for timing the
// command-line tool: a container header, then mostly large XYZS and PRIM
// chunks with a STRN and a HAND chunk between them.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void putWord(std::FILE* file, std::uint32_t value) {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    std::fwrite(bytes, 1, 4, file);
}

// A STRN payload is padded to whole words; its size word keeps the unpadded length.
void putChunk(std::FILE* file, std::uint32_t tag, std::uint32_t size,
              const std::vector<char>& filler) {
    putWord(file, tag);
    putWord(file, 0);
    putWord(file, size);
    const std::uint32_t occupied = tag == 0x5354524Eu ? (size + 3) / 4 * 4 : size;
    for (std::uint32_t left = occupied; left > 0;) {
        const auto step = static_cast<std::uint32_t>(std::min<std::size_t>(left, filler.size()));
        std::fwrite(filler.data(), 1, step, file);
        left -= step;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_model OUTPUT MEBIBYTES\n");
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const long long target = std::atoll(argv[2]) * 1024 * 1024;
    const std::uint32_t chunkBytes = 8 * 1024 * 1024;
    std::vector<char> filler(1024 * 1024);
    for (std::size_t i = 0; i < filler.size(); ++i) {
        filler[i] = static_cast<char>(i * 131 % 251);
    }
    putChunk(file, 0x5A524D34u, 0, filler);
    long long written = 12;
    for (int index = 0; written < target; ++index) {
        const std::uint32_t tag = index % 2 == 0 ? 0x58595A53u : 0x5052494Du;
        putChunk(file, tag, chunkBytes, filler);
        putChunk(file, 0x5354524Eu, 13, filler);
        putChunk(file, 0x48414E44u, 64, filler);
        written += 12 + chunkBytes + 12 + 16 + 12 + 64;
    }
    return std::fclose(file) == 0 ? 0 : 1;
}
