// Make Skin: pixels a wrong source, order or offset would change, checked at the places a
// player reads them.
#include <gtest/gtest.h>

#include <zlib.h>

#include "compose/glyphs.h"
#include "compose/skin.h"
#include "image/bmp_file.h"
#include "output/skin_writer.h"
#include "tests/unit/test_util.h"

namespace {

constexpr ColorRef kBack = 0x302010; // MainBackColor
constexpr ColorRef kText = 0x40E0FF; // MainTextColor
constexpr ColorRef kWhite = 0xFFFFFF;

// A 400 x 380 picture with every pixel distinct; the bands sit at the top-left unless a test
// moves them.
struct Fixture {
    std::unique_ptr<Dib> picture = MakePattern24(400, 380);
    SkinInputs in;
    Fixture() {
        in.picture = picture.get();
        in.colors = {kBack, kText};
        for (auto& offset : in.bandOffsets) {
            offset = {0, 380 - 116};
        }
        in.frameOffset = {0, 380 - 348};
    }
};

std::vector<uint8_t> Bytes(const Dib* d) {
    return {d->Bytes(), d->Bytes() + d->Size()};
}

} // namespace

TEST(MakeSkin, NothingIsMadeWithoutAPicture) {
    SkinInputs in;
    EXPECT_FALSE(MakeSkin(in));
}

TEST(MakeSkin, BandsAreCutWhereTheWorkspacesShowThem) {
    Fixture f;
    auto band = DibCreate(275, 116, 24);
    CutBand(f.in, Band::Main, band.get());
    EXPECT_TRUE(SameRect(band.get(), 0, 0, f.picture.get(), 0, 0, 275, 116)) << "top-left view";

    f.in.bandOffsets[1] = {-125, 0}; // scrolled right to the end and down to the bottom
    CutBand(f.in, Band::Equalizer, band.get());
    EXPECT_TRUE(SameRect(band.get(), 0, 0, f.picture.get(), 125, 380 - 116, 275, 116));

    // Continuous, order (2, 0, 1): Main is the bottom third of the frame, Equalizer the top.
    f.in.mode = AdjustmentMode::Continuous;
    f.in.order = {2, 0, 1};
    f.in.frameOffset = {-10, 380 - 348 - 20}; // frame top-left at picture (10, 20)
    CutBand(f.in, Band::Main, band.get());
    EXPECT_TRUE(SameRect(band.get(), 0, 0, f.picture.get(), 10, 20 + 232, 275, 116));
    CutBand(f.in, Band::Equalizer, band.get());
    EXPECT_TRUE(SameRect(band.get(), 0, 0, f.picture.get(), 10, 20, 275, 116));
    CutBand(f.in, Band::Playlist, band.get());
    EXPECT_TRUE(SameRect(band.get(), 0, 0, f.picture.get(), 10, 20 + 116, 275, 116));
}

TEST(MakeSkin, MainWindowBitmapsTakeTheirPiecesFromMain) {
    Fixture f;
    auto skin = MakeSkin(f.in);
    ASSERT_TRUE(skin);
    const Dib* main = skin->main.get();
    // The colon of the time display.
    for (auto [x, y] : {std::pair{73, 30}, {74, 30}, {73, 34}, {74, 34}}) {
        EXPECT_EQ(DibGetPixel(main, x, y), kText) << x << "," << y;
    }
    // Display fields are painted with the back colour (below the time's colon).
    EXPECT_TRUE(AllPixelsAre(main, 22, 35, 80, 26, kBack));
    EXPECT_TRUE(AllPixelsAre(main, 110, 25, 157, 10, kBack));
    // playpaus: columns 0 and 29..35 are never written.
    for (int32_t y = 0; y < 9; y++) {
        EXPECT_EQ(DibGetPixel(skin->playpaus.get(), 0, y), 0u);
        for (int32_t x = 29; x <= 35; x++) {
            ASSERT_EQ(DibGetPixel(skin->playpaus.get(), x, y), 0u) << x << "," << y;
        }
    }
    // Every digit cell starts from the same picture patch of main.bmp (36, 26); the eleventh,
    // blank cell keeps it as it is.
    EXPECT_TRUE(SameRect(skin->numbers.get(), 90, 0, main, 36, 26, 9, 13));
    // text.bmp cells repeat main.bmp (112, 27) where the font leaves the picture.
    EXPECT_TRUE(SameRect(skin->text.get(), 142, 0, main, 112, 27, 3, 6)) << "the space cell";
    // The volume slider frames repeat main.bmp (107, 57) every 15 rows.
    EXPECT_TRUE(SameRect(skin->volume.get(), 0, 15 * 27, main, 107, 57, 68, 13));
    // The balance frames carry the balance slot over the volume one.
    EXPECT_TRUE(SameRect(skin->balance.get(), 9, 15 * 5, main, 177, 57, 38, 13));
    EXPECT_TRUE(SameRect(skin->balance.get(), 0, 422, skin->volume.get(), 0, 422, 29, 11));
}

