// The one flow the faces share: options in with their defaults and refusals, the work
// picture, the skin's files out, and the outputs that must never land on an input. Each face
// keeps only its own checks (argv and exit codes, windows, the page).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "image/bmp_file.h"
#include "project/messages.h"
#include "project/outputs.h"
#include "tests/unit/test_util.h"

namespace fs = std::filesystem;

namespace {

SkinOptions With(std::initializer_list<std::pair<const char*, const char*>> options) {
    SkinOptions o;
    for (const auto& [name, value] : options) {
        EXPECT_EQ(ApplySkinOption(name, value, &o), SkinOptionResult::Applied) << name;
    }
    return o;
}

// A project holding a w x h picture of distinct pixels.
std::unique_ptr<Project> Opened(int32_t w, int32_t h) {
    auto project = std::make_unique<Project>();
    const std::string path = TempPath("picture.bmp");
    DibWriteFile(path.c_str(), MakePattern24(w, h).get());
    EXPECT_EQ(project->OpenFile(path, nullptr).outcome, PictureOutcome::Accepted);
    return project;
}

SkinOutputs Out(const std::string& folder, const std::string& archive = "",
                const std::string& preview = "", bool genBalance = true) {
    return {folder, archive, preview, genBalance};
}

std::map<std::string, std::vector<uint8_t>> FilesOf(const Project& project) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const SkinFile& file : project.SkinFiles()) {
        files[file.name] = file.bytes;
    }
    return files;
}

} // namespace

TEST(SkinOptions, EachValueIsTakenOrRefusedInTheCommandLinesWords) {
    struct Row {
        const char* name;
        std::string value;
        std::string refusal; // "" when taken
    };
    const Row rows[] = {
        {"scale", "0", ""},
        {"scale", "101", "bad value for --scale: '101'"},
        {"scale", "-1", "bad value for --scale: '-1'"},
        {"brightness", "200", "bad value for --brightness: '200'"},
        {"contrast", "x", "bad value for --contrast: 'x'"},
        {"mode", "tiles", "bad value for --mode: 'tiles'"},
        {"at", "5", "bad value for --at: '5'"},
        {"at", "-1,0", "bad value for --at: '-1,0'"},
        {"main", "3,4", ""},
        {"order", "playlist,main,equalizer", ""},
        {"order", "main,main,playlist", "bad value for --order: 'main,main,playlist'"},
        {"order", "main,equalizer", "bad value for --order: 'main,equalizer'"},
        {"text-color", "12345", "bad value for --text-color: '12345'"},
        {"back-color", "GG0000", "bad value for --back-color: 'GG0000'"},
        {"playlist-normal", "red", "bad value for --playlist-normal: 'red'"},
        {"title-align", "middle", "bad value for --title-align: 'middle'"},
        {"title-color", "grey", "bad value for --title-color: 'grey'"},
        {"title", std::string(79, 'x'), ""},
        {"title", std::string(80, 'x'), "bad value for --title: '" + std::string(80, 'x') + "'"},
        {"title", "a\tb", "--title holds a control character"},
        {"playlist-font", "Arial\r\nNormal=#FF0000", "--playlist-font holds a control character"},
        {"playlist-font", "", "bad value for --playlist-font: ''"},
        {"swap-rb", "maybe", "bad value for --swap-rb: 'maybe'"},
        {"bogus", "1", "unknown option --bogus"},
    };
    for (const Row& row : rows) {
        SkinOptions o;
        SkinOptionResult result = ApplySkinOption(row.name, row.value, &o);
        EXPECT_EQ(SkinOptionMessage(result, "--", row.name, row.value), row.refusal) << row.name;
        // Only a value taken is remembered as the user's; a refused one changes nothing.
        EXPECT_EQ(o.Given(row.name), row.refusal.empty()) << row.name << " " << row.value;
        EXPECT_EQ(SkinOptionLines(o) == SkinOptionLines(SkinOptions()), !row.refusal.empty())
            << row.name;
    }
}

