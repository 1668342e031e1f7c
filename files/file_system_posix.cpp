#include "files/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

ReadableFile::~ReadableFile() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

bool ReadableFile::Open(const std::string& path, std::string* reasonOut, bool* notFoundOut) {
    fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd_ < 0) {
        int error = errno;
        *notFoundOut = error == ENOENT;
        struct stat st;
        *reasonOut = stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? "a folder, not a file"
                                                                         : std::strerror(error);
        return false;
    }
    struct stat st;
    if (fstat(fd_, &st) != 0) {
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
        ssize_t n = pread(fd_, p, std::min<size_t>(count, 1u << 30), off_t(offset));
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
    // O_EXCL never opens what is there, a link included; O_NOFOLLOW says so twice.
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST) {
            return NewFileStatus::NameTaken;
        }
        *reasonOut = SystemReason(errno);
        return NewFileStatus::Failed;
    }
    const uint8_t* p = bytes.data();
    size_t left = bytes.size();
    int error = 0;
    while (left > 0) {
        ssize_t n = write(fd, p, left);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        p += n;
        left -= size_t(n);
    }
    if (close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(path.c_str());
        *reasonOut = SystemReason(error);
        return NewFileStatus::Failed;
    }
    return NewFileStatus::Written;
}

bool MoveOverFile(const std::string& from, const std::string& to, std::string* reasonOut) {
    if (std::rename(from.c_str(), to.c_str()) == 0) {
        return true;
    }
    *reasonOut = SystemReason(errno);
    return false;
}

bool CanReplace(const std::string& path, std::string* reasonOut) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        *reasonOut = "a folder has that name";
        return false;
    }
    return true;
}

void RemoveOwnFile(const std::string& path) {
    unlink(path.c_str());
}

bool FileKeyOf(const std::string& path, FileKey* keyOut) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        return false;
    }
    *keyOut = {uint64_t(st.st_dev), uint64_t(st.st_ino)};
    return true;
}

std::string FoldNameCase(const std::string& name) {
    return name;
}

std::string SystemReason(unsigned long error) {
    return std::strerror(int(error));
}

const char* PathSeparators() {
    return "/";
}

char PathSeparator() {
    return '/';
}
