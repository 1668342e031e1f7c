#pragma once

// The few file-system operations the program stands on, each answering in the operating
// system's own words when it fails. file_system_posix.cpp implements them with open(2),
// pread(2) and rename(2), file_system_win.cpp with the C runtime's descriptors for reading
// and CreateFileA and MoveFileExA for writing; the paths are the ANSI code page's on Windows.

#include <cstdint>
#include <span>
#include <string>

// A regular file opened for reading, with its length, read by offset: no seeking and no
// reading of bytes the caller does not ask for (a header may put the pixels a gigabyte into a
// sparse file). No memory map either: a file that shrinks while it is read gives an error.
class ReadableFile {
  public:
    ReadableFile() = default;
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;
    ~ReadableFile();

    // Opens only a regular file: a FIFO or a device would block or never end, a folder holds
    // no bytes. A FIFO is opened without waiting for a writer, then refused. reasonOut gets
    // "a folder, not a file", "a pipe, not a file", "a device, not a file" or the system's
    // words; notFoundOut whether nothing has that name.
    bool Open(const std::string& path, std::string* reasonOut, bool* notFoundOut);

    uint64_t Length() const { return length_; }

    // Reads exactly count bytes from offset, whatever the size of each read the system
    // grants. A file that ends before them fails ("the file ended at byte 1024 while it was
    // read").
    bool ReadAt(uint64_t offset, void* buffer, size_t count, std::string* reasonOut);

  private:
    int fd_ = -1; // the descriptor of open(2), or of the C runtime's _open on Windows
    uint64_t length_ = 0;
};

enum class NewFileStatus {
    Written,   // created, every byte written, closed
    NameTaken, // something (a file, a folder, a link) already has that name; nothing touched
    Failed,    // created but not completely written, or not creatable; nothing left behind
};

// Creates a file that did not exist before, never through an existing name or link, writes
// all of bytes and closes it. The file is not synced: a process killed later cannot
// corrupt it, and power loss is out of scope. reasonOut gets the cause of Failed.
NewFileStatus WriteNewFile(const std::string& path, std::span<const uint8_t> bytes,
                           std::string* reasonOut);

// Puts the file at from in place of to in one step, replacing a file already there.
bool MoveOverFile(const std::string& from, const std::string& to, std::string* reasonOut);

// Whether a move could put a file at path now: nothing is there, or a file that is not a
// folder, and (on Windows) not read-only and not held open by a program that forbids it.
// Asked for every file of a set before the first move, so that these obstacles, the ones a
// move meets after every temporary was written, leave every old file as it was.
bool CanReplace(const std::string& path, std::string* reasonOut);

// The operating system's words for an error number (errno; GetLastError on Windows), on one
// line and without a closing period, so callers can put them after their own.
std::string SystemReason(unsigned long error);

// Removes a file that this program created; a failure is not reported.
void RemoveOwnFile(const std::string& path);

// What tells one file from another: device and inode, or volume serial and file index.
struct FileKey {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FileKey&) const = default;
};

// The key of an existing file or folder (links followed); false when there is none.
bool FileKeyOf(const std::string& path, FileKey* keyOut);

// A file name as the file system compares it: as it is on POSIX, in one case on Windows.
std::string FoldNameCase(const std::string& name);

// The characters that separate the names of a path: "/" on POSIX, "/\\" on Windows.
const char* PathSeparators();
// The separator put between a folder and a name: '/' on POSIX, '\\' on Windows.
char PathSeparator();
