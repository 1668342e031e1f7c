#include "image/picture.h"

#include "image/bmp_file.h"
#include "image/messages.h"

namespace {

OpenedPicture Validate(BmpRead read, const ConvertQuestion& askConvert) {
    OpenedPicture result;
    result.width = read.width;
    result.height = read.height;
    result.bitCount = read.bitCount;
    if (read.status == BmpStatus::Unreadable) {
        result.outcome = PictureOutcome::ReadFailed;
        return result;
    }
    // A picture too large to read still gets its depth question first: the order of the
    // checks is the order of the messages the user sees.
    std::unique_ptr<Dib> picture = std::move(read.dib);
    if (read.bitCount != 24) {
        if (!askConvert || !askConvert()) {
            result.outcome = PictureOutcome::Declined;
            return result;
        }
        if (picture) {
            picture = DibConvertTo24(picture.get());
            if (!picture) {
                result.outcome = PictureOutcome::ReadFailed;
                return result;
            }
        }
    }
    if (read.width < kMinPictureWidth || read.height < kMinPictureHeight) {
        result.outcome = PictureOutcome::TooSmall;
    } else if (read.status == BmpStatus::TooLarge || read.width > kMaxPictureWidth ||
               read.height > kMaxPictureHeight) {
        result.outcome = PictureOutcome::TooLarge;
    } else {
        result.outcome = PictureOutcome::Accepted;
        result.picture = std::move(picture);
    }
    return result;
}

} // namespace

OpenedPicture OpenPictureFile(const char* path, const ConvertQuestion& askConvert) {
    return Validate(BmpReadFile(path), askConvert);
}

OpenedPicture OpenPictureBytes(std::span<const uint8_t> file, const ConvertQuestion& askConvert) {
    return Validate(BmpDecodeFile(file), askConvert);
}

const char* PictureOutcomeMessage(PictureOutcome outcome) {
    switch (outcome) {
    case PictureOutcome::ReadFailed:
        return kMsgLoadFailed;
    case PictureOutcome::TooSmall:
        return kMsgTooSmall;
    case PictureOutcome::TooLarge:
        return kMsgTooLarge;
    case PictureOutcome::Accepted:
    case PictureOutcome::Declined:
        break;
    }
    return nullptr;
}