// The bounds a face puts on its controls are the ones values are held to.
TEST(SkinOptions, LimitsAreTheBoundsOfWhatIsTaken) {
    for (const char* name : {"scale", "brightness", "contrast", "title", "playlist-font"}) {
        int lo = 0, hi = 0;
        ASSERT_TRUE(SkinOptionLimits(name, &lo, &hi)) << name;
        bool text = std::string(name) == "title" || std::string(name) == "playlist-font";
        auto value = [&](int n) { return text ? std::string(size_t(n), 'x') : std::to_string(n); };
        SkinOptions o;
        EXPECT_EQ(ApplySkinOption(name, value(lo), &o), SkinOptionResult::Applied) << name;
        EXPECT_EQ(ApplySkinOption(name, value(hi), &o), SkinOptionResult::Applied) << name;
        EXPECT_EQ(ApplySkinOption(name, value(hi + 1), &o), SkinOptionResult::BadValue) << name;
        if (lo > 0 || !text) {
            EXPECT_EQ(ApplySkinOption(name, value(lo - 1), &o), SkinOptionResult::BadValue) << name;
        }
    }
}

TEST(SkinOptions, ThePageStartsFromTheDefaultsKorvaneMakeDocuments) {
    // korvane-make --help's defaults, and the playlist's stock colours.
    EXPECT_EQ(SkinOptionLines(SkinOptions()),
              "mode=tile\nat=0,0\nmain=0,0\nequalizer=0,0\nplaylist=0,0\n"
              "order=main,equalizer,playlist\nscale=100\nbrightness=0\ncontrast=0\ntemplate=\n"
              "title=created by Korvane\ntitle-align=left\ntitle-color=hard\n"
              "text-color=FFFFFF\nback-color=000000\nplaylist-font=Arial\n"
              "playlist-normal=00FF00\nplaylist-current=FFFFFF\nplaylist-normal-bg=000000\n"
              "playlist-selected-bg=0000C0\nauto=false\nshow-vis=false\nswap-rb=false\nhide-"
              "balance=false\n"
              "no-balance-file=false\n");
    // Every line read back gives the same options: the page can hand them to the core.
    SkinOptions chosen = With({{"mode", "continuous"},
                               {"order", "equalizer,playlist,main"},
                               {"title-align", "center"},
                               {"text-color", "40e0ff"},
                               {"no-balance-file", "true"},
                               {"main", "7,9"}});
    SkinOptions again;
    std::istringstream lines(SkinOptionLines(chosen));
    for (std::string line; std::getline(lines, line);) {
        size_t eq = line.find('=');
        ASSERT_EQ(ApplySkinOption(line.substr(0, eq), line.substr(eq + 1), &again),
                  SkinOptionResult::Applied)
            << line;
    }
    EXPECT_EQ(SkinOptionLines(again), SkinOptionLines(chosen));
}

TEST(Project, PlacementsOutsideThePictureAreRefusedWithTheirLimits) {
    struct Row {
        int32_t height;
        SkinOptions options;
        const char* refusal;
    };
    const Row rows[] = {
        {380, With({{"at", "126,0"}}),
         "--at 126,0 leaves the 400 x 380 picture: X can be 0 to 125 and Y 0 to 264"},
        {380, With({{"mode", "free"}, {"playlist", "0,265"}}),
         "--playlist 0,265 leaves the 400 x 380 picture: X can be 0 to 125 and Y 0 to 264"},
        {380, With({{"mode", "continuous"}, {"at", "0,33"}}),
         "--at 0,33 leaves the 400 x 380 picture: X can be 0 to 125 and Y 0 to 32"},
        {300, With({{"mode", "continuous"}}), kMsgNoContinuous},
        // Measured on the scaled picture: 80 % of 400 x 380.
        {380, With({{"scale", "80"}, {"at", "46,0"}}),
         "--at 46,0 leaves the 320 x 304 picture: X can be 0 to 45 and Y 0 to 188"},
    };
    for (const Row& row : rows) {
        auto project = Opened(400, row.height);
        std::string message;
        ASSERT_TRUE(project->Make(SkinOptions(), "--", &message));
        const SkinSet* before = project->Skin();
        EXPECT_EQ(project->Make(row.options, "--", &message), nullptr);
        EXPECT_EQ(message, row.refusal);
        EXPECT_EQ(project->Skin(), before) << "the skin made before stays";
    }
}

// 18 % of 1600 is 288 (17 % is 272, under a band's 275); Continuous needs 348 rows: 39 % of
// 900 is 351, 38 % is 342. A 451 x 300 picture takes Continuous at no scale.
TEST(Project, TheSmallestScaleIsTheLeastWhereTheModeFits) {
    auto wide = Opened(1600, 900);
    EXPECT_EQ(wide->SmallestScale(AdjustmentMode::Tile), 18);
    EXPECT_EQ(wide->SmallestScale(AdjustmentMode::Continuous), 39);
    auto short_ = Opened(451, 300);
    EXPECT_EQ(short_->SmallestScale(AdjustmentMode::Free), 61);
    EXPECT_EQ(short_->SmallestScale(AdjustmentMode::Continuous), -1);
}

