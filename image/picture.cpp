#include "image/picture.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "files/file_system.h"
#include "image/adjust.h"
#include "image/bmp_file.h"
#include "image/photo.h"

namespace {

OpenedPicture Validate(BmpRead read, const ConvertQuestion& askConvert) {
    OpenedPicture result;
    result.width = read.width;
    result.height = read.height;
    result.bitCount = read.bitCount;
    result.reason = read.reason;
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
                result.reason = "the conversion to 24 bits failed";
                return result;
            }
        }
    }
    result.outcome = CheckPictureSize(read.width, read.height, &result.reason);
    if (result.outcome == PictureOutcome::Accepted && read.status == BmpStatus::TooLarge) {
        result.outcome = PictureOutcome::TooLarge;
    }
    if (result.outcome == PictureOutcome::Accepted) {
        result.picture = std::move(picture);
    }
    return result;
}

// A photo is decoded true-colour and upright, already reduced to fit the largest picture.
OpenedPicture OpenPhoto(std::span<const uint8_t> file) {
    DecodedPhoto photo = DecodePhoto(file, {kMaxPictureWidth, kMaxPictureHeight},
                                     {kMinPictureWidth, kMinPictureHeight});
    OpenedPicture result;
    result.width = photo.width;
    result.height = photo.height;
    result.bitCount = 24;
    if (photo.tooLarge) {
        result.outcome = PictureOutcome::TooManyPixels;
    } else if (photo.tooSmall) {
        result.outcome = PictureOutcome::TooSmall;
    } else if (!photo.picture) {
        result.outcome = PictureOutcome::ReadFailed;
        result.reason = photo.reason;
    } else {
        result.outcome = PictureOutcome::Accepted;
        result.reduced =
            photo.picture->Width() != photo.width || photo.picture->Height() != photo.height;
        result.fittedWidth = photo.picture->Width();
        result.fittedHeight = photo.picture->Height();
        result.picture = std::move(photo.picture);
    }
    return result;
}

// Photo files are read whole: the decoders take them from memory. Larger files than any
// accepted photo needs are refused unread.
constexpr uint64_t kMaxPhotoFileBytes = uint64_t(512) << 20;

// The file, chosen by its first bytes; a BMP may be reduced as it is read (bmp_file.h).
// Anything but a regular file is left to the BMP reader, which refuses it with its reason.
OpenedPicture OpenFile(const char* path, const ConvertQuestion& askConvert,
                       const ReduceTo& reduceTo) {
    ReadableFile file;
    std::string reason;
    bool notFound = false;
    uint8_t head[8] = {};
    size_t got = 0;
    if (path && file.Open(path, &reason, &notFound)) {
        got = size_t(std::min<uint64_t>(file.Length(), sizeof head));
        got = file.ReadAt(0, head, got, &reason) ? got : 0;
    }
    if (PhotoKindOf({head, got}) == PhotoKind::None) {
        return Validate(BmpReadFileReduced(path, reduceTo), askConvert);
    }
    OpenedPicture failed;
    failed.reason = "the file cannot be read";
    if (file.Length() > kMaxPhotoFileBytes) {
        return failed;
    }
    // Left uninitialised: the read fills every byte or the file is refused.
    size_t size = size_t(file.Length());
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size]);
    if (!bytes || !file.ReadAt(0, bytes.get(), size, &reason)) {
        return failed;
    }
    return OpenPhoto({bytes.get(), size});
}

} // namespace

OpenedPicture OpenPictureFile(const char* path, const ConvertQuestion& askConvert) {
    return OpenFile(path, askConvert, nullptr);
}

OpenedPicture OpenPictureFileScaled(const char* path, const ConvertQuestion& askConvert,
                                    const std::function<int(int32_t, int32_t)>& scaleFor,
                                    ScalePlan* plan) {
    bool planned = false;
    ReduceTo reduceTo = [&](int32_t width, int32_t height) {
        *plan = PlanScale(scaleFor(width, height), width, height);
        planned = true;
        return BmpSize{plan->width, plan->height};
    };
    OpenedPicture opened = OpenFile(path, askConvert, reduceTo);
    if (opened.outcome != PictureOutcome::Accepted) {
        return opened;
    }
    // A photo, or a BMP the reader could not reduce as it read, is reduced now.
    if (!planned) {
        const int32_t width = opened.picture->Width();
        const int32_t height = opened.picture->Height();
        *plan = PlanScale(scaleFor(width, height), width, height);
    }
    if (plan->width != opened.picture->Width() || plan->height != opened.picture->Height()) {
        opened.picture = DibScaleDown(opened.picture.get(), plan->width, plan->height);
        if (!opened.picture) {
            opened.outcome = PictureOutcome::ReadFailed;
            opened.reason = "out of memory";
        }
    }
    return opened;
}

OpenedPicture OpenPictureBytes(std::span<const uint8_t> file, const ConvertQuestion& askConvert) {
    if (PhotoKindOf(file) != PhotoKind::None) {
        return OpenPhoto(file);
    }
    return Validate(BmpDecodeFile(file), askConvert);
}

PictureOutcome CheckPictureSize(int32_t width, int32_t height, std::string* reasonOut) {
    if (width < kMinPictureWidth || height < kMinPictureHeight) {
        *reasonOut = std::to_string(width) + " x " + std::to_string(height) +
                     " is smaller than " + std::to_string(kMinPictureWidth) + " x " +
                     std::to_string(kMinPictureHeight);
        return PictureOutcome::TooSmall;
    }
    if (width > kMaxPictureWidth || height > kMaxPictureHeight) {
        return PictureOutcome::TooLarge;
    }
    return PictureOutcome::Accepted;
}
