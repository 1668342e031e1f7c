#include "files/path_identity.h"

#include "files/file_system.h"

std::string FolderOf(const std::string& path) {
    size_t sep = path.find_last_of(PathSeparators());
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

PathIdentity IdentifyPath(const std::string& path) {
    PathIdentity id;
    std::string prefix = path;
    std::string rest;
    while (true) {
        FileKey key;
        if (FileKeyOf(prefix.empty() ? "." : prefix, &key)) {
            id.known = true;
            id.volume = key.volume;
            id.index = key.index;
            id.rest = FoldNameCase(rest);
            return id;
        }
        size_t end = prefix.find_last_not_of(PathSeparators());
        if (end == std::string::npos) {
            return id; // the root itself cannot be found
        }
        size_t sep = prefix.find_last_of(PathSeparators(), end);
        size_t start = sep == std::string::npos ? 0 : sep + 1;
        std::string name = prefix.substr(start, end + 1 - start);
        if (name != ".") {
            rest = rest.empty() ? name : name + "/" + rest;
        }
        prefix.resize(start);
    }
}

bool SamePath(const PathIdentity& a, const PathIdentity& b) {
    return a.known && a == b;
}
