#include "image/photo.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Area averaging from a picture of one size to a smaller or equal one, fed a row at a time.
// Every source pixel is spread over the one or two target pixels its area overlaps, in
// proportion to the overlap, so the target is the exact mean of the area it covers. Two
// accumulator rows are all it keeps.
class AreaReducer {
  public:
    AreaReducer(int32_t fromWidth, int32_t fromHeight, Dib* to)
        : fromWidth_(fromWidth), fromHeight_(fromHeight), to_(to), width_(to->Width()),
          height_(to->Height()), spread_(size_t(fromWidth)), line_(3 * size_t(width_) + 3),
          current_(line_.size()), next_(line_.size()) {
        // Source column i covers [i w, (i + 1) w) and target column o covers [o W, (o + 1) W)
        // in units of 1/(w W) of a picture width.
        const int64_t w = width_;
        const int64_t big = fromWidth_;
        for (int64_t i = 0; i < big; i++) {
            int64_t o = i * w / big;
            int64_t boundary = (o + 1) * big;
            int64_t inFirst = std::min((i + 1) * w, boundary) - i * w;
            spread_[size_t(i)] = {uint32_t(o), float(double(inFirst) / double(big)),
                                  float(double(w - inFirst) / double(big))};
        }
    }

    void Row(const uint8_t* bgr) {
        std::fill(line_.begin(), line_.end(), 0.0f);
        float* line = line_.data();
        for (int32_t i = 0; i < fromWidth_; i++) {
            const Spread& s = spread_[size_t(i)];
            float* out = line + 3 * size_t(s.target);
            for (int c = 0; c < 3; c++) {
                float v = bgr[3 * size_t(i) + size_t(c)];
                out[c] += v * s.first;
                out[3 + c] += v * s.second; // the spare pixel at the end takes a zero share
            }
        }
        const int64_t h = height_;
        const int64_t big = fromHeight_;
        const int64_t i = row_++;
        int64_t boundary = (int64_t(target_) + 1) * big;
        int64_t inFirst = std::min((i + 1) * h, boundary) - i * h;
        float first = float(double(inFirst) / double(big));
        float second = float(double(h - inFirst) / double(big));
        const size_t count = 3 * size_t(width_);
        for (size_t k = 0; k < count; k++) {
            current_[k] += line[k] * first;
            next_[k] += line[k] * second;
        }
        if ((i + 1) * h >= boundary) {
            Emit();
        }
    }

  private:
    struct Spread {
        uint32_t target;
        float first;  // share of target
        float second; // share of target + 1
    };

    void Emit() {
        if (target_ < height_) {
            uint8_t* out = to_->Row(target_);
            for (size_t k = 0; k < 3 * size_t(width_); k++) {
                out[k] = uint8_t(std::min(255.0f, current_[k] + 0.5f));
            }
        }
        target_++;
        current_.swap(next_);
        std::fill(next_.begin(), next_.end(), 0.0f);
    }

    int32_t fromWidth_;
    int32_t fromHeight_;
    Dib* to_;
    int32_t width_;
    int32_t height_;
    std::vector<Spread> spread_;
    std::vector<float> line_;
    std::vector<float> current_;
    std::vector<float> next_;
    int64_t row_ = 0;
    int32_t target_ = 0;
};

// Takes the decoder's rows into a picture of the planned size, reducing on the way when the
// rows are larger.
class ReducingSink : public PhotoSink {
  public:
    ReducingSink(PhotoSize max, PhotoSize min, bool transposed, DecodedPhoto* result)
        : max_(max), min_(min), transposed_(transposed), result_(result) {}

    PhotoSize Plan(int32_t width, int32_t height) override {
        if (width <= 0 || height <= 0) {
            return {};
        }
        PhotoSize shown = transposed_ ? PhotoSize{height, width} : PhotoSize{width, height};
        result_->width = shown.width;
        result_->height = shown.height;
        if (uint64_t(width) * uint64_t(height) > kMaxPhotoPixels) {
            result_->tooLarge = true;
            return {};
        }
        PhotoSize fit = FitWithin(shown.width, shown.height, max_);
        if (fit.width < min_.width || fit.height < min_.height) {
            result_->tooSmall = true;
            return {};
        }
        planned_ = transposed_ ? PhotoSize{fit.height, fit.width} : fit;
        return planned_;
    }

    bool Begin(int32_t width, int32_t height) override {
        if (width < planned_.width || height < planned_.height || planned_.width <= 0) {
            return false;
        }
        picture_ = DibCreate(planned_.width, planned_.height, 24);
        if (!picture_) {
            return false;
        }
        if (width != planned_.width || height != planned_.height) {
            reducer_ = std::make_unique<AreaReducer>(width, height, picture_.get());
        }
        rowsLeft_ = height;
        return true;
    }