TEST(MakeSkin, TitleBarHoldsActiveAndShadeModeStrips) {
    Fixture f;
    f.in.title.text = "";
    auto skin = MakeSkin(f.in);
    const Dib* tb = skin->titlebar.get();
    // The four active strips are copies of the first.
    for (int32_t y : {15, 58, 73}) {
        EXPECT_TRUE(SameRect(tb, 27, y, tb, 27, 0, 275, 14)) << y;
    }
    // Shade-mode bar: sunken fields filled with the back colour, the small colon in text.
    EXPECT_TRUE(AllPixelsAre(tb, 105, 45, 40, 8, kBack));
    EXPECT_FALSE(AllPixelsAre(tb, 153, 45, 32, 8, kBack)) << "the colon sits in this one";
    for (auto [x, y] : {std::pair{171, 48}, {172, 48}, {171, 50}, {172, 50}}) {
        EXPECT_EQ(DibGetPixel(tb, x, y), kText);
    }
    EXPECT_EQ(DibGetPixel(tb, 153, 45), kBack);
    // The focused shade bar (rows 29-42) is the unfocused one (rows 42-55) moved up, so
    // row 42 ends up as the bottom edge of both. Its top edge is the plain band lightened
    // by 32.
    EXPECT_TRUE(SameRect(tb, 27, 30, tb, 27, 43, 275, 12));
    EXPECT_TRUE(SameRect(tb, 27, 42, tb, 27, 55, 275, 1));
    ColorRef plain = PatternColor(100, 0);
    auto lighter = [](uint8_t v) { return uint32_t(std::min(255, v + 32)); };
    EXPECT_EQ(DibGetPixel(tb, 127, 29),
              Rgb(lighter(RedOf(plain)), lighter(GreenOf(plain)), lighter(BlueOf(plain))));
    // Pixels no step writes stay black: rows 56, 57, 72, columns 302-303.
    EXPECT_TRUE(AllPixelsAre(tb, 27, 56, 275, 2, 0));
    EXPECT_TRUE(AllPixelsAre(tb, 27, 72, 275, 1, 0));
    EXPECT_TRUE(AllPixelsAre(tb, 302, 0, 2, 87, 0));
}

TEST(MakeSkin, VisualisationColoursFollowTheTwoDisplayColours) {
    VisColorTable t = MakeVisColors(0x000000, 0xFFFFFF);
    EXPECT_EQ(t[0], 0u);
    EXPECT_EQ(t[1], 0u);
    EXPECT_EQ(t[2], Rgb(55, 55, 55));
    EXPECT_EQ(t[17], Rgb(175, 175, 175));
    EXPECT_EQ(t[18], 0xFFFFFFu);
    EXPECT_EQ(t[19], t[4]);
    EXPECT_EQ(t[20], t[6]);
    EXPECT_EQ(t[21], t[14]);
    EXPECT_EQ(t[22], t[12]);
    // A channel where the text is darker runs downward, truncating toward zero:
    // 200 + (-100 x 7) / 32 = 200 - 21.
    VisColorTable down = MakeVisColors(Rgb(200, 10, 100), Rgb(100, 10, 50));
    EXPECT_EQ(down[2], Rgb(179, 10, 90));
    EXPECT_EQ(down[17], Rgb(132, 10, 66));
    EXPECT_EQ(down[23], Rgb(100, 10, 50)) << "the peak dots take the text colour";
}

