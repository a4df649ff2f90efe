// The pass's own speed on each shape of model, in memory so that no disk
// takes part: nanoseconds per chunk and bytes read per second; and once with
// the trace on, which the other runs leave off.
#include <benchmark/benchmark.h>

#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "model/collision_volumes.h"
#include "model_shapes.h"

namespace {

using morvane::bench::Shape;

constexpr std::int64_t kModelBytes = 32 << 20;

// Reads a model that is already in memory without copying it.
class MemoryInput : public std::streambuf {
public:
    explicit MemoryInput(const std::string& bytes) {
        char* data = const_cast<char*>(bytes.data());
        setg(data, data, data + bytes.size());
    }

protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode) override {
        const off_type base = direction == std::ios_base::beg   ? 0
                              : direction == std::ios_base::cur ? gptr() - eback()
                                                                : egptr() - eback();
        return seekpos(pos_type(base + offset), std::ios_base::in);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        if (position < 0 || position > egptr() - eback()) {
            return pos_type(off_type(-1));
        }
        setg(eback(), eback() + off_type(position), egptr());
        return position;
    }
};

// Writes into memory that outlives the runs, so that no run pays for growing it.
class MemoryOutput : public std::streambuf {
public:
    explicit MemoryOutput(std::vector<char>& room) : room_(room) {
        setp(room_.data(), room_.data() + room_.size());
    }

protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode) override {
        const off_type base = direction == std::ios_base::beg ? 0 : pptr() - pbase();
        return seekpos(pos_type(base + offset), std::ios_base::out);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        if (position < 0 || position > epptr() - pbase()) {
            return pos_type(off_type(-1));
        }
        setp(room_.data(), room_.data() + room_.size());
        pbump(static_cast<int>(off_type(position)));
        return position;
    }

private:
    std::vector<char>& room_;
};

// Takes the trace and keeps none of it, so that a traced run times the
// trace's formatting and nothing after it.
class DiscardedTrace : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

void rewriteShape(benchmark::State& state, const Shape& shape, bool traced) {
    std::string model;
    const std::int64_t chunks = morvane::bench::WriteShape(
        shape, kModelBytes, [&model](std::string_view piece) { model += piece; });
    std::vector<char> room(model.size() * 2 + (1 << 20));
    DiscardedTrace discarded;
    std::ostream trace(traced ? &discarded : nullptr);
    for (auto _ : state) {
        MemoryInput inputBuffer(model);
        MemoryOutput outputBuffer(room);
        std::istream in(&inputBuffer);
        std::ostream out(&outputBuffer);
        benchmark::DoNotOptimize(morvane::AddCollisionVolumes(in, out, shape.volumes, trace));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * std::ssize(model));
    state.counters["per_chunk"] = benchmark::Counter(
        static_cast<double>(chunks),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

const bool kRegistered = [] {
    for (const Shape& shape : morvane::bench::kShapes) {
        benchmark::RegisterBenchmark(std::string(shape.name).c_str(), rewriteShape, shape, false)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("xyzs-16/traced", rewriteShape,
                                 *morvane::bench::FindShape("xyzs-16"), true)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
