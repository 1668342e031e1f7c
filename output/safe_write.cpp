#include "output/safe_write.h"

#include <random>

#include "files/file_system.h"
#include "files/path_identity.h"

namespace {

// "~kv" and nine letters or digits: 36^9 names, drawn from the system's random source so
// another user cannot guess the next one and plant something there first.
std::string TemporaryName() {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::random_device source;
    uint64_t bits = uint64_t(source()) << 32 | source();
    std::string name = "~kv";
    for (int i = 0; i < 9; i++) {
        name += kAlphabet[bits % 36];
        bits /= 36;
    }
    return name;
}

} // namespace

FileTransaction::~FileTransaction() {
    RemoveTemporaries();
}

void FileTransaction::Fail(const std::string& path, const std::string& reason) {
    failed_ = true;
    fault_ = {path, reason};
    RemoveTemporaries();
}

void FileTransaction::RemoveTemporaries() {
    for (Staged& s : staged_) {
        if (!s.moved && !s.temporary.empty()) {
            RemoveOwnFile(s.temporary);
            s.temporary.clear();
        }
    }
}

bool FileTransaction::Write(const std::string& path, std::span<const uint8_t> bytes) {
    if (failed_) {
        return false;
    }
    if (path.empty()) {
        Fail(path, "no file name");
        return false;
    }
    const std::string folder = FolderOf(path);
    // A taken name is someone else's file (or a planted link): draw another. Running out of
    // names means the folder is being flooded, which is a failure like any other.
    for (int attempt = 0; attempt < 64; attempt++) {
        std::string temporary = folder + TemporaryName();
        std::string reason;
        switch (WriteNewFile(temporary, bytes, &reason)) {
        case NewFileStatus::Written:
            staged_.push_back({temporary, path});
            return true;
        case NewFileStatus::NameTaken:
            continue;
        case NewFileStatus::Failed:
            Fail(path, reason);
            return false;
        }
    }
    Fail(path, "no free temporary name in its folder");
    return false;
}

bool FileTransaction::Commit() {
    if (failed_) {
        return false;
    }
    for (const Staged& s : staged_) {
        std::string reason;
        if (!CanReplace(s.target, &reason)) {
            Fail(s.target, reason);
            return false;
        }
    }
    for (Staged& s : staged_) {
        std::string reason;
        if (!MoveOverFile(s.temporary, s.target, &reason)) {
            Fail(s.target, reason);
            return false;
        }
        s.moved = true;
    }
    return true;
}

bool FileTransaction::Replaced(const std::string& path) const {
    for (const Staged& s : staged_) {
        if (s.target == path) {
            return s.moved;
        }
    }
    return false;
}

bool WriteFileSafely(const std::string& path, std::span<const uint8_t> bytes, FileFault* faultOut) {
    FileTransaction transaction;
    if (transaction.Write(path, bytes) && transaction.Commit()) {
        return true;
    }
    if (faultOut) {
        *faultOut = transaction.Fault();
    }
    return false;
}
