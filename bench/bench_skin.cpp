// Make Skin and the file set on the largest accepted picture: one whole skin from a
// 1600 x 1200 work picture, its folder on disk and its archive in memory.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "compose/skin.h"
#include "image/bmp_file.h"
#include "output/skin_writer.h"
#include "output/wsz.h"
#include "project/suggest.h"

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

// A suggested design on the whole 1600 x 1200 picture (the scale given as 100, the largest
// work picture there is): the survey of the picture, the search for the bands and the
// colours. The work picture is made once, as it is kept between suggestions.
void BM_SuggestDesign(benchmark::State& state) {
    auto photo = Photo();
    std::vector<uint8_t> rgba(size_t(1600) * 1200 * 4, 255);
    for (int32_t y = 0; y < 1200; y++) {
        for (int32_t x = 0; x < 1600; x++) {
            for (int c = 0; c < 3; c++) {
                rgba[(size_t(y) * 1600 + size_t(x)) * 4 + size_t(c)] = photo->Row(y)[x * 3 + 2 - c];
            }
        }
    }
    Project project;
    project.OpenRgba(rgba.data(), 1600, 1200);
    SkinOptions options;
    ApplySkinOption("mode", state.range(0) == 0 ? "tile" : "free", &options);
    ApplySkinOption("scale", "100", &options);
    for (auto _ : state) {
        benchmark::DoNotOptimize(SuggestDesign(project, options));
    }
}

} // namespace

BENCHMARK(BM_SuggestDesign)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeSkin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSkinFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeSkinArchive)->Unit(benchmark::kMillisecond);
