#pragma once

// The few file-system operations the program stands on, each answering in the operating
// system's own words when it fails. file_system_posix.cpp implements them with open(2) and
// rename(2), file_system_win.cpp with CreateFileA and MoveFileExA; the paths are the ones
// the rest of the program hands to fopen (the ANSI code page on Windows).

#include <cstdint>
#include <span>
#include <string>

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
