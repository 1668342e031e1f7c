#include "project/outputs.h"

#include <filesystem>
#include <set>
#include <vector>

#include "files/path_identity.h"
#include "image/bmp_file.h"
#include "output/safe_write.h"
#include "output/wsz.h"

namespace {

struct IdentifiedFile {
    NamedFile file;
    PathIdentity identity;
};

// Creates a folder and the folders above it that are missing, and remembers which it made,
// so a set that fails can take them away again.
class MadeFolders {
  public:
    bool Make(const std::string& folder, std::string* reasonOut) {
        namespace fs = std::filesystem;
        std::vector<fs::path> missing;
        std::error_code ec;
        for (fs::path p = fs::path(folder); !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
            missing.push_back(p);
            if (p == p.parent_path()) {
                break;
            }
        }
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            if (!fs::create_directory(*it, ec) && ec) {
                *reasonOut = ec.message();
                Undo();
                return false;
            }
            made_.push_back(*it);
        }
        return true;
    }

    // Removes the folders made, deepest first, as long as they are empty.
    void Undo() {
        std::error_code ec;
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
            std::filesystem::remove(*it, ec);
        }
        made_.clear();
    }

  private:
    std::vector<std::filesystem::path> made_;
};

} // namespace

std::optional<OutputClash> FindOutputClash(const SkinOutputs& o, const std::string& picture,
                                           const std::string& templateFolder) {
    std::vector<IdentifiedFile> inputs;
    std::vector<IdentifiedFile> outputs;
    auto add = [](std::vector<IdentifiedFile>& list, const char* what, const std::string& path) {
        list.push_back({{what, path}, IdentifyPath(path)});
    };
    if (!picture.empty()) {
        add(inputs, "the picture", picture);
    }
    if (!templateFolder.empty()) {
        PieceSource pieces(templateFolder);
        std::set<std::string> seen;
        for (const TemplatePlacement& p : TemplatePlacements()) {
            if (seen.insert(p.fileName).second) {
                add(inputs, "the template piece", pieces.Folder() + p.fileName);
            }
        }
    }
    for (const SkinFileEntry& entry : kSkinFileTable) {
        if (entry.content != SkinFileContent::Balance || o.genBalance) {
            add(outputs, "the skin file", SkinFilePath(o.folder, entry.name));
        }
    }
    if (!o.archive.empty()) {
        add(outputs, "the archive", o.archive);
    }
    if (!o.preview.empty()) {
        add(outputs, "the preview", o.preview);
    }
    for (size_t i = 0; i < outputs.size(); i++) {
        const IdentifiedFile& out = outputs[i];
        for (const IdentifiedFile& in : inputs) {
            if (SamePath(out.identity, in.identity)) {
                return OutputClash{out.file, in.file, true};
            }
        }
        for (size_t j = 0; j < i; j++) {
            if (SamePath(out.identity, outputs[j].identity)) {
                return OutputClash{out.file, outputs[j].file, false};
            }
        }
    }
    return std::nullopt;
}

WriteFault WriteSkinOutputs(const Project& project, const SkinOptions& options,
                            const SkinOutputs& o) {
    const SkinSet* skin = project.Skin();
    std::vector<SkinFile> files = project.SkinFiles();
    for (const SkinFile& file : files) {
        if (file.bytes.empty()) {
            return {WriteFault::NoBitmap, SkinFilePath(o.folder, file.name), {}};
        }
    }
    if (!skin || files.empty()) {
        return {WriteFault::NoBitmap, o.folder, {}};
    }
    // The archive is deflated in the background while the folder's files are written.
    std::optional<ZipArchiveJob> archiveJob;
    if (!o.archive.empty()) {
        archiveJob.emplace(files);
    }
    MadeFolders folders;
    std::string reason;
    if (!folders.Make(o.folder, &reason)) {
        return {WriteFault::FolderFailed, o.folder, reason};
    }
    std::optional<FileTransaction> transaction(std::in_place);
    for (const SkinFile& file : files) {
        transaction->Write(SkinFilePath(o.folder, file.name), file.bytes);
    }
    if (archiveJob) {
        std::vector<uint8_t> archive = archiveJob->Finish();
        if (archive.empty()) {
            transaction.reset(); // its temporaries go before the folders made for them
            folders.Undo();
            return {WriteFault::ArchiveFailed, o.archive, {}};
        }
        transaction->Write(o.archive, archive);
    }
    if (!o.preview.empty()) {
        transaction->Write(o.preview, DibEncodeFile(StackedPreview(*skin, options.order).get()));
    }
    if (!transaction->Commit()) {
        WriteFault fault = {WriteFault::FileFailed, transaction->Fault().path,
                            transaction->Fault().reason};
        transaction.reset();
        folders.Undo();
        return fault;
    }
    return {};
}
