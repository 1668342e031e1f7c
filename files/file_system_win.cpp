#include "files/file_system.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

// Reading goes through the C runtime's descriptors, whose errno gives a failure the same
// words as on POSIX.
ReadableFile::~ReadableFile() {
    if (fd_ >= 0) {
        _close(fd_);
    }
}

bool ReadableFile::Open(const std::string& path, std::string* reasonOut, bool* notFoundOut) {
    fd_ = _open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd_ < 0) {
        int error = errno;
        *notFoundOut = error == ENOENT;
        // Windows refuses to open a folder as "permission denied", which misleads.
        struct _stat64 st;
        *reasonOut = _stat64(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)
                         ? "a folder, not a file"
                         : std::strerror(error);
        return false;
    }
    struct _stat64 st;
    if (_fstat64(fd_, &st) != 0) {
        *reasonOut = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        *reasonOut = S_ISDIR(st.st_mode)    ? "a folder, not a file"
                     : S_ISFIFO(st.st_mode) ? "a pipe, not a file"
                                            : "a device, not a file";
        return false;
    }
    length_ = uint64_t(st.st_size);
    return true;
}

bool ReadableFile::ReadAt(uint64_t offset, void* buffer, size_t count, std::string* reasonOut) {
    auto* p = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        int n = -1;
        if (_lseeki64(fd_, int64_t(offset), SEEK_SET) >= 0) {
            n = _read(fd_, p, unsigned(std::min<size_t>(count, 1u << 30)));
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            *reasonOut = std::strerror(errno);
            return false;
        }
        if (n == 0) {
            *reasonOut = "the file ended at byte " + std::to_string(offset) + " while it was read";
            return false;
        }
        p += n;
        offset += uint64_t(n);
        count -= size_t(n);
    }
    return true;
}

NewFileStatus WriteNewFile(const std::string& path, std::span<const uint8_t> bytes,
                           std::string* reasonOut) {
    // CREATE_NEW fails on any existing name, a link or junction included, and opens nothing.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            return NewFileStatus::NameTaken;
        }
        *reasonOut = SystemReason(error);
        return NewFileStatus::Failed;
    }
    const uint8_t* p = bytes.data();
    size_t left = bytes.size();
    DWORD error = 0;
    while (left > 0) {
        DWORD chunk = left > 0x40000000 ? 0x40000000 : DWORD(left);
        DWORD written = 0;
        if (!WriteFile(file, p, chunk, &written, nullptr)) {
            error = GetLastError();
            break;
        }
        if (written == 0) {
            error = ERROR_DISK_FULL;
            break;
        }
        p += written;
        left -= written;
    }
    if (!CloseHandle(file) && error == 0) {
        error = GetLastError();
    }
    if (error != 0) {
        DeleteFileA(path.c_str());
        *reasonOut = SystemReason(error);
        return NewFileStatus::Failed;
    }
    return NewFileStatus::Written;
}

bool MoveOverFile(const std::string& from, const std::string& to, std::string* reasonOut) {
    // Another program (a player, a virus scanner, a second save) may hold the old file open
    // for a moment; the move is tried again for about a second before it counts as failed.
    DWORD error = 0;
    for (int attempt = 0; attempt < 100; attempt++) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            return true;
        }
        error = GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) {
            break;
        }
        DWORD attributes = GetFileAttributesA(to.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
            break; // never going to give way
        }
        Sleep(10);
    }
    *reasonOut = SystemReason(error);
    return false;
}

bool CanReplace(const std::string& path, std::string* reasonOut) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true; // nothing there yet
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        *reasonOut = "a folder has that name";
        return false;
    }
    // A move replaces the file by deleting it, which a program holding it open without
    // FILE_SHARE_DELETE forbids; a moment's hold is waited out as MoveOverFile does.
    DWORD error = 0;
    for (int attempt = 0; attempt < 100; attempt++) {
        HANDLE file = CreateFileA(path.c_str(), DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            if (attributes & FILE_ATTRIBUTE_READONLY) {
                *reasonOut = SystemReason(ERROR_ACCESS_DENIED);
                return false;
            }
            return true;
        }
        error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return true;
        }
        if (error != ERROR_SHARING_VIOLATION) {
            break;
        }
        Sleep(10);
    }
    *reasonOut = SystemReason(error);
    return false;
}

void RemoveOwnFile(const std::string& path) {
    DeleteFileA(path.c_str());
}

bool FileKeyOf(const std::string& path, FileKey* keyOut) {
    // The C runtime's st_ino is always 0 here, so the identity comes from the handle.
    // FILE_FLAG_BACKUP_SEMANTICS lets the same call open a folder.
    HANDLE file =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info;
    bool ok = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!ok) {
        return false;
    }
    *keyOut = {info.dwVolumeSerialNumber,
               uint64_t(info.nFileIndexHigh) << 32 | uint64_t(info.nFileIndexLow)};
    return true;
}

std::string FoldNameCase(const std::string& name) {
    std::string folded = name;
    if (!folded.empty()) {
        CharUpperBuffA(folded.data(), DWORD(folded.size()));
    }
    return folded;
}

std::string SystemReason(unsigned long error) {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = length ? std::string(text, length) : "error " + std::to_string(error);
    // LocalFree releases what FORMAT_MESSAGE_ALLOCATE_BUFFER allocated.
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.')) {
        reason.pop_back();
    }
    return reason;
}

const char* PathSeparators() {
    return "/\\";
}

char PathSeparator() {
    return '\\';
}