TEST(MakeSkin, PreviewShowsTheFinishedMainWindow) {
    Fixture f;
    auto skin = MakeSkin(f.in);
    const Dib* v = skin->mainPreview.get();
    EXPECT_TRUE(SameRect(v, 0, 0, skin->titlebar.get(), 27, 0, 275, 14));
    EXPECT_TRUE(SameRect(v, 36, 26, skin->numbers.get(), 90, 0, 9, 13));
    EXPECT_TRUE(SameRect(v, 78, 26, skin->numbers.get(), 36, 0, 9, 13)) << "the 4 of 00:41";
    EXPECT_TRUE(SameRect(v, 32, 72, skin->posbar.get(), 248, 0, 29, 10)) << "position knob";
    // Bit rate "128": cells 1, 2, 8 of the digit row of text.bmp.
    GlyphCell one;
    TextGlyphCell('1', &one);
    EXPECT_TRUE(SameRect(v, 111, 43, skin->text.get(), one.x, one.y, 5, 6));
    // Without Show_Vis the field stays the back colour; with it the sample bars appear.
    EXPECT_TRUE(AllPixelsAre(v, 24, 43, 76, 16, kBack));
    f.in.options.showVis = true;
    auto withVis = MakeSkin(f.in);
    EXPECT_TRUE(
        SameRect(withVis->mainPreview.get(), 24, 43, withVis->visPreview.get(), 0, 0, 76, 16));
    // Column 12 is 11 high: its top pixel is index 3, its bottom index 13.
    EXPECT_EQ(DibGetPixel(withVis->visPreview.get(), 12, 15), withVis->visColors[13]);
    EXPECT_EQ(DibGetPixel(withVis->visPreview.get(), 12, 5), withVis->visColors[3]);
    EXPECT_EQ(DibGetPixel(withVis->visPreview.get(), 12, 4), kBack);
    EXPECT_EQ(DibGetPixel(withVis->visPreview.get(), 0, 15), kBack) << "column 0 is empty";
}

TEST(MakeSkin, EqualizerRecipe) {
    Fixture f;
    auto skin = MakeSkin(f.in);
    const Dib* eq = skin->eqmain.get();
    EXPECT_TRUE(AllPixelsAre(eq, 268, 116, 7, 18, kWhite)) << "unwritten pixels stay white";
    EXPECT_TRUE(SameRect(eq, 0, 134, eq, 0, 0, 264, 14)) << "active title bar";
    EXPECT_TRUE(SameRect(eq, 0, 149, eq, 0, 0, 264, 14)) << "inactive title bar";
    EXPECT_TRUE(SameRect(eq, 264, 137, eq, 0, 116, 9, 9)) << "close button in the title bar";
    const ColorRef graph[3] = {0x1008EF, 0x299CEF, 0x089C18};
    EXPECT_EQ(DibGetPixel(eq, 115, 294), graph[0]);
    EXPECT_EQ(DibGetPixel(eq, 115, 299), graph[1]);
    EXPECT_EQ(DibGetPixel(eq, 115, 312), graph[2]);
    EXPECT_TRUE(SameRect(skin->equalizerPreview.get(), 0, 0, eq, 0, 134, 275, 14));
    EXPECT_TRUE(SameRect(skin->equalizerPreview.get(), 22, 64, eq, 0, 164, 11, 11))
        << "preamp knob";

    // The shade mode: the band's top rows inside a two-ring frame, once focused (row 0) and
    // once unfocused (row 15); below them the band's own rows under thumbs and buttons.
    const Dib* ex = skin->eqex.get();
    ASSERT_EQ(ex->Width(), 275);
    ASSERT_EQ(ex->Height(), 82);
    ASSERT_EQ(ex->BitCount(), 24);
    auto band = DibCreate(275, 116, 24);
    CutBand(f.in, Band::Equalizer, band.get());
    EXPECT_TRUE(SameRect(ex, 48, 2, band.get(), 48, 2, 10, 10)) << "between word and slot";
    EXPECT_TRUE(SameRect(ex, 48, 17, band.get(), 48, 2, 10, 10)) << "unfocused bar";
    EXPECT_TRUE(SameRect(ex, 30, 29, band.get(), 30, 29, 200, 53)) << "under the thumbs";
    ColorRef plain = DibGetPixel(band.get(), 100, 0);
    auto lighter = [](uint8_t v) { return uint8_t(std::min(255, v + 32)); };
    EXPECT_EQ(DibGetPixel(ex, 100, 0),
              Rgb(lighter(RedOf(plain)), lighter(GreenOf(plain)), lighter(BlueOf(plain))))
        << "outer ring lightened by 25";
}

TEST(MakeSkin, PlaylistRecipe) {
    Fixture f;
    auto skin = MakeSkin(f.in);
    const Dib* pl = skin->pledit.get();
    EXPECT_TRUE(AllPixelsAre(pl, 0, 186, 280, 4, kWhite)) << "rows 186-189 stay white";
    for (auto [x, sx] : {std::pair{14, 0}, {43, 54}, {72, 104}, {101, 154}, {232, 204}}) {
        EXPECT_TRUE(SameRect(pl, x, 80, pl, sx, 149, 22, 18)) << "bottom bar tile at " << x;
    }
    EXPECT_TRUE(AllPixelsAre(skin->playlistPreview.get(), 12, 20, 243, 58, kBack)) << "list area";
    EXPECT_TRUE(SameRect(skin->playlistPreview.get(), 260, 20, pl, 52, 53, 8, 18)) << "scroll knob";
}

