// Make Skin: every pixel of every file and preview against reviewed digests, for the plain
// settings and for every option at once (which hold where each band is cut), and the colour
// table by the rule a player's user would state.
#include <gtest/gtest.h>

#include <zlib.h>

#include "compose/skin.h"
#include "output/skin_writer.h"
#include "tests/unit/test_util.h"

namespace {

constexpr ColorRef kBack = 0x302010; // MainBackColor
constexpr ColorRef kText = 0x40E0FF; // MainTextColor

// A 400 x 380 picture with every pixel distinct; the bands sit at the top-left.
struct Fixture {
    std::unique_ptr<Dib> picture = MakePattern24(400, 380);
    SkinInputs in;
    Fixture() {
        in.picture = picture.get();
        in.colors = {kBack, kText};
        in.bandOffsets.fill({0, 380 - 116});
        in.frameOffset = {0, 380 - 348};
    }
};

} // namespace

// Index 0 and 1 the back colour, 2..17 a ramp from 7/32 to 22/32 of the way from back to text
// truncated toward zero, 18 the text colour, 19..22 repeat 4, 6, 14, 12, 23 the text colour.
TEST(MakeSkin, VisualisationColoursRampFromBackToText) {
    VisColorTable up = MakeVisColors(0x000000, 0xFFFFFF);
    // A channel where the text is darker runs downward: 200 + (-100 x 7) / 32 = 179.
    VisColorTable down = MakeVisColors(Rgb(200, 10, 100), Rgb(100, 10, 50));
    EXPECT_EQ(
        (std::vector{up[0], up[1], up[2], up[17], up[18], up[23], down[2], down[17], down[23]}),
        (std::vector{0u, 0u, Rgb(55, 55, 55), Rgb(175, 175, 175), 0xFFFFFFu, 0xFFFFFFu,
                     Rgb(179, 10, 90), Rgb(132, 10, 66), Rgb(100, 10, 50)}));
    for (const VisColorTable& t : {up, down}) {
        EXPECT_EQ((std::array{t[19], t[20], t[21], t[22]}), (std::array{t[4], t[6], t[14], t[12]}));
    }
}

TEST(TitleText, RedrawFollowsTheSwapOfTheMadeBitmaps) {
    Fixture f;
    f.in.options.swapRedBlue = true;
    f.in.title.text = "first";
    auto skin = MakeSkin(f.in);
    for (const char* text : {"second", ""}) {
        f.in.title.text = text;
        DrawTitleText(*skin, f.in, true);
        auto fresh = MakeSkin(f.in);
        EXPECT_EQ(BlockOf(skin->main.get()), BlockOf(fresh->main.get())) << text;
        EXPECT_EQ(BlockOf(skin->titlebar.get()), BlockOf(fresh->titlebar.get())) << text;
        EXPECT_TRUE(SameRect(skin->mainPreview.get(), 18, 4, fresh->main.get(), 18, 4, 220, 8));
    }
}

// The broad net. A change here is a change of what users get: look at the rendered skin
// (scripts/render-pieces.sh), then paste the lines the failure prints into the .inc file.
TEST(MakeSkin, EveryFileAndPreviewMatchesItsReviewedDigest) {
    struct Digest {
        int set;
        const char* name;
        uint32_t crc;
    };
    const Digest digests[] = {
#include "tests/unit/skin_digests.inc"
    };
    EXPECT_FALSE(MakeSkin(SkinInputs{})) << "nothing is made without a picture";
    std::vector<Digest> seen;
    for (int set : {0, 1}) {
        Fixture f;
        if (set == 1) { // every option away from its default, and a template folder
            f.in.mode = AdjustmentMode::Continuous;
            f.in.order = {2, 0, 1};
            f.in.frameOffset = {-37, 11};
            f.in.options = {true, true, true, false};
            f.in.title = {"Hello #1 {x}", TitleAlign::Center, TitleColor::Soft};
            f.in.pieces = PieceSource(std::string(KORVANE_TEMPLATES) + "/High Contrast");
        }
        auto skin = MakeSkin(f.in);
        std::vector<SkinFile> files = SkinFileSet(*skin, PlaylistStyle(), set == 0);
        for (auto [name, dib] : {std::pair{"main preview", skin->mainPreview.get()},
                                 {"equalizer preview", skin->equalizerPreview.get()},
                                 {"playlist preview", skin->playlistPreview.get()}}) {
            files.push_back({name, BlockOf(dib)});
        }
        for (const SkinFile& file : files) {
            seen.push_back(
                {set, file.name, uint32_t(crc32(0, file.bytes.data(), uInt(file.bytes.size())))});
        }
    }
    EXPECT_EQ(seen.size(), std::size(digests));
    for (size_t i = 0; i < seen.size(); i++) {
        bool same = i < std::size(digests) && seen[i].crc == digests[i].crc &&
                    std::string(seen[i].name) == digests[i].name;
        EXPECT_TRUE(same) << "now {" << seen[i].set << ", \"" << seen[i].name << "\", 0x"
                          << std::hex << seen[i].crc << "u},";
    }
}
