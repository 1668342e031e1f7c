#pragma once

// Writing files so that no fault loses one. Every file goes to a fresh temporary in its own
// folder, created exclusively under an unpredictable name of at most 12 characters (no
// longer than the longest skin file name, so a folder that fits the skin fits its
// temporaries); only when every file of the set has been written and closed are the
// temporaries moved over the old files. On a failure before that point the temporaries are
// removed and every old file is exactly as it was; a process killed at any moment leaves
// each file whole, old or new (and perhaps a stray temporary beside it).
//
// Before writing, callers make sure no output is one of their inputs or another output
// (files/path_identity.h).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The longest name a temporary gets.
constexpr size_t kMaxTemporaryName = 12;

struct FileFault {
    std::string path;   // the file that could not be written, as the caller named it
    std::string reason; // the operating system's words
};

class FileTransaction {
  public:
    FileTransaction() = default;
    FileTransaction(const FileTransaction&) = delete;
    FileTransaction& operator=(const FileTransaction&) = delete;
    // Removes the temporaries of a set that was not committed.
    ~FileTransaction();

    // Writes bytes to a temporary beside path. After the first failure nothing more is
    // written and every call returns false.
    bool Write(const std::string& path, std::span<const uint8_t> bytes);
    // Moves every temporary over its file, in the order written. False when a Write failed
    // (nothing is moved) or a move fails (the files after it keep their old content).
    bool Commit();

    bool Failed() const { return failed_; }
    const FileFault& Fault() const { return fault_; }
    // Whether the file written as path has been put in place.
    bool Replaced(const std::string& path) const;

  private:
    struct Staged {
        std::string temporary;
        std::string target;
        bool moved = false;
    };
    void Fail(const std::string& path, const std::string& reason);
    void RemoveTemporaries();

    std::vector<Staged> staged_;
    FileFault fault_;
    bool failed_ = false;
};

// One file written the same way: a transaction of one. faultOut (may be null) gets the
// cause of a failure.
bool WriteFileSafely(const std::string& path, std::span<const uint8_t> bytes,
                     FileFault* faultOut = nullptr);