    void Row(const uint8_t* bgr) override {
        if (rowsLeft_ <= 0) {
            return;
        }
        if (reducer_) {
            reducer_->Row(bgr);
        } else {
            std::memcpy(picture_->Row(picture_->Height() - rowsLeft_), bgr,
                        3 * size_t(picture_->Width()));
        }
        rowsLeft_--;
    }

    // The picture once every row has arrived.
    std::unique_ptr<Dib> Take() { return rowsLeft_ == 0 ? std::move(picture_) : nullptr; }

  private:
    PhotoSize max_;
    PhotoSize min_;
    bool transposed_;
    DecodedPhoto* result_;
    PhotoSize planned_;
    std::unique_ptr<Dib> picture_;
    std::unique_ptr<AreaReducer> reducer_;
    int32_t rowsLeft_ = -1;
};

// The picture as a photo viewer shows it, for an EXIF orientation 2 to 8. Orientation 6 is
// stored turned a quarter to the left, so it is shown turned a quarter to the right.
std::unique_ptr<Dib> Orient(const Dib& stored, int orientation) {
    const int32_t sw = stored.Width();
    const int32_t sh = stored.Height();
    const bool transposed = orientation >= 5;
    auto shown = DibCreate(transposed ? sh : sw, transposed ? sw : sh, 24);
    for (int32_t y = 0; y < shown->Height(); y++) {
        uint8_t* out = shown->Row(y);
        for (int32_t x = 0; x < shown->Width(); x++) {
            int32_t sx = x;
            int32_t sy = y;
            switch (orientation) {
            case 2:
                sx = sw - 1 - x;
                break;
            case 3:
                sx = sw - 1 - x;
                sy = sh - 1 - y;
                break;
            case 4:
                sy = sh - 1 - y;
                break;
            case 5:
                sx = y;
                sy = x;
                break;
            case 6:
                sx = y;
                sy = sh - 1 - x;
                break;
            case 7:
                sx = sw - 1 - y;
                sy = sh - 1 - x;
                break;
            case 8:
                sx = sw - 1 - y;
                sy = x;
                break;
            }
            std::memcpy(out + 3 * size_t(x), stored.Row(sy) + 3 * size_t(sx), 3);
        }
    }
    return shown;
}

} // namespace

PhotoKind PhotoKindOf(std::span<const uint8_t> file) {
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (file.size() >= 8 && std::memcmp(file.data(), kPng, 8) == 0) {
        return PhotoKind::Png;
    }
    if (file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF) {
        return PhotoKind::Jpeg;
    }
    return PhotoKind::None;
}

PhotoSize FitWithin(int32_t width, int32_t height, PhotoSize max) {
    if (width <= max.width && height <= max.height) {
        return {width, height};
    }
    // The side that overflows more sets the factor; the other is rounded to the nearest pixel.
    if (int64_t(width) * max.height >= int64_t(height) * max.width) {
        int32_t h = int32_t(std::floor(double(height) * max.width / width + 0.5));
        return {max.width, std::max(1, h)};
    }
    int32_t w = int32_t(std::floor(double(width) * max.height / height + 0.5));
    return {std::max(1, w), max.height};
}

PhotoPlan PlanPhoto(std::span<const uint8_t> file, PhotoSize max, PhotoSize min) {
    PhotoPlan plan;
    plan.kind = PhotoKindOf(file);
    PhotoSize stored;
    if (plan.kind == PhotoKind::None || !PhotoHeaderSize(file, &stored) || stored.width <= 0 ||
        stored.height <= 0) {
        return plan;
    }
    plan.headerRead = true;
    int orientation = plan.kind == PhotoKind::Jpeg ? JpegOrientation(file) : PngOrientation(file);
    plan.width = orientation >= 5 ? stored.height : stored.width;
    plan.height = orientation >= 5 ? stored.width : stored.height;
    plan.tooLarge = uint64_t(stored.width) * uint64_t(stored.height) > kMaxPhotoPixels;
    plan.fitted = FitWithin(plan.width, plan.height, max);
    plan.tooSmall = plan.fitted.width < min.width || plan.fitted.height < min.height;
    return plan;
}

DecodedPhoto DecodePhoto(std::span<const uint8_t> file, PhotoSize max, PhotoSize min) {
    DecodedPhoto result;
    PhotoKind kind = PhotoKindOf(file);
    if (kind == PhotoKind::None) {
        result.reason = "not a PNG or JPEG file";
        return result;
    }
    int orientation = kind == PhotoKind::Jpeg ? JpegOrientation(file) : PngOrientation(file);
    ReducingSink sink(max, min, orientation >= 5, &result);
    std::string reason = kind == PhotoKind::Png ? DecodePng(file, sink) : DecodeJpeg(file, sink);
    if (result.tooLarge || result.tooSmall) {
        return result;
    }
    std::unique_ptr<Dib> stored = sink.Take();
    if (!reason.empty() || !stored) {
        result.reason = reason.empty() ? "the picture's rows were not all decoded" : reason;
        return result;
    }
    result.picture = orientation > 1 ? Orient(*stored, orientation) : std::move(stored);
    return result;
}
