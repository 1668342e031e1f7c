#include "project/project.h"

#include <algorithm>
#include <set>

#include "output/wsz.h"
#include "project/messages.h"
#include "project/suggest.h"

OpenedPicture Project::Take(OpenedPicture opened) {
    if (opened.outcome != PictureOutcome::Accepted) {
        return opened;
    }
    std::unique_ptr<Dib> work = DibDuplicate(opened.picture.get());
    if (!work) {
        opened.picture.reset();
        opened.outcome = PictureOutcome::ReadFailed;
        opened.reason = "out of memory";
        return opened;
    }
    Close();
    picture_ = std::move(opened.picture);
    work_ = std::move(work);
    applied_ = {};
    workSerial_++;
    return opened;
}

OpenedPicture Project::OpenFile(const std::string& path, const ConvertQuestion& askConvert) {
    return Take(OpenPictureFile(path.c_str(), askConvert));
}

OpenedPicture Project::OpenBytes(std::span<const uint8_t> file, const ConvertQuestion& askConvert) {
    return Take(OpenPictureBytes(file, askConvert));
}

OpenedPicture Project::OpenRgba(const uint8_t* rgba, int32_t width, int32_t height) {
    OpenedPicture opened;
    opened.width = width;
    opened.height = height;
    opened.bitCount = 24;
    opened.outcome = CheckPictureSize(width, height, &opened.reason);
    if (opened.outcome == PictureOutcome::Accepted) {
        opened.picture = DibCreate(width, height, 24);
        if (!opened.picture) {
            opened.outcome = PictureOutcome::ReadFailed;
            opened.reason = "out of memory";
            return opened;
        }
        for (int32_t y = 0; y < height; y++) {
            const uint8_t* from = rgba + size_t(y) * size_t(width) * 4;
            uint8_t* to = opened.picture->Row(y);
            for (int32_t x = 0; x < width; x++, from += 4, to += 3) {
                to[0] = from[2];
                to[1] = from[1];
                to[2] = from[0];
            }
        }
    }
    return Take(std::move(opened));
}

OpenedPicture Project::OpenFileAtScale(const std::string& path, const ConvertQuestion& askConvert,
                                       const std::function<int(int32_t, int32_t)>& scaleFor,
                                       ScalePlan* plan) {
    OpenedPicture opened = OpenPictureFileScaled(path.c_str(), askConvert, scaleFor, plan);
    if (opened.outcome == PictureOutcome::Accepted) {
        // The reduced picture is the work picture: no copy is kept for other adjustments.
        Close();
        work_ = std::move(opened.picture);
        oneScale_ = true;
        applied_ = {plan->scale, 0, 0};
        workSerial_++;
    }
    return opened;
}

void Project::Close() {
    picture_.reset();
    work_.reset();
    oneScale_ = false;
    skin_.reset();
}

ScalePlan Project::PlanScale(int scale) const {
    if (oneScale_) {
        return {applied_.scale, work_->Width(), work_->Height(), false};
    }
    return ::PlanScale(scale, picture_ ? picture_->Width() : 0, picture_ ? picture_->Height() : 0);
}

int Project::SmallestScale(AdjustmentMode mode) const {
    const Dib* picture = picture_ ? picture_.get() : work_.get();
    return LeastScale(picture ? picture->Width() : 0, picture ? picture->Height() : 0,
                      mode == AdjustmentMode::Continuous ? kFrameHeight : kBandHeight);
}

const Dib* Project::Adjust(const Adjustments& requested, bool* remadeOut) {
    if (remadeOut) {
        *remadeOut = false;
    }
    if (!HasPicture()) {
        return nullptr;
    }
    ScalePlan plan = PlanScale(requested.scale);
    Adjustments wanted = {plan.scale, requested.brightness, requested.contrast};
    if (work_ && wanted == applied_) {
        return work_.get();
    }
    std::unique_ptr<Dib> work;
    if (oneScale_) {
        // Opened at this one scale: only brightness and contrast can still change, and only
        // from their neutral values, since the work picture is changed in place.
        if (wanted.scale != applied_.scale || applied_.brightness != 0 || applied_.contrast != 0) {
            return nullptr;
        }
        work = std::move(work_);
    } else {
        work = DibScaleDown(picture_.get(), plan.width, plan.height);
    }
    if (!work) {
        work_.reset();
        return nullptr;
    }
    if (wanted.brightness != 0) {
        DibAdjustBrightness(work.get(), wanted.brightness);
    }
    if (wanted.contrast != 0) {
        DibAdjustContrast(work.get(), wanted.contrast);
    }
    work_ = std::move(work);
    applied_ = wanted;
    workSerial_++;
    if (remadeOut) {
        *remadeOut = true;
    }
    return work_.get();
}

const SkinSet* Project::Make(const SkinOptions& asked, const char* optionPrefix,
                             std::string* messageOut, const UnusablePieceReport& report) {
    const SkinOptions options = asked.suggest ? SuggestDesign(*this, asked) : asked;
    const Dib* work = Adjust({options.scale, options.brightness, options.contrast});
    if (!work) {
        *messageOut = kMsgLoadFailed;
        return nullptr;
    }
    SkinInputs in;
    if (!SetSkinInputs(options, work, optionPrefix, &in, messageOut)) {
        return nullptr;
    }
    if (report) {
        // A piece is loaded once per placement; each unusable file is told once.
        auto told = std::make_shared<std::set<std::string>>();
        in.pieces.ReportUnusable([report, told](const std::string& path, const std::string& why) {
            if (told->insert(path).second) {
                report(path, why);
            }
        });
    }
    std::unique_ptr<SkinSet> skin = MakeSkin(in);
    if (!skin) {
        *messageOut = "out of memory";
        return nullptr;
    }
    skin_ = std::move(skin);
    madeWith_ = options;
    return skin_.get();
}

std::vector<SkinFile> Project::SkinFiles() const {
    if (!skin_) {
        return {};
    }
    return SkinFileSet(*skin_, madeWith_.playlist, madeWith_.project.genBalance);
}

std::vector<uint8_t> Project::Archive() const {
    if (!skin_) {
        return {};
    }
    return EncodeSkinArchive(*skin_, madeWith_.playlist, madeWith_.project.genBalance);
}

int LeastScale(int32_t width, int32_t height, int32_t rows) {
    if (width <= 0 || height <= 0) {
        return -1;
    }
    // Scaled sizes are cut to whole pixels, so s x width / 100 >= band needs the quotient
    // rounded up.
    auto atLeast = [](int32_t pixels, int32_t of) {
        return int((int64_t(100) * pixels + of - 1) / of);
    };
    int scale = std::max(atLeast(kBandWidth, width), atLeast(rows, height));
    return scale <= 100 ? scale : -1;
}

std::unique_ptr<Dib> StackedPreview(const SkinSet& skin, const std::array<int, 3>& order) {
    auto stacked = DibCreate(kBandWidth, kFrameHeight, 24);
    const Dib* previews[3] = {skin.mainPreview.get(), skin.equalizerPreview.get(),
                              skin.playlistPreview.get()};
    for (int band = 0; band < 3; band++) {
        DibCopyRect(stacked.get(), 0, kBandHeight * order[size_t(band)], kBandWidth, kBandHeight,
                    previews[band], 0, 0);
    }
    return stacked;
}
