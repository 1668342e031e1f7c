#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "image/bmp_file.h"
#include "output/file_system.h"
#include "output/safe_write.h"
#include "output/skin_writer.h"
#include "output/wsz.h"
#include "tests/unit/test_util.h"

namespace fs = std::filesystem;

namespace {

struct Member {
    std::unique_ptr<Dib> SkinSet::*bitmap;
    const char* name;
    int32_t width;
    int32_t height;
};

// The bitmaps a player reads and their sizes, written out here rather than taken from the
// writer's table so that a wrong entry there shows.
const Member kBitmaps[] = {
    {&SkinSet::main, "main.bmp", 275, 116},        {&SkinSet::titlebar, "titlebar.bmp", 344, 87},
    {&SkinSet::cbuttons, "cbuttons.bmp", 136, 36}, {&SkinSet::shufrep, "shufrep.bmp", 92, 85},
    {&SkinSet::monoster, "monoster.bmp", 58, 24},  {&SkinSet::posbar, "posbar.bmp", 307, 10},
    {&SkinSet::numbers, "numbers.bmp", 99, 13},    {&SkinSet::text, "text.bmp", 155, 18},
    {&SkinSet::playpaus, "playpaus.bmp", 42, 9},   {&SkinSet::volume, "volume.bmp", 68, 433},
    {&SkinSet::balance, "balance.bmp", 68, 433},   {&SkinSet::eqmain, "eqmain.bmp", 275, 315},
    {&SkinSet::eqex, "eq_ex.bmp", 275, 82},        {&SkinSet::pledit, "pledit.bmp", 280, 190},
};

const std::vector<std::string> kAllNames = {
    "main.bmp",    "titlebar.bmp", "cbuttons.bmp", "shufrep.bmp", "monoster.bmp", "posbar.bmp",
    "numbers.bmp", "text.bmp",     "playpaus.bmp", "volume.bmp",  "balance.bmp",  "viscolor.txt",
    "eqmain.bmp",  "eq_ex.bmp",    "pledit.bmp",   "pledit.txt"};

std::vector<std::string> NamesWithoutBalance() {
    std::vector<std::string> names = kAllNames;
    names.erase(std::find(names.begin(), names.end(), "balance.bmp"));
    return names;
}

// Every bitmap its own shifted pattern, so a member written from the wrong bitmap shows.
std::unique_ptr<Dib> Pattern(int32_t width, int32_t height, int shift) {
    auto dib = DibCreate(width, height, 24);
    for (int32_t y = 0; y < height; y++) {
        for (int32_t x = 0; x < width; x++) {
            DibSetPixel(dib.get(), x, y, PatternColor(x + 5 * shift, y + shift));
        }
    }
    return dib;
}

std::unique_ptr<SkinSet> MakeTestSkin(int seed = 0) {
    auto skin = std::make_unique<SkinSet>();
    int shift = seed;
    for (const Member& m : kBitmaps) {
        (*skin).*m.bitmap = Pattern(m.width, m.height, ++shift);
    }
    for (size_t i = 0; i < skin->visColors.size(); i++) {
        skin->visColors[i] = Rgb(uint32_t(11 * i + seed), uint32_t(255 - i), uint32_t(7 * i));
    }
    return skin;
}

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string NewFolder(const std::string& name) {
    std::string folder = TempPath(name);
    fs::create_directories(folder);
    return folder;
}

std::string In(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).string();
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}
// Every member on disk holds exactly the bytes the set lists for it.
void ExpectFolderHoldsSet(const std::string& folder, const std::vector<SkinFile>& files) {
    for (const SkinFile& file : files) {
        EXPECT_EQ(ReadBytes(In(folder, file.name)), file.bytes) << file.name;
    }
}

