#pragma once

// Where a skin goes: its folder, and the archive and preview beside it. Before anything is
// read or written, no output may land on an input (the picture, a template piece) or on
// another output, compared by the files the paths name, not by how they are spelled. Then
// everything a run writes is one set: a fault anywhere replaces nothing.

#include <optional>
#include <string>

#include "project/project.h"

struct SkinOutputs {
    std::string folder;  // the skin folder; may be missing (it is created)
    std::string archive; // the .wsz; empty for none
    std::string preview; // the stacked previews as a .bmp; empty for none
    // Whether balance.bmp is one of the folder's files; the desktop program checks every
    // file a skin folder can hold.
    bool genBalance = true;
};

// A file a run reads or writes, as the faces name it in a message.
struct NamedFile {
    std::string what; // "the picture", "the template piece", "the skin file", ...
    std::string path;
};

// An output that is one of the inputs (overwrites) or an output named before it (not
// overwrites).
struct OutputClash {
    NamedFile output;
    NamedFile other;
    bool overwrites = true;
};

// The first output, in the order skin files, archive, preview, that is the picture or a
// piece of the template folder (both may be empty) or an output before it.
std::optional<OutputClash> FindOutputClash(const SkinOutputs& outputs, const std::string& picture,
                                           const std::string& templateFolder);

struct WriteFault {
    enum Kind {
        None,
        NoBitmap,      // a file of the set has no bitmap: path names it
        FolderFailed,  // the folder (path) could not be created: reason
        ArchiveFailed, // the archive (path) could not be packed
        FileFailed,    // a file (path) could not be written: reason; nothing was replaced
    } kind = None;
    std::string path;
    std::string reason;
};

// Writes the skin's files into the folder (made with the folders above it that are missing),
// and the archive and the preview when asked, as one set: on any fault nothing is replaced,
// and the folders made for the set are taken away again. The archive is packed while the
// folder's files are written.
WriteFault WriteSkinOutputs(const Project& project, const SkinOptions& options,
                            const SkinOutputs& outputs);