TEST(Project, TheWorkPictureIsMadeAgainOnlyWhenItsAdjustmentsChange) {
    auto project = Opened(600, 400);
    struct Step {
        Adjustments asked;
        bool remade;
        int32_t width, height;
    };
    // 50 % of 600 x 400 is 300 x 200; 30 % would be 180 x 120, so it is raised to 46 %
    // (276 x 184), which then asks for nothing new.
    const Step steps[] = {
        {{100, 0, 0}, false, 600, 400}, {{50, 0, 0}, true, 300, 200},
        {{50, 0, 0}, false, 300, 200},  {{50, 10, 0}, true, 300, 200},
        {{30, 10, 0}, true, 276, 184},  {{46, 10, 0}, false, 276, 184},
        {{46, 10, -5}, true, 276, 184},
    };
    for (const Step& step : steps) {
        bool remade = !step.remade;
        const Dib* work = project->Adjust(step.asked, &remade);
        ASSERT_NE(work, nullptr);
        EXPECT_EQ(std::tuple(remade, work->Width(), work->Height()),
                  std::tuple(step.remade, step.width, step.height))
            << step.asked.scale << " " << step.asked.brightness << " " << step.asked.contrast;
    }
}

TEST(Project, EachOptionChangesExactlyTheFilesItShould) {
    auto project = Opened(400, 380);
    std::string message;
    ASSERT_TRUE(project->Make(SkinOptions(), "--", &message));
    const auto plain = FilesOf(*project);
    ASSERT_EQ(plain.size(), 19u);
    const std::string pictured = "balance.bmp cbuttons.bmp eq_ex.bmp eqmain.bmp gen.bmp "
                                 "genex.bmp main.bmp monoster.bmp pledit.bmp posbar.bmp "
                                 "shufrep.bmp titlebar.bmp volume.bmp";
    const std::string drawn = "cbuttons.bmp eq_ex.bmp eqmain.bmp gen.bmp genex.bmp main.bmp "
                              "numbers.bmp nums_ex.bmp playpaus.bmp pledit.bmp shufrep.bmp "
                              "text.bmp titlebar.bmp viscolor.txt";
    const std::pair<SkinOptions, std::string> rows[] = {
        {With({{"title", "Hello #1"}}), "main.bmp titlebar.bmp"},
        {With({{"title", ""}}), "main.bmp titlebar.bmp"},
        {With({{"title-align", "right"}}), "main.bmp titlebar.bmp"},
        {With({{"title-color", "soft"}}), "main.bmp titlebar.bmp"},
        {With({{"text-color", "12AB05"}}), drawn},
        {With({{"back-color", "102030"}}),
         "balance.bmp cbuttons.bmp eq_ex.bmp eqmain.bmp gen.bmp genex.bmp main.bmp numbers.bmp "
         "nums_ex.bmp playpaus.bmp pledit.bmp posbar.bmp shufrep.bmp text.bmp titlebar.bmp "
         "viscolor.txt volume.bmp"},
        {With({{"playlist-font", "Courier New"}}), "pledit.txt"},
        {With({{"playlist-normal", "12AB05"}}), "genex.bmp pledit.txt"},
        {With({{"playlist-normal-bg", "A0B0C0"}, {"playlist-selected-bg", "FFFFFE"}}),
         "genex.bmp pledit.txt"},
        {With({{"show-vis", "true"}}), ""},
        {With({{"swap-rb", "true"}}), pictured},
        {With({{"hide-balance", "true"}}), "balance.bmp"},
        {With({{"no-balance-file", "true"}}), "-balance.bmp volume.bmp"},
        {With({{"scale", "80"}}), pictured},
        {With({{"brightness", "-20"}}), pictured},
        {With({{"contrast", "30"}}), pictured},
        {With({{"at", "125,264"}}), pictured},
        {With({{"mode", "free"}, {"equalizer", "50,100"}}), "eq_ex.bmp eqmain.bmp"},
        {With({{"mode", "continuous"}, {"order", "playlist,main,equalizer"}}),
         "balance.bmp cbuttons.bmp eq_ex.bmp eqmain.bmp main.bmp monoster.bmp posbar.bmp "
         "shufrep.bmp titlebar.bmp volume.bmp"},
        {With({{"template", KORVANE_TEMPLATES "/Brushed Steel"}}),
         "balance.bmp cbuttons.bmp eqmain.bmp main.bmp monoster.bmp posbar.bmp titlebar.bmp "
         "volume.bmp"},
    };
    for (const auto& [options, expected] : rows) {
        ASSERT_TRUE(project->Make(options, "--", &message)) << message;
        const auto made = FilesOf(*project);
        std::string changed;
        for (const auto& [name, bytes] : plain) {
            if (!made.count(name)) {
                changed += " -" + name;
            } else if (made.at(name) != bytes) {
                changed += " " + name;
            }
        }
        EXPECT_EQ(changed, expected.empty() ? "" : " " + expected) << SkinOptionLines(options);
    }
}