TEST(MakeSkin, OptionsChangeOnlyWhatTheySay) {
    Fixture f;
    auto plain = MakeSkin(f.in);
    auto again = MakeSkin(f.in);
    EXPECT_EQ(Bytes(plain->main.get()), Bytes(again->main.get())) << "twice gives the same";
    EXPECT_EQ(Bytes(plain->pledit.get()), Bytes(again->pledit.get()));

    f.in.options.hideBalance = true;
    auto hidden = MakeSkin(f.in);
    EXPECT_TRUE(SameRect(hidden->balance.get(), 0, 422, hidden->main.get(), 188, 58, 14, 11));
    EXPECT_TRUE(SameRect(hidden->balance.get(), 15, 422, hidden->main.get(), 188, 58, 14, 11));
    EXPECT_EQ(Bytes(hidden->volume.get()), Bytes(plain->volume.get())) << "volume keeps knobs";

    f.in.options.hideBalance = false;
    f.in.options.swapRedBlue = true;
    auto swapped = MakeSkin(f.in);
    for (auto member : {&SkinSet::main, &SkinSet::titlebar, &SkinSet::eqmain, &SkinSet::eqex,
                        &SkinSet::pledit, &SkinSet::mainPreview, &SkinSet::playlistPreview}) {
        auto copy = DibDuplicate((*plain.*member).get());
        DibSwapRedBlue(copy.get());
        EXPECT_EQ(Bytes(copy.get()), Bytes((*swapped.*member).get()));
    }
    EXPECT_EQ(swapped->visColors, plain->visColors) << "the colour file is not swapped";
}

TEST(TitleText, RedrawFollowsTheSwapOfTheMadeBitmaps) {
    Fixture f;
    f.in.options.swapRedBlue = true;
    f.in.title.text = "first";
    auto skin = MakeSkin(f.in);
    f.in.title.text = "second";
    DrawTitleText(*skin, f.in, true);
    f.in.title.text = "second";
    auto fresh = MakeSkin(f.in);
    EXPECT_TRUE(SameRect(skin->main.get(), 0, 0, fresh->main.get(), 0, 0, 275, 116));
    EXPECT_TRUE(SameRect(skin->titlebar.get(), 0, 0, fresh->titlebar.get(), 0, 0, 344, 87));
    EXPECT_TRUE(SameRect(skin->mainPreview.get(), 18, 4, fresh->main.get(), 18, 4, 220, 8));
    f.in.title.text = "";
    DrawTitleText(*skin, f.in, true);
    f.in.title.text = "";
    auto empty = MakeSkin(f.in);
    EXPECT_TRUE(SameRect(skin->main.get(), 18, 4, empty->main.get(), 18, 4, 220, 8));
}

TEST(TitleText, SkinTextPadsWithSpaceBlocks) {
    auto font = MakePattern24(155, 18);
    auto dib = DibCreate(40, 6, 24);
    DrawSkinText(dib.get(), 0, 0, "44", 10, font.get());
    GlyphCell four;
    TextGlyphCell('4', &four);
    EXPECT_TRUE(SameRect(dib.get(), 0, 0, font.get(), four.x, four.y, 5, 6));
    EXPECT_TRUE(SameRect(dib.get(), 5, 0, font.get(), four.x, four.y, 5, 6));
    EXPECT_TRUE(AllPixelsAre(dib.get(), 10, 0, 30, 6, 0)) << "pen 10 >= 9: no space block";
    auto padded = DibCreate(40, 6, 24);
    DrawSkinText(padded.get(), 0, 0, "4", 15, font.get());
    EXPECT_TRUE(SameRect(padded.get(), 5, 0, font.get(), 142, 0, 5, 6));
    EXPECT_TRUE(SameRect(padded.get(), 10, 0, font.get(), 142, 0, 5, 6));
    EXPECT_TRUE(AllPixelsAre(padded.get(), 15, 0, 25, 6, 0));
}

TEST(MakeSkin, EveryFileMatchesItsReviewedDigest) {
    // A change here is a change of what users get: review the rendered skin, then update.
    Fixture f;
    auto skin = MakeSkin(f.in);
    std::vector<SkinFile> files = SkinFileSet(*skin, PlaylistStyle(), true);
    const std::pair<const char*, uint32_t> digests[] = {
#include "tests/unit/skin_digests.inc"
    };
    ASSERT_EQ(files.size(), std::size(digests));
    for (size_t i = 0; i < files.size(); i++) {
        uint32_t crc = uint32_t(crc32(0, files[i].bytes.data(), uInt(files[i].bytes.size())));
        EXPECT_STREQ(files[i].name, digests[i].first);
        EXPECT_EQ(crc, digests[i].second) << files[i].name << " is now 0x" << std::hex << crc;
    }
}
