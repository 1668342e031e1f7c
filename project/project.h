#pragma once

// The one flow under the three faces (the command line, the desktop program, the page): the
// opened picture, the work picture made from it by scale, brightness and contrast, and the
// skin made from the work picture with a set of options. The faces put their own words and
// controls on what this answers; none of them scales, adjusts or makes a skin itself.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "compose/skin.h"
#include "image/adjust.h"
#include "image/picture.h"
#include "output/skin_writer.h"
#include "project/options.h"

// The adjustments a work picture is made with, applied in this order.
struct Adjustments {
    int scale = 100;
    int brightness = 0;
    int contrast = 0;
    bool operator==(const Adjustments&) const = default;
};

// A template piece that could not be used (its path and why); the built-in piece stands in.
using UnusablePieceReport = std::function<void(const std::string& path, const std::string& why)>;

class Project {
  public:
    // Opening. An accepted picture replaces the project's picture, and its work picture is
    // the picture itself, unadjusted; any other outcome leaves the project as it was. The
    // outcome comes back without its picture, which the project now holds.
    OpenedPicture OpenFile(const std::string& path, const ConvertQuestion& askConvert);
    OpenedPicture OpenBytes(std::span<const uint8_t> file, const ConvertQuestion& askConvert);
    // A picture the caller decoded: width x height pixels of red, green, blue, alpha, top row
    // first; alpha is ignored. The size checks of the file road apply.
    OpenedPicture OpenRgba(const uint8_t* rgba, int32_t width, int32_t height);
    // For a run that needs the picture at one scale only: an uncompressed 24-bit BMP is
    // reduced while it is read, never held at full size. plan gets the plan for the picture
    // as stored. Only that scale can be adjusted afterwards.
    // scaleFor gets the picture's stored size and gives the scale.
    OpenedPicture OpenFileAtScale(const std::string& path, const ConvertQuestion& askConvert,
                                  const std::function<int(int32_t, int32_t)>& scaleFor,
                                  ScalePlan* plan);
    // Drops the picture, the work picture and the skin.
    void Close();

    bool HasPicture() const { return picture_ || oneScale_; }
    // The picture as opened (nullptr when opened at one scale).
    const Dib* Picture() const { return picture_.get(); }
    // The scale plan for the picture as opened: what Adjust would make of this scale.
    ScalePlan PlanScale(int scale) const;
    // The least scale at which this mode's bands fit the picture: the least that keeps it as
    // large as one band, and in Continuous mode as tall as the frame. -1 when even 100 is too
    // small (Continuous on a picture shorter than the frame).
    int SmallestScale(AdjustmentMode mode) const;

    // The work picture for these adjustments, made again only when they or the picture
    // changed (remadeOut, may be null, says whether it was); nullptr without a picture, or
    // when the memory for it is missing. Values outside -100..100 change nothing.
    const Dib* Adjust(const Adjustments& adjustments, bool* remadeOut = nullptr);
    const Dib* Work() const { return work_.get(); }
    // Counts work pictures, so a face redraws only a new one; 0 without one.
    int WorkSerial() const { return work_ ? workSerial_ : 0; }

    // Makes the skin of the work picture for the options' adjustments, placed as they say;
    // with their suggest switch, what they do not give is suggested first (suggest.h), and
    // MadeWith() tells what was chosen. nullptr with messageOut set (the command line's words,
    // optionPrefix before an option's name) when a band would leave the picture, Continuous does
    // not fit, or there is no picture; the skin made before then stays.
    const SkinSet* Make(const SkinOptions& options, const char* optionPrefix,
                        std::string* messageOut, const UnusablePieceReport& report = nullptr);
    const SkinSet* Skin() const { return skin_.get(); }
    // The options the last skin was made with, suggestions filled in.
    const SkinOptions& MadeWith() const { return madeWith_; }
    // The files of the skin made last, as its folder and archive hold them; the archive
    // (empty when there is no skin or it could not be packed).
    std::vector<SkinFile> SkinFiles() const;
    std::vector<uint8_t> Archive() const;

  private:
    OpenedPicture Take(OpenedPicture opened);

    std::unique_ptr<Dib> picture_; // as opened, 24-bit; null when opened at one scale
    bool oneScale_ = false;        // the work picture is all there is, at scale_
    std::unique_ptr<Dib> work_;
    Adjustments applied_;
    int workSerial_ = 0;
    std::unique_ptr<SkinSet> skin_;
    SkinOptions madeWith_;
};

// The least scale, 0 to 100, at which a width x height picture keeps a band's width and
// `rows` rows; -1 when even 100 does not.
int LeastScale(int32_t width, int32_t height, int32_t rows);

// The three previews stacked in their band order, as the desktop program shows them.
std::unique_ptr<Dib> StackedPreview(const SkinSet& skin, const std::array<int, 3>& order);
