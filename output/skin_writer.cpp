#include "output/skin_writer.h"

#include <cstdio>

#include "files/file_system.h"
#include "image/bmp_file.h"
#include "output/safe_write.h"

namespace {

constexpr char kLineEnd[] = "\r\n";

bool EndsWithSeparator(const std::string& folder) {
    return !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
}

std::vector<uint8_t> TextBytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<std::string> AllNames(const std::vector<SkinFile>& files) {
    std::vector<std::string> names;
    for (const SkinFile& file : files) {
        names.push_back(file.name);
    }
    return names;
}

} // namespace

std::string HexColor(ColorRef color) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", unsigned(RedOf(color)), unsigned(GreenOf(color)),
                  unsigned(BlueOf(color)));
    return hex;
}

std::string VisColorText(const VisColorTable& table) {
    std::string text;
    for (ColorRef color : table) {
        char line[16];
        std::snprintf(line, sizeof line, "%u,%u,%u", unsigned(RedOf(color)),
                      unsigned(GreenOf(color)), unsigned(BlueOf(color)));
        text += line;
        text += kLineEnd;
    }
    return text;
}

std::string PlaylistText(const PlaylistStyle& style) {
    std::string text = "[Text]";
    text += kLineEnd;
    text += "Normal=#" + HexColor(style.normalText) + kLineEnd;
    text += "Current=#" + HexColor(style.currentText) + kLineEnd;
    text += "NormalBG=#" + HexColor(style.normalBack) + kLineEnd;
    text += "SelectedBG=#" + HexColor(style.selectedBack) + kLineEnd;
    // Players read the face name up to the end of the file, so no line end follows it.
    text += "Font=" + style.fontName;
    return text;
}

std::string SkinFilePath(const std::string& folder, const char* name) {
    std::string path = folder;
    if (!EndsWithSeparator(path)) {
        path += PathSeparator();
    }
    return path + name;
}

std::unique_ptr<Dib> CombinedVolume(const Dib* volume, const Dib* balance) {
    if (!volume || !balance) {
        return nullptr;
    }
    // Players without balance.bmp draw the balance slider from volume.bmp's frames, so the
    // balance bitmap's first frame is laid over three of them.
    constexpr int32_t kBalanceFrameWidth = 68;
    constexpr int32_t kBalanceFrameHeight = 13;
    constexpr int32_t kBalanceFrameTops[] = {0, 30, 60};
    std::unique_ptr<Dib> combined = DibDuplicate(volume);
    for (int32_t top : kBalanceFrameTops) {
        DibCopyRect(combined.get(), 0, top, kBalanceFrameWidth, kBalanceFrameHeight, balance, 0, 0);
    }
    return combined;
}

std::vector<SkinFile> SkinFileSet(const SkinSet& skin, const PlaylistStyle& style,
                                  bool genBalance) {
    std::vector<SkinFile> files;
    for (const SkinFileEntry& entry : kSkinFileTable) {
        SkinFile file{entry.name, {}};
        switch (entry.content) {
        case SkinFileContent::Bitmap:
            file.bytes = DibEncodeFile((skin.*entry.bitmap).get());
            break;
        case SkinFileContent::Volume:
            if (genBalance) {
                file.bytes = DibEncodeFile(skin.volume.get());
            } else {
                file.bytes =
                    DibEncodeFile(CombinedVolume(skin.volume.get(), skin.balance.get()).get());
            }
            break;
        case SkinFileContent::Balance:
            if (!genBalance) {
                continue;
            }
            file.bytes = DibEncodeFile(skin.balance.get());
            break;
        case SkinFileContent::VisColors:
            file.bytes = TextBytes(VisColorText(skin.visColors));
            break;
        case SkinFileContent::PlaylistText:
            file.bytes = TextBytes(PlaylistText(style));
            break;
        case SkinFileContent::GenericControls:
            file.bytes = DibEncodeFile(GenexWithColors(skin, style).get());
            break;
        }
        files.push_back(std::move(file));
    }
    return files;
}

bool SkinFolderPathFits(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    for (const SkinFileEntry& entry : kSkinFileTable) {
        if (SkinFilePath(folder, entry.name).size() > kMaxSkinPathLength) {
            return false;
        }
    }
    return true;
}

SkinWriteResult WriteSkinFolder(const std::string& folder, const SkinSet& skin,
                                const PlaylistStyle& style, bool genBalance) {
    std::vector<SkinFile> files = SkinFileSet(skin, style, genBalance);
    SkinWriteResult result;
    if (folder.empty()) {
        result.status = SkinWriteStatus::NoFolder;
        result.failed = AllNames(files);
        return result;
    }
    // Checked for the whole set before the first file, so a refused folder gets no partial
    // skin.
    if (!SkinFolderPathFits(folder)) {
        result.status = SkinWriteStatus::PathTooLong;
        result.failed = AllNames(files);
        return result;
    }
    // The whole set goes in together: a fault in any file leaves every old file as it was.
    FileTransaction transaction;
    for (const SkinFile& file : files) {
        // A missing bitmap writes nothing, so a file of that name from an earlier save stays
        // one a player can read.
        if (file.bytes.empty()) {
            result.failed.push_back(file.name);
        } else {
            transaction.Write(SkinFilePath(folder, file.name), file.bytes);
        }
    }
    if (!transaction.Commit()) {
        result.fault = transaction.Fault();
        result.failed.clear();
        for (const SkinFile& file : files) {
            if (!transaction.Replaced(SkinFilePath(folder, file.name))) {
                result.failed.push_back(file.name);
            }
        }
    }
    result.status = result.failed.empty() ? SkinWriteStatus::Written : SkinWriteStatus::Incomplete;
    return result;
}