// Which files are compared; how paths are compared is
// SafeWrite.PathsAreComparedByTheFileTheyName's.
TEST(Outputs, NoOutputLandsOnAnInputOrAnotherOutput) {
    const std::string a = TempPath("alias");
    fs::create_directories(a + "/d");
    fs::create_directories(a + "/tpl");
    const std::string picture = a + "/photo.bmp";
    DibWriteFile(picture.c_str(), MakePattern24(300, 200).get());
    fs::copy_file(picture, a + "/d/main.bmp");
    fs::copy_file(picture, a + "/tpl/main.bmp");
    struct Row {
        std::string picture, templateFolder;
        SkinOutputs out;
        std::string clash; // "output would overwrite / is the same file as other", "" for none
    };
    auto skinFile = [](const std::string& folder) { return SkinFilePath(folder, "main.bmp"); };
    const Row rows[] = {
        {a + "/d/main.bmp", "", Out(a + "/d"), "skin file " + skinFile(a + "/d") + " over picture"},
        {picture, "", Out(a + "/out", picture), "archive " + picture + " over picture"},
        {picture, a + "/tpl", Out(a + "/tpl"),
         "skin file " + skinFile(a + "/tpl") + " over template piece"},
        {picture, "", Out(a + "/out", a + "/./x", a + "/x"), "preview " + a + "/x same as archive"},
        // balance.bmp is no output without it.
        {a + "/d/balance.bmp", "", Out(a + "/d", "", "", false), ""},
        {picture, a + "/tpl", Out(a + "/out", a + "/skin.wsz", a + "/p.bmp"), ""},
    };
    for (const Row& row : rows) {
        std::optional<OutputClash> clash =
            FindOutputClash(row.out, row.picture, row.templateFolder);
        std::string seen;
        if (clash) {
            seen = clash->output.what.substr(4) + " " + clash->output.path +
                   (clash->overwrites ? " over " : " same as ") + clash->other.what.substr(4);
        }
        EXPECT_EQ(seen, row.clash);
    }
}

TEST(Outputs, TheSkinIsWrittenAsOneSetOrNotAtAll) {
    auto project = Opened(300, 200);
    std::string message;
    SkinOptions options = With({{"no-balance-file", "true"}});
    ASSERT_TRUE(project->Make(options, "--", &message));
    const std::string root = TempPath("written");
    const SkinOutputs out =
        Out(root + "/new/skin", root + "/skin.wsz", root + "/preview.bmp", false);
    ASSERT_EQ(WriteSkinOutputs(*project, options, out).kind, WriteFault::None);
    size_t count = 0;
    for (const SkinFile& file : project->SkinFiles()) {
        EXPECT_EQ(ReadBytes(SkinFilePath(out.folder, file.name)), file.bytes) << file.name;
        count++;
    }
    EXPECT_EQ(count, 18u);
    EXPECT_EQ(ReadBytes(out.archive), project->Archive());
    EXPECT_TRUE(fs::exists(out.preview));

    // A folder that cannot be made and a file that cannot be written, each with the
    // system's reason: nothing is left, not even the folders made for the set.
    WriteBytes(root + "/plain", {1});
    const std::pair<SkinOutputs, WriteFault> rows[] = {
        {Out(root + "/plain/skin"), {WriteFault::FolderFailed, root + "/plain/skin", ""}},
        {Out(root + "/made/skin", "", root + "/none/p.bmp"),
         {WriteFault::FileFailed, root + "/none/p.bmp", ""}},
    };
    for (const auto& [outputs, expected] : rows) {
        WriteFault fault = WriteSkinOutputs(*project, options, outputs);
        EXPECT_EQ(std::tuple(fault.kind, fault.path), std::tuple(expected.kind, expected.path));
        EXPECT_FALSE(fault.reason.empty());
    }
    EXPECT_FALSE(fs::exists(root + "/made"));
}