#ifndef _WIN32
// Exit status of a shell command; its standard output goes to outputOut.
int RunCommand(const std::string& command, std::string* outputOut = nullptr) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) {
        return -1;
    }
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, n);
    }
    if (outputOut) {
        *outputOut = output;
    }
    return pclose(pipe);
}
#endif

} // namespace

// viscolor.txt: red, green, blue in decimal, CRLF after every line. pledit.txt: upper-case hex
// red first, and no line end after the font, which players read to the end of the file.
TEST(SkinText, TheTextFilesHoldTheLinesPlayersRead) {
    VisColorTable table;
    std::string vis;
    for (size_t i = 0; i < table.size(); i++) {
        table[i] = Rgb(uint32_t(i), uint32_t(10 * i), uint32_t(200 + i));
        vis += std::to_string(i) + "," + std::to_string(10 * i) + "," + std::to_string(200 + i) +
               "\r\n";
    }
    PlaylistStyle style;
    style.normalText = Rgb(0x12, 0xAB, 0x05);
    style.currentText = Rgb(0xFE, 0x0A, 0xB1);
    style.normalBack = Rgb(0x01, 0x02, 0x03);
    style.selectedBack = Rgb(0xC0, 0xDE, 0xF0);
    style.fontName = "MS Sans Serif";
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {VisColorText(table), vis},
        {PlaylistText({}), "[Text]\r\nNormal=#00FF00\r\nCurrent=#FFFFFF\r\nNormalBG=#000000\r\n"
                           "SelectedBG=#0000C0\r\nFont=Arial"},
        {PlaylistText(style), "[Text]\r\nNormal=#12AB05\r\nCurrent=#FE0AB1\r\nNormalBG=#010203\r\n"
                              "SelectedBG=#C0DEF0\r\nFont=MS Sans Serif"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, c.expected);
    }

    // Each replaces a longer file of the same name.
    std::string visPath = TempPath("viscolor.txt");
    std::string textPath = TempPath("pledit.txt");
    WriteBytes(visPath, std::vector<uint8_t>(1000, 'x'));
    WriteBytes(textPath, std::vector<uint8_t>(1000, 'x'));
    ASSERT_TRUE(WriteVisColorFile(visPath, table));
    ASSERT_TRUE(WritePlaylistTextFile(textPath, style));
    EXPECT_EQ(ReadBytes(visPath), Bytes(vis));
    EXPECT_EQ(ReadBytes(textPath), Bytes(cases[2].expected));
    EXPECT_FALSE(WritePlaylistTextFile(In(textPath, "pledit.txt"), style)); // under a file
}

TEST(CombinedVolume, DiffersFromVolumeOnlyInTheThreeBalanceFrames) {
    auto skin = MakeTestSkin();
    std::vector<uint8_t> volumeBefore(skin->volume->Bytes(),
                                      skin->volume->Bytes() + skin->volume->Size());
    auto combined = CombinedVolume(skin->volume.get(), skin->balance.get());
    ASSERT_TRUE(combined);
    ASSERT_EQ(combined->Width(), 68);
    ASSERT_EQ(combined->Height(), 433);
    for (int32_t y = 0; y < 433; y++) {
        int32_t top = y - y % 30; // the frame that could cover row y
        bool inFrame = top <= 60 && y - top < 13;
        for (int32_t x = 0; x < 68; x++) {
            ColorRef want = inFrame ? DibGetPixel(skin->balance.get(), x, y - top)
                                    : DibGetPixel(skin->volume.get(), x, y);
            ASSERT_EQ(DibGetPixel(combined.get(), x, y), want) << x << "," << y;
        }
    }
    EXPECT_TRUE(std::equal(volumeBefore.begin(), volumeBefore.end(), skin->volume->Bytes()));

    EXPECT_FALSE(CombinedVolume(nullptr, skin->balance.get()));
    EXPECT_FALSE(CombinedVolume(skin->volume.get(), nullptr));
}

