#include "output/wsz.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#ifndef __EMSCRIPTEN__
#include <thread>
#endif

#include "output/deflate.h"
#include "output/safe_write.h"

namespace {

constexpr uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr uint32_t kEndRecordSignature = 0x06054B50;
constexpr uint16_t kVersionNeeded = 20; // deflate
constexpr uint16_t kMethodDeflate = 8;
// 2026-01-01 00:00:00 in MS-DOS form: a fixed stamp keeps the archive the same from save to
// save, so it can be compared byte for byte.
constexpr uint16_t kDosTime = 0;
constexpr uint16_t kDosDate = (2026 - 1980) << 9 | 1 << 5 | 1;

// The skin is well under a megabyte, so every size and offset fits the 16- and 32-bit fields
// of a plain zip archive; anything larger is refused rather than written wrongly.
constexpr size_t kMaxArchiveSize = 0x7FFFFFFF;

void Add16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Add32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; i++) {
        out.push_back(uint8_t(v >> (8 * i)));
    }
}

// The fields a local header and its central-directory entry share, from "version needed" to
// "extra field length".
void AddCommonFields(std::vector<uint8_t>& out, uint32_t crc, size_t packedSize, size_t size,
                     size_t nameLength) {
    Add16(out, kVersionNeeded);
    Add16(out, 0); // no flags: sizes are known before the header is written
    Add16(out, kMethodDeflate);
    Add16(out, kDosTime);
    Add16(out, kDosDate);
    Add32(out, crc);
    Add32(out, uint32_t(packedSize));
    Add32(out, uint32_t(size));
    Add16(out, uint16_t(nameLength));
    Add16(out, 0); // no extra field
}

struct PackedMember {
    std::vector<uint8_t> packed;
    uint32_t crc = 0;
    bool ok = false;
};

} // namespace

// Every member is deflated on its own, so natively two threads share them, the largest
// first, and the bytes are those of one thread doing them in order. The browser build has no
// threads to spare and packs them one after another when the archive is asked for.
struct ZipArchiveJob::Work {
    explicit Work(const std::vector<SkinFile>& f) : files(f), packed(f.size()), order(f.size()) {
        for (size_t i = 0; i < order.size(); i++) {
            order[i] = i;
        }
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return files[a].bytes.size() > files[b].bytes.size();
        });
    }

    void Run() {
        for (size_t k = next++; k < order.size(); k = next++) {
            const SkinFile& file = files[order[k]];
            PackedMember& member = packed[order[k]];
            member.ok = !file.bytes.empty() &&
                        DeflateRaw(file.bytes.data(), file.bytes.size(), member.packed);
            member.crc = member.ok ? Crc32(file.bytes.data(), file.bytes.size()) : 0;
        }
    }

    const std::vector<SkinFile>& files;
    std::vector<PackedMember> packed;
    std::vector<size_t> order;
    std::atomic<size_t> next{0};
#ifndef __EMSCRIPTEN__
    std::thread helper;
#endif
};

ZipArchiveJob::ZipArchiveJob(const std::vector<SkinFile>& files)
    : work_(std::make_unique<Work>(files)) {
#ifndef __EMSCRIPTEN__
    work_->helper = std::thread([w = work_.get()] { w->Run(); });
#endif
}

ZipArchiveJob::~ZipArchiveJob() {
#ifndef __EMSCRIPTEN__
    if (work_->helper.joinable()) {
        work_->helper.join();
    }
#endif
}

std::vector<uint8_t> EncodeZipArchive(const std::vector<SkinFile>& files) {
    return ZipArchiveJob(files).Finish();
}

std::vector<uint8_t> ZipArchiveJob::Finish() {
    work_->Run();
#ifndef __EMSCRIPTEN__
    work_->helper.join();
#endif
    const std::vector<SkinFile>& files = work_->files;
    const std::vector<PackedMember>& members = work_->packed;
    // Sized once, so the packed members are copied only into their place in the archive.
    size_t total = 22;
    for (size_t i = 0; i < files.size(); i++) {
        if (!members[i].ok) {
            return {};
        }
        total += 30 + 46 + 2 * std::strlen(files[i].name) + members[i].packed.size();
    }
    std::vector<uint8_t> archive;
    std::vector<uint8_t> directory;
    archive.reserve(total);
    for (size_t i = 0; i < files.size(); i++) {
        const SkinFile& file = files[i];
        const std::vector<uint8_t>& packed = members[i].packed;
        size_t nameLength = std::strlen(file.name);
        if (archive.size() + packed.size() + file.bytes.size() > kMaxArchiveSize) {
            return {};
        }
        uint32_t crc = members[i].crc;
        uint32_t offset = uint32_t(archive.size());

        Add32(archive, kLocalHeaderSignature);
        AddCommonFields(archive, crc, packed.size(), file.bytes.size(), nameLength);
        archive.insert(archive.end(), file.name, file.name + nameLength);
        archive.insert(archive.end(), packed.begin(), packed.end());

        Add32(directory, kCentralHeaderSignature);
        Add16(directory, kVersionNeeded); // made by: MS-DOS attributes, zip 2.0
        AddCommonFields(directory, crc, packed.size(), file.bytes.size(), nameLength);
        Add16(directory, 0); // no comment
        Add16(directory, 0); // disk 0
        Add16(directory, 0); // internal attributes: binary
        Add32(directory, 0); // external attributes: a plain file
        Add32(directory, offset);
        directory.insert(directory.end(), file.name, file.name + nameLength);
    }
    uint32_t directoryOffset = uint32_t(archive.size());
    archive.insert(archive.end(), directory.begin(), directory.end());
    Add32(archive, kEndRecordSignature);
    Add16(archive, 0); // this disk
    Add16(archive, 0); // the disk where the directory starts
    Add16(archive, uint16_t(files.size()));
    Add16(archive, uint16_t(files.size()));
    Add32(archive, uint32_t(directory.size()));
    Add32(archive, directoryOffset);
    Add16(archive, 0); // no archive comment
    return archive;
}

std::vector<uint8_t> EncodeSkinArchive(const SkinSet& skin, const PlaylistStyle& style,
                                       bool genBalance) {
    return EncodeZipArchive(SkinFileSet(skin, style, genBalance));
}

bool WriteSkinArchive(const std::string& path, const SkinSet& skin, const PlaylistStyle& style,
                      bool genBalance, FileFault* faultOut) {
    std::vector<uint8_t> archive = EncodeSkinArchive(skin, style, genBalance);
    if (archive.empty()) {
        if (faultOut) {
            *faultOut = {path, "a bitmap of the skin is missing"};
        }
        return false;
    }
    return WriteFileSafely(path, archive, faultOut);
}
