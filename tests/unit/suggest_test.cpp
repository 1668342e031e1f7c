// The suggested design: bands on the picture's subject, colours that read, the user's own
// choices kept, and the warning for a pair that does not read.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "project/suggest.h"
#include "tests/unit/test_util.h"

namespace {

// A 1200 x 900 field, flat blue-grey or grey with grain, and a 120 x 90 patch of small
// coloured squares at (px, py): the one thing in it worth showing.
std::unique_ptr<Project> FieldWithPatch(int32_t px, int32_t py, bool grainy) {
    const int32_t w = 1200, h = 900;
    std::vector<uint8_t> rgba(size_t(w) * h * 4, 255);
    uint32_t seed = 12345;
    for (int32_t y = 0; y < h; y++) {
        for (int32_t x = 0; x < w; x++) {
            uint8_t* p = &rgba[(size_t(y) * w + size_t(x)) * 4];
            seed = seed * 1103515245 + 12345;
            int grain = grainy ? int(seed >> 16) % 61 - 30 : 0;
            p[0] = uint8_t(100 + grain);
            p[1] = uint8_t(110 + grain);
            p[2] = uint8_t(120 + grain);
            if (x >= px && x < px + 120 && y >= py && y < py + 90) {
                bool on = (x / 6 + y / 6) % 2;
                p[0] = on ? 240 : 20;
                p[1] = on ? 200 : 40;
                p[2] = on ? 30 : 160;
            }
        }
    }
    auto project = std::make_unique<Project>();
    EXPECT_EQ(project->OpenRgba(rgba.data(), w, h).outcome, PictureOutcome::Accepted);
    return project;
}

bool Inside(int32_t x, int32_t y, int32_t w, int32_t h, const BandPosition& at, int32_t height) {
    return x >= at.x && y >= at.y && x + w <= at.x + kBandWidth && y + h <= at.y + height;
}

SkinOptions Asking(std::initializer_list<std::pair<const char*, const char*>> options) {
    SkinOptions o;
    for (const auto& [name, value] : options) {
        EXPECT_EQ(ApplySkinOption(name, value, &o), SkinOptionResult::Applied) << name;
    }
    return o;
}

} // namespace

TEST(Suggest, BandsLandOnTheDetailNotOnFlatOrGrainyField) {
    struct Row {
        int32_t px, py;
        bool grainy;
        const char* mode;
    };
    const Row rows[] = {
        {40, 30, false, "tile"},        {1040, 780, false, "tile"}, {60, 420, true, "tile"},
        {1000, 60, true, "continuous"}, {540, 800, false, "free"},  {80, 700, true, "free"},
    };
    for (const Row& row : rows) {
        auto project = FieldWithPatch(row.px, row.py, row.grainy);
        SkinOptions o = SuggestDesign(*project, Asking({{"mode", row.mode}}));
        SCOPED_TRACE(SuggestedArguments(o));
        // About 600 pixels across: half of 1200, and 450 rows, enough for a 348-row frame.
        ASSERT_EQ(o.scale, 50);
        const int32_t x = row.px / 2, y = row.py / 2, w = 60, h = 45;
        if (o.mode == AdjustmentMode::Free) {
            EXPECT_TRUE(Inside(x, y, w, h, o.bands[0], kBandHeight)) << "main shows the patch";
            for (int a = 0; a < 3; a++) {
                for (int b = a + 1; b < 3; b++) {
                    EXPECT_TRUE(std::abs(o.bands[a].y - o.bands[b].y) >= kBandHeight ||
                                std::abs(o.bands[a].x - o.bands[b].x) >= kBandWidth)
                        << "bands " << a << " and " << b << " overlap";
                }
            }
        } else {
            EXPECT_TRUE(Inside(x, y, w, h, o.at, row.mode[0] == 'c' ? kFrameHeight : kBandHeight));
        }
    }
}