// A save writes the set in its order and replaces every file of it, however long the old
// one, and writes nothing else;
// without balance.bmp there is one file fewer and an old balance.bmp stays.
TEST(SkinWriter, SavingReplacesTheSetAndWithoutBalanceAnOldBalanceStays) {
    std::string folder = NewFolder("skin");
    for (const std::string& name : kAllNames) {
        WriteBytes(In(folder, name), std::vector<uint8_t>(400000, 0xEE)); // longer than any
    }
    auto skin = MakeTestSkin();
    for (bool genBalance : {true, false}) { // in writing order
        std::vector<std::string> names;
        for (const SkinFile& file : SkinFileSet(*skin, {}, genBalance)) {
            names.push_back(file.name);
        }
        EXPECT_EQ(names, genBalance ? kAllNames : NamesWithoutBalance());
    }
    SkinWriteResult result = WriteSkinFolder(folder, *skin, {}, true);
    EXPECT_EQ(result.status, SkinWriteStatus::Written);
    EXPECT_TRUE(result.failed.empty());
    EXPECT_EQ(FolderNames(folder), Sorted(kAllNames));
    ExpectFolderHoldsSet(folder, SkinFileSet(*skin, {}, true));
    std::vector<uint8_t> oldBalance = ReadBytes(In(folder, "balance.bmp"));

    auto next = MakeTestSkin(7);
    ASSERT_EQ(WriteSkinFolder(folder, *next, {}, false).status, SkinWriteStatus::Written);
    ExpectFolderHoldsSet(folder, SkinFileSet(*next, {}, false));
    EXPECT_EQ(ReadBytes(In(folder, "volume.bmp")),
              DibEncodeFile(CombinedVolume(next->volume.get(), next->balance.get()).get()));
    EXPECT_EQ(ReadBytes(In(folder, "balance.bmp")), oldBalance);

    // Balance on again: the volume bitmap goes out unchanged.
    ASSERT_EQ(WriteSkinFolder(folder, *next, {}, true).status, SkinWriteStatus::Written);
    EXPECT_EQ(ReadBytes(In(folder, "volume.bmp")), DibEncodeFile(next->volume.get()));
}

TEST(SkinWriter, AMissingBitmapIsReportedByNameAndTheRestWritten) {
    auto skin = MakeTestSkin();
    skin->cbuttons.reset();
    skin->eqmain.reset();
    std::string folder = NewFolder("skin");
    SkinWriteResult result = WriteSkinFolder(folder, *skin, {}, true);
    EXPECT_EQ(result.status, SkinWriteStatus::Incomplete);
    EXPECT_EQ(result.failed, (std::vector<std::string>{"cbuttons.bmp", "eqmain.bmp"}));
    std::vector<std::string> written = kAllNames;
    std::erase(written, "cbuttons.bmp");
    std::erase(written, "eqmain.bmp");
    EXPECT_EQ(FolderNames(folder), Sorted(written));

    // An archive is all or nothing.
    std::string archive = TempPath("skin.wsz");
    EXPECT_FALSE(WriteSkinArchive(archive, *skin, {}, true));
    EXPECT_FALSE(fs::exists(archive));
    // Without balance.bmp the volume file needs the balance bitmap too.
    skin = MakeTestSkin();
    skin->balance.reset();
    result = WriteSkinFolder(NewFolder("skin"), *skin, {}, false);
    EXPECT_EQ(result.failed, (std::vector<std::string>{"volume.bmp"}));
}

