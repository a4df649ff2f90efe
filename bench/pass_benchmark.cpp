#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "model/collision_volumes.h"
#include "support/zrm_builder.h"

namespace {

using morvane::testing::chunk;

void appendChunk(std::string& bytes, std::uint32_t tag, std::uint32_t size) {
    bytes += chunk(tag, 0, size, std::string(size, '\x5A'));
}

std::string modelWithOnePrim(std::uint32_t primBytes) {
    std::string model;
    appendChunk(model, 0x5A524D34u, 0);
    appendChunk(model, 0x5052494Du, primBytes);
    return model;
}

std::string modelOfSmallChunks(int chunks) {
    std::string model;
    appendChunk(model, 0x5A524D34u, 0);
    const std::uint32_t kinds[] = {0x58595A53u, 0x504C414Eu, 0x4E4F524Du, 0x5052494Du, 0x48414E44u};
    for (int i = 0; i < chunks; ++i) {
        appendChunk(model, kinds[i % 5], 64);
    }
    return model;
}

void rewrite(benchmark::State& state, const std::string& model) {
    std::ostream silent(nullptr);
    for (auto _ : state) {
        std::istringstream in(model);
        std::stringstream out;
        benchmark::DoNotOptimize(morvane::AddCollisionVolumes(in, out, 1000, silent));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(model.size()));
}

void OnePrimChunk(benchmark::State& state) {
    rewrite(state, modelWithOnePrim(static_cast<std::uint32_t>(state.range(0))));
}
BENCHMARK(OnePrimChunk)->Arg(1 << 20)->Arg(64 << 20)->Unit(benchmark::kMillisecond);

void ManySmallChunks(benchmark::State& state) {
    rewrite(state, modelOfSmallChunks(static_cast<int>(state.range(0))));
}
BENCHMARK(ManySmallChunks)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
