// Saving a skin into a folder: the set replaces its files and leaves every other one, a
// missing bitmap is named, and no path or link is written through. The bytes of the set
// itself are the reviewed digests' (skin_test); a fault during a save leaves the old files
// (cli_test.sh's full disk, and the Save command's test under Wine).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <thread>
#include <tuple>

#include "compose/skin.h"
#include "files/file_system.h"
#include "files/path_identity.h"
#include "output/safe_write.h"
#include "output/skin_writer.h"
#include "output/wsz.h"
#include "tests/unit/test_util.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<SkinSet> MakeTestSkin(const char* title) {
    static auto picture = MakePattern24(275, 116);
    SkinInputs in;
    in.picture = picture.get();
    in.title.text = title;
    return MakeSkin(in);
}

std::string NewFolder(const std::string& name) {
    std::string folder = TempPath(name);
    fs::create_directories(folder);
    return folder;
}

std::string In(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).string();
}

// A folder's files and their bytes, or a set's.
using Files = std::map<std::string, std::vector<uint8_t>>;
Files Folder(const std::string& folder) {
    Files files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] = ReadBytes(entry.path().string());
    }
    return files;
}
Files Folder(const std::vector<SkinFile>& set) {
    Files files;
    for (const SkinFile& file : set) {
        files[file.name] = file.bytes;
    }
    return files;
}

std::string Summary(const SkinWriteResult& r) {
    std::string s = std::to_string(int(r.status)) + ":";
    for (const std::string& name : r.failed) {
        s += " " + name;
    }
    return s;
}

} // namespace

TEST(SkinWriter, SavingReplacesTheSetAndWithoutBalanceAnOldBalanceStays) {
    auto skin = MakeTestSkin("old");
    std::string folder = NewFolder("skin");
    for (const SkinFile& file : SkinFileSet(*skin, {}, true)) {
        WriteBytes(In(folder, file.name), std::vector<uint8_t>(400000, 0xEE));
    }
    EXPECT_EQ(Summary(WriteSkinFolder(folder, *skin, {}, true)), "0:");
    EXPECT_EQ(Folder(folder), Folder(SkinFileSet(*skin, {}, true)));
    auto next = MakeTestSkin("new");
    next->balance = MakePattern24(68, 433);
    auto want = SkinFileSet(*next, {}, false);
    want.push_back({"balance.bmp", ReadBytes(In(folder, "balance.bmp"))});
    ASSERT_EQ(Summary(WriteSkinFolder(folder, *next, {}, false)), "0:");
    EXPECT_EQ(Folder(folder), Folder(want));
}

TEST(SkinWriter, AMissingBitmapIsReportedByNameAndTheRestWritten) {
    auto skin = MakeTestSkin("old");
    auto set = SkinFileSet(*skin, {}, true);
    std::erase_if(set, [](const SkinFile& f) {
        return std::string(f.name) == "cbuttons.bmp" || std::string(f.name) == "eqmain.bmp";
    });
    skin->cbuttons.reset();
    skin->eqmain.reset();
    std::string folder = NewFolder("skin");
    EXPECT_EQ(Summary(WriteSkinFolder(folder, *skin, {}, true)), "1: cbuttons.bmp eqmain.bmp");
    EXPECT_EQ(Folder(folder), Folder(set));
    std::string archive = TempPath("skin.wsz"); // an archive is all or nothing
    EXPECT_FALSE(WriteSkinArchive(archive, *skin, {}, true) || fs::exists(archive));
    skin = MakeTestSkin("old"); // without balance.bmp the volume file needs the balance bitmap
    skin->balance.reset();
    EXPECT_EQ(Summary(WriteSkinFolder(NewFolder("skin"), *skin, {}, false)), "1: volume.bmp");
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
    taken.insert(taken.end(), {In(folder, "to-victim"), In(folder, "dangling")});
#endif
    for (const std::string& name : taken) {
        std::string reason;
        EXPECT_EQ(WriteNewFile(name, std::vector<uint8_t>{'n'}, &reason), NewFileStatus::NameTaken)
            << name;
    }
    EXPECT_EQ(ReadBytes(victim), std::vector<uint8_t>{'v'});
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
            std::vector<int> ok(size_t(writers), 0);
            {
                std::vector<std::jthread> threads;
                for (int w = 0; w < writers; w++) {
                    threads.emplace_back(
                        [&, w] { ok[size_t(w)] = WriteFileSafely(path, contents[size_t(w)]); });
                }
            }
            ASSERT_EQ(std::count(ok.begin(), ok.end(), 1), writers) << "round " << round;
            ASSERT_NE(std::find(contents.begin(), contents.end(), ReadBytes(path)), contents.end())
                << "round " << round << ": bytes of no writer";
        }
        EXPECT_EQ(Folder(folder).size(), 1u);
    }
}

TEST(SafeWrite, PathsAreComparedByTheFileTheyName) {
    std::string folder = NewFolder("alias");
    fs::create_directories(In(folder, "sub"));
    std::string picture = In(folder, "main.bmp");
    WriteBytes(picture, {'p'});
    std::string sep = std::string(1, fs::path::preferred_separator);
    std::vector<std::tuple<std::string, std::string, bool>> cases = {
        {picture, folder + sep + sep + "sub" + sep + ".." + sep + "main.bmp", true},
        {picture, In(folder, "other.bmp"), false},
        // Not there yet: the same name in the same folder, however the folder is spelled.
        {In(folder, "new.wsz"), folder + sep + "sub" + sep + ".." + sep + "new.wsz", true},
        {In(folder, "new.wsz"), In(folder, "sub/new.wsz"), false},
        {In(folder, "absent/x.bmp"), folder + sep + "." + sep + "absent" + sep + "x.bmp", true},
#ifdef _WIN32
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
    for (const auto& [a, b, same] : cases) {
        EXPECT_EQ(SamePath(IdentifyPath(a), IdentifyPath(b)), same) << a << " | " << b;
    }
}