TEST(SkinWriter, AFolderTooLongForAFileNameIsRefusedBeforeWriting) {
    auto skin = MakeTestSkin();
    // A folder whose longest member path ("/viscolor.txt" and others of 12 characters) comes
    // to exactly `length` characters.
    auto folderFor = [](size_t length, const std::string& tag) {
        std::string base = NewFolder(tag);
        std::string folder = In(base, std::string(length - 13 - base.size() - 1, 'k'));
        fs::create_directories(folder);
        return folder;
    };
    std::string fits = folderFor(259, "fits");
    EXPECT_EQ(WriteSkinFolder(fits, *skin, {}, true).status, SkinWriteStatus::Written);
    EXPECT_EQ(FolderNames(fits).size(), kAllNames.size());
    // A trailing separator does not count twice.
    EXPECT_EQ(WriteSkinFolder(fits + "/", *skin, {}, true).status, SkinWriteStatus::Written);

    std::string tooLong = folderFor(260, "long");
    SkinWriteResult result = WriteSkinFolder(tooLong, *skin, {}, true);
    EXPECT_EQ(result.status, SkinWriteStatus::PathTooLong);
    EXPECT_EQ(result.failed, kAllNames);
    EXPECT_TRUE(FolderNames(tooLong).empty());

    result = WriteSkinFolder("", *skin, {}, false);
    EXPECT_EQ(result.status, SkinWriteStatus::NoFolder);
    EXPECT_EQ(result.failed, NamesWithoutBalance());
}

// Faults that stop a save after some files could already have been written: every old
// file stays as it was, the whole set is reported, the cause is named, and no temporary
// is left behind. (A full disk is tested end to end on a small tmpfs.)
TEST(SafeWrite, AFaultAnywhereLeavesEveryOldFileAndNoTemporary) {
    auto old = MakeTestSkin(0);
    auto next = MakeTestSkin(3);
    std::string plainFile = TempPath("plain-file");
    WriteBytes(plainFile, {'x'});
    struct Case {
        const char* fault;
        std::string folder;
        const char* blocked; // the member whose name a folder takes, or nullptr
        std::string faultPath;
    };
    std::string blocked = NewFolder("blocked");
    Case cases[] = {
        {"a folder at a member's name", blocked, "text.bmp", In(blocked, "text.bmp")},
        {"the skin folder is missing", In(TempPath("absent"), "skin"), nullptr, ""},
        {"the skin folder is a file", In(plainFile, "skin"), nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        std::vector<SkinFile> before;
        if (fs::is_directory(c.folder)) {
            ASSERT_EQ(WriteSkinFolder(c.folder, *old, {}, true).status, SkinWriteStatus::Written);
            fs::remove(In(c.folder, c.blocked));
            fs::create_directory(In(c.folder, c.blocked));
            before = SkinFileSet(*old, {}, true);
            std::erase_if(before,
                          [&](const SkinFile& f) { return c.blocked == std::string(f.name); });
        }
        SkinWriteResult result = WriteSkinFolder(c.folder, *next, {}, true);
        EXPECT_EQ(result.status, SkinWriteStatus::Incomplete);
        EXPECT_EQ(result.failed, kAllNames);
        EXPECT_FALSE(result.fault.reason.empty());
        if (!c.faultPath.empty()) {
            EXPECT_EQ(result.fault.path, c.faultPath);
        } else {
            EXPECT_EQ(result.fault.path, In(c.folder, "main.bmp"));
            EXPECT_FALSE(fs::exists(c.folder));
            continue;
        }
        ExpectFolderHoldsSet(c.folder, before);
        EXPECT_EQ(FolderNames(c.folder), Sorted(kAllNames)) << "a temporary was left";

        // The archive writer stands on the same transaction.
        FileFault fault;
        EXPECT_FALSE(WriteSkinArchive(In(c.folder, c.blocked), *next, {}, true, &fault));
        EXPECT_EQ(fault.path, In(c.folder, c.blocked));
        EXPECT_EQ(FolderNames(c.folder), Sorted(kAllNames));
    }
}

TEST(SafeWrite, NewFilesAreNeverCreatedThroughAnExistingNameOrLink) {
    std::string folder = NewFolder("planted");
    std::string victim = In(folder, "victim");
    WriteBytes(victim, {'v'});
    std::vector<std::string> taken = {victim, folder};
#ifndef _WIN32
    // A link planted at a temporary's name, to a file and to a file not yet there.
    fs::create_symlink(victim, In(folder, "to-victim"));
    fs::create_symlink(In(folder, "created-by-link"), In(folder, "dangling"));
    taken.push_back(In(folder, "to-victim"));
    taken.push_back(In(folder, "dangling"));
#endif
    for (const std::string& name : taken) {
        std::string reason;
        EXPECT_EQ(WriteNewFile(name, Bytes("new"), &reason), NewFileStatus::NameTaken) << name;
    }
    EXPECT_EQ(ReadBytes(victim), Bytes("v"));
    EXPECT_FALSE(fs::exists(In(folder, "created-by-link")));
}

// Writers of one file at once each put a whole file of their own in place; neither fails
// because of the other, and no temporary is left.
TEST(SafeWrite, ConcurrentWritersEachLeaveAWholeFileOfTheirOwn) {
    std::string folder = NewFolder("race");
    std::string path = In(folder, "skin.wsz");
    for (int writers : {2, 4}) {
        std::vector<std::vector<uint8_t>> contents;
        for (int w = 0; w < writers; w++) {
            contents.emplace_back(size_t(200000 + 1000 * w), uint8_t('a' + w));
        }
        for (int round = 0; round < 100; round++) {
            std::vector<std::thread> threads;
            std::vector<int> ok(size_t(writers), 0);
            for (int w = 0; w < writers; w++) {
                threads.emplace_back(
                    [&, w] { ok[size_t(w)] = WriteFileSafely(path, contents[size_t(w)]); });
            }
            for (std::thread& t : threads) {
                t.join();
            }
            ASSERT_EQ(std::count(ok.begin(), ok.end(), 1), writers) << "round " << round;
            std::vector<uint8_t> now = ReadBytes(path);
            ASSERT_NE(std::find(contents.begin(), contents.end(), now), contents.end())
                << "round " << round << ": " << now.size() << " bytes of no writer";
        }
        EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"skin.wsz"});
    }
}

