#pragma once

// What a path means rather than how it is spelled. Before writing, callers make sure no
// output is one of their inputs or another output by comparing identities: two spellings of
// one file (a "." or "..", a link, a different case on Windows) have the same identity.

#include <cstdint>
#include <string>

// The folder part of a path, with its separator ("" for a bare name).
std::string FolderOf(const std::string& path);

// Which file a path means: an existing file by its file-system key; a file not yet there by
// the key of its nearest existing folder and the rest of the path, compared in the file
// system's case.
struct PathIdentity {
    bool known = false; // false when not even a folder of the path could be found
    uint64_t volume = 0;
    uint64_t index = 0;
    std::string rest;
    bool operator==(const PathIdentity&) const = default;
};
PathIdentity IdentifyPath(const std::string& path);

// True when both paths are known and mean the same file.
bool SamePath(const PathIdentity& a, const PathIdentity& b);
