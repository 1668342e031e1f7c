// Whole-picture passes on the largest accepted picture, 1600 x 1200. Each reports its time
// and x_memcpy: the time over that of memcpy of the same 5.76 MB, the physical floor of a
// pass that touches every byte.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "image/adjust.h"
#include "image/bmp_file.h"

namespace {

constexpr int32_t kWidth = 1600;
constexpr int32_t kHeight = 1200;
constexpr size_t kPictureBytes = size_t(kWidth) * 3 * kHeight;

using Clock = std::chrono::steady_clock;

std::unique_ptr<Dib> Photo() {
    auto dib = DibCreate(kWidth, kHeight, 24);
    for (int32_t y = 0; y < kHeight; y++) {
        uint8_t* p = dib->Row(y);
        for (int32_t x = 0; x < kWidth * 3; x++) {
            p[x] = uint8_t((x * 7 + y * 13) ^ (x >> 3));
        }
    }
    return dib;
}

// The best of many memcpy runs over fresh buffers of the picture's size.
double MemcpySeconds() {
    static double best = [] {
        std::vector<uint8_t> a(kPictureBytes, 1), b(kPictureBytes, 2);
        double fastest = 1e9;
        for (int i = 0; i < 50; i++) {
            auto t0 = Clock::now();
            std::memcpy(b.data(), a.data(), a.size());
            benchmark::DoNotOptimize(b.data());
            benchmark::ClobberMemory();
            fastest = std::min(fastest, std::chrono::duration<double>(Clock::now() - t0).count());
        }
        return fastest;
    }();
    return best;
}

template <typename Fn> void Measure(benchmark::State& state, Fn fn) {
    double total = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        fn();
        benchmark::ClobberMemory();
        double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictureBytes));
    state.counters["x_memcpy"] = total / double(state.iterations()) / MemcpySeconds();
}

void BM_Memcpy(benchmark::State& state) {
    std::vector<uint8_t> a(kPictureBytes, 1), b(kPictureBytes, 2);
    Measure(state, [&] { std::memcpy(b.data(), a.data(), a.size()); });
}

void BM_DibReadFile(benchmark::State& state) {
    std::string path = (std::filesystem::temp_directory_path() / "korvane-bench.bmp").string();
    auto photo = Photo();
    DibWriteFile(path.c_str(), photo.get());
    Measure(state, [&] { benchmark::DoNotOptimize(DibReadFile(path.c_str())); });
    std::filesystem::remove(path);
}

void BM_DibWriteFile(benchmark::State& state) {
    std::string path = (std::filesystem::temp_directory_path() / "korvane-bench-w.bmp").string();
    auto photo = Photo();
    Measure(state, [&] { DibWriteFile(path.c_str(), photo.get()); });
    std::filesystem::remove(path);
}

void BM_DibConvertTo24(benchmark::State& state) {
    auto eight = DibCreate(kWidth, kHeight, 8);
    for (size_t i = eight->PixelOffset(); i < eight->Size(); i++) {
        eight->Bytes()[i] = uint8_t(i * 31);
    }
    Measure(state, [&] { benchmark::DoNotOptimize(DibConvertTo24(eight.get())); });
}

void BM_DibScaleDown(benchmark::State& state) {
    auto photo = Photo();
    int scale = int(state.range(0));
    ScalePlan plan = PlanScale(scale, kWidth, kHeight);
    Measure(state, [&] {
        benchmark::DoNotOptimize(DibScaleDown(photo.get(), plan.width, plan.height));
    });
}

void BM_DibAdjustBrightness(benchmark::State& state) {
    auto photo = Photo();
    int amount = int(state.range(0));
    Measure(state, [&] { DibAdjustBrightness(photo.get(), amount); });
}

void BM_DibAdjustContrast(benchmark::State& state) {
    auto photo = Photo();
    int amount = int(state.range(0));
    Measure(state, [&] { DibAdjustContrast(photo.get(), amount); });
}

} // namespace

BENCHMARK(BM_Memcpy)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DibReadFile)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DibWriteFile)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DibConvertTo24)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DibScaleDown)->Arg(100)->Arg(90)->Arg(50)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DibAdjustBrightness)->Arg(50)->Arg(-50)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DibAdjustContrast)->Arg(50)->Arg(-25)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