TEST(SafeWrite, PathsAreComparedByTheFileTheyName) {
    std::string folder = NewFolder("alias");
    fs::create_directories(In(folder, "sub"));
    std::string picture = In(folder, "main.bmp");
    WriteBytes(picture, {'p'});
    std::string sep = std::string(1, fs::path::preferred_separator);
    struct Case {
        std::string a;
        std::string b;
        bool same;
    };
    std::vector<Case> cases = {
        {picture, folder + sep + "." + sep + "main.bmp", true},
        {picture, folder + sep + sep + "sub" + sep + ".." + sep + "main.bmp", true},
        {picture, In(folder, "other.bmp"), false},
        // Not there yet: the same name in the same folder, however the folder is spelled.
        {In(folder, "new.wsz"), folder + sep + "sub" + sep + ".." + sep + "new.wsz", true},
        {In(folder, "new.wsz"), In(folder, "sub/new.wsz"), false},
        {In(folder, "absent/x.bmp"), folder + sep + "." + sep + "absent" + sep + "x.bmp", true},
#ifdef _WIN32
        {picture, In(folder, "MAIN.BMP"), true},
        {In(folder, "new.wsz"), In(folder, "New.WSZ"), true},
#else
        {In(folder, "new.wsz"), In(folder, "New.WSZ"), false},
#endif
    };
#ifndef _WIN32
    fs::create_hard_link(picture, In(folder, "hard.bmp"));
    fs::create_symlink(picture, In(folder, "soft.bmp"));
    cases.push_back({picture, In(folder, "hard.bmp"), true});
    cases.push_back({picture, In(folder, "soft.bmp"), true});
#endif
    for (const Case& c : cases) {
        EXPECT_EQ(SamePath(IdentifyPath(c.a), IdentifyPath(c.b)), c.same) << c.a << " | " << c.b;
    }
}