TEST(Suggest, PhotographsGetTheirOwnPalettesThatRead) {
    // A portrait, and the same made dark, light and warm, as a camera would have taken them.
    OpenedPicture portrait = OpenPictureFile(KORVANE_SAMPLE_PHOTO, nullptr);
    ASSERT_EQ(portrait.outcome, PictureOutcome::Accepted);
    const Dib& base = *portrait.picture;
    auto variant = [&](auto change) {
        std::vector<uint8_t> rgba(size_t(base.Width()) * base.Height() * 4, 255);
        for (int32_t y = 0; y < base.Height(); y++) {
            for (int32_t x = 0; x < base.Width(); x++) {
                const uint8_t* p = base.Row(y) + x * 3;
                uint8_t* q = &rgba[(size_t(y) * base.Width() + x) * 4];
                for (int c = 0; c < 3; c++) {
                    q[c] = uint8_t(std::clamp(change(c, p[2 - c]), 0, 255));
                }
            }
        }
        auto project = std::make_unique<Project>();
        project->OpenRgba(rgba.data(), base.Width(), base.Height());
        return SuggestDesign(*project, SkinOptions());
    };
    const SkinOptions designs[] = {
        variant([](int, int v) { return v; }),
        variant([](int, int v) { return v / 4; }),
        variant([](int, int v) { return 150 + v / 2; }),
        variant([](int c, int v) { return c == 0   ? v + 60
                                          : c == 2 ? v - 50
                                                   : v; }),
    };
    std::set<std::vector<ColorRef>> palettes;
    for (const SkinOptions& o : designs) {
        SCOPED_TRACE(SuggestedArguments(o));
        EXPECT_TRUE(LowContrastPairs(o).empty());
        palettes.insert({o.colors.text, o.colors.back, o.playlist.normalText,
                         o.playlist.currentText, o.playlist.normalBack, o.playlist.selectedBack});
    }
    EXPECT_EQ(palettes.size(), 4u);
    // The dark photo gets a dark playlist, the light one a light playlist.
    EXPECT_LT(ContrastRatio(designs[1].playlist.normalBack, 0x000000), 1.5);
    EXPECT_LT(ContrastRatio(designs[2].playlist.normalBack, 0xFFFFFF), 1.5);
}

TEST(Suggest, WhatTheUserGaveStaysAndTheRestCanBeRepeatedFromTheLine) {
    auto project = FieldWithPatch(500, 400, true);
    SkinOptions given = Asking({{"mode", "free"},
                                {"equalizer", "7,8"},
                                {"scale", "80"},
                                {"text-color", "123456"},
                                {"playlist-normal-bg", "000000"}});
    SkinOptions o = SuggestDesign(*project, given);
    EXPECT_EQ(std::tuple(o.scale, o.bands[1].x, o.bands[1].y, o.colors.text, o.playlist.normalBack),
              std::tuple(80, 7, 8, ColorRef(0x563412), ColorRef(0)));
    // The printed line holds exactly what was chosen, and gives the same skin again.
    const std::string line = SuggestedArguments(o);
    EXPECT_EQ(line.find("--equalizer"), std::string::npos);
    EXPECT_EQ(line.find("--scale"), std::string::npos);
    EXPECT_EQ(line.find("--text-color"), std::string::npos);
    std::istringstream words(line);
    SkinOptions repeated = given;
    for (std::string name, value; words >> name >> value;) {
        ASSERT_EQ(ApplySkinOption(name.substr(2), value, &repeated), SkinOptionResult::Applied);
    }
    std::string message;
    SkinOptions asked = given;
    asked.suggest = true;
    ASSERT_TRUE(project->Make(asked, "--", &message));
    const std::vector<SkinFile> suggested = project->SkinFiles();
    ASSERT_TRUE(project->Make(repeated, "--", &message));
    const std::vector<SkinFile> again = project->SkinFiles();
    ASSERT_EQ(suggested.size(), again.size());
    for (size_t i = 0; i < again.size(); i++) {
        EXPECT_EQ(suggested[i].bytes, again[i].bytes) << again[i].name;
    }
}

TEST(Suggest, PairsBelowFourAndAHalfAreToldTheStockColoursAreNot) {
    EXPECT_TRUE(LowContrastPairs(SkinOptions()).empty());
    // 333333 on black: 1.66:1, shown cut to 1.6; 0000C0 on black 1.76:1 and on itself 1:1;
    // the playlist's 00FF00 on 0000C0 reads 8.7:1.
    std::vector<std::string> said;
    for (const ContrastWarning& w :
         LowContrastPairs(Asking({{"text-color", "333333"}, {"playlist-current", "0000C0"}}))) {
        said.push_back(w.Message());
    }
    EXPECT_EQ(said, (std::vector<std::string>{
                        "Low contrast: display text on back reads 1.6:1 (4.5:1 or more reads well)",
                        "Low contrast: current title on playlist back reads 1.7:1 (4.5:1 or more "
                        "reads well)",
                        "Low contrast: current title on selected back reads 1.0:1 (4.5:1 or more "
                        "reads well)"}));
}
