// Make Skin and the file set on the largest accepted picture: one whole skin from a
// 1600 x 1200 work picture, its folder on disk and its archive in memory.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "compose/skin.h"
#include "image/bmp_file.h"
#include "output/skin_writer.h"
#include "output/wsz.h"

namespace {

std::unique_ptr<Dib> Photo() {
    auto dib = DibCreate(1600, 1200, 24);
    for (int32_t y = 0; y < 1200; y++) {
        uint8_t* p = dib->Row(y);
        for (int32_t x = 0; x < 1600 * 3; x++) {
            p[x] = uint8_t((x * 7 + y * 13) ^ (x >> 3));
        }
    }
    return dib;
}

SkinInputs Inputs(const Dib* picture) {
    SkinInputs in;
    in.picture = picture;
    for (auto& offset : in.bandOffsets) {
        offset = {-600, 500};
    }
    in.options.showVis = true;
    return in;
}

void BM_MakeSkin(benchmark::State& state) {
    auto photo = Photo();
    SkinInputs in = Inputs(photo.get());
    for (auto _ : state) {
        benchmark::DoNotOptimize(MakeSkin(in));
    }
}

void BM_WriteSkinFolder(benchmark::State& state) {
    auto photo = Photo();
    auto skin = MakeSkin(Inputs(photo.get()));
    auto folder = std::filesystem::temp_directory_path() / "korvane-bench-skin";
    std::filesystem::create_directories(folder);
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteSkinFolder(folder.string(), *skin, PlaylistStyle(), true));
    }
    std::filesystem::remove_all(folder);
}

void BM_EncodeSkinArchive(benchmark::State& state) {
    auto photo = Photo();
    auto skin = MakeSkin(Inputs(photo.get()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeSkinArchive(*skin, PlaylistStyle(), true));
    }
}

} // namespace

BENCHMARK(BM_MakeSkin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSkinFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeSkinArchive)->Unit(benchmark::kMillisecond);