TEST(SkinWriter, EveryBitmapReadsBackInIndependentReaders) {
#ifdef _WIN32
    GTEST_SKIP() << "the independent readers run natively only";
#else
    if (!HaveForeignReader() || !fs::exists("/usr/bin/identify")) {
        GTEST_SKIP() << "python3-pil or ImageMagick is not available here";
    }
    auto skin = MakeTestSkin();
    std::string folder = NewFolder("skin");
    ASSERT_EQ(WriteSkinFolder(folder, *skin, {}, true).status, SkinWriteStatus::Written);
    // 24 bits a pixel: a plain 40-byte-header BMP ("BMP3") of three 8-bit channels held
    // directly, no palette.
    std::string seen, want;
    ASSERT_EQ(RunCommand("cd '" + folder +
                             "' && LC_ALL=C /usr/bin/identify -format '%f %m %w %h %z " +
                             "%[channels] %r\n' " + "*.bmp | sed 's/ sRGB.*//'",
                         &seen),
              0);
    std::vector<std::string> lines;
    for (const Member& m : kBitmaps) {
        lines.push_back(std::string(m.name) + " BMP3 " + std::to_string(m.width) + " " +
                        std::to_string(m.height) + " 8 srgb DirectClass\n");
    }
    for (const std::string& line : Sorted(lines)) {
        want += line;
    }
    EXPECT_EQ(seen, want);
    for (const Member& m : kBitmaps) {
        std::string path = In(folder, m.name);
        ForeignImage image = ReadWithPil(path);
        ASSERT_TRUE(image.ok && image.width == m.width && image.height == m.height) << m.name;
        const Dib* dib = ((*skin).*m.bitmap).get();
        for (int32_t y = 0; y < m.height; y += 7) {
            for (int32_t x = 0; x < m.width; x += 3) {
                const uint8_t* rgb = &image.rgb[3 * (size_t(y) * size_t(m.width) + size_t(x))];
                ASSERT_EQ(Rgb(rgb[0], rgb[1], rgb[2]), DibGetPixel(dib, x, y)) << m.name;
            }
        }
    }
#endif
}

// The archive as an unpacker sees it: tested clean, every member deflated at the root with
// the fixed date, in writing order, holding the bytes of the folder file; an old archive of
// the same name is replaced.
TEST(SkinArchive, UnzipListsAndUnpacksTheSetInWritingOrder) {
#ifdef _WIN32
    GTEST_SKIP() << "unzip runs natively only";
#else
    if (!fs::exists("/usr/bin/unzip")) {
        GTEST_SKIP() << "unzip is not available here";
    }
    auto skin = MakeTestSkin();
    std::string path = TempPath("skin.wsz");
    WriteBytes(path, std::vector<uint8_t>(400000, 0xEE));
    for (bool genBalance : {true, false}) {
        ASSERT_TRUE(WriteSkinArchive(path, *skin, {}, genBalance));
        EXPECT_EQ(RunCommand("/usr/bin/unzip -tqq '" + path + "'"), 0);
        std::vector<SkinFile> files = SkinFileSet(*skin, {}, genBalance);
        std::string listing, expected;
        for (const SkinFile& file : files) {
            expected += "defN 26-Jan-01 00:00 " + std::to_string(file.bytes.size()) + " " +
                        file.name + "\n";
            std::string unpacked;
            ASSERT_EQ(RunCommand("/usr/bin/unzip -p '" + path + "' " + file.name, &unpacked), 0);
            EXPECT_EQ(Bytes(unpacked), file.bytes) << file.name;
        }
        ASSERT_EQ(
            RunCommand("/usr/bin/unzip -Zs '" + path +
                           "' | awk '$8 ~ /^[0-9][0-9]:[0-9][0-9]$/ { print $6, $7, $8, $4, $9 }'",
                       &listing),
            0);
        EXPECT_EQ(listing, expected);
    }
#endif
}
