#pragma once

// The skin as one .wsz file: a zip archive holding the members of SkinFileSet at its root, in
// the same order and with the same bytes as a skin folder. Each member is deflated (method 8)
// and stamped 2026-01-01 00:00, so the same skin always gives the same archive.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compose/skin.h"
#include "output/skin_writer.h"

// The zip archive of these files, in their order; empty when a file has no bytes (a missing
// bitmap) or cannot be compressed.
std::vector<uint8_t> EncodeZipArchive(const std::vector<SkinFile>& files);

// The same archive made in the background: natively a helper thread starts deflating the
// members at once, while the caller goes on (the command line writes the skin folder), and
// Finish joins in and returns what EncodeZipArchive would. The files must outlive the job.
class ZipArchiveJob {
  public:
    explicit ZipArchiveJob(const std::vector<SkinFile>& files);
    ~ZipArchiveJob();
    ZipArchiveJob(const ZipArchiveJob&) = delete;
    ZipArchiveJob& operator=(const ZipArchiveJob&) = delete;
    std::vector<uint8_t> Finish(); // once

  private:
    struct Work;
    std::unique_ptr<Work> work_;
};

// The whole archive of the skin; empty when a bitmap is missing.
std::vector<uint8_t> EncodeSkinArchive(const SkinSet& skin, const PlaylistStyle& style,
                                       bool genBalance);

// Writes the archive to path (safe_write.h): a failed save leaves no temporary and any earlier
// archive at path as it was, and two saves at once each leave a whole archive. False for an
// empty path, a missing bitmap or a file that cannot be written; faultOut (may be null) then
// gets the reason.
bool WriteSkinArchive(const std::string& path, const SkinSet& skin, const PlaylistStyle& style,
                      bool genBalance, FileFault* faultOut = nullptr);
