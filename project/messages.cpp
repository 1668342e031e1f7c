#include "project/messages.h"

#include <cstdio>

std::string PictureReducedNotice(const OpenedPicture& opened) {
    if (!opened.reduced) {
        return {};
    }
    char text[160];
    std::snprintf(text, sizeof text, kMsgPhotoReduced, opened.width, opened.height,
                  opened.fittedWidth, opened.fittedHeight);
    return text;
}

const char* PictureOutcomeMessage(PictureOutcome outcome) {
    switch (outcome) {
    case PictureOutcome::ReadFailed:
        return kMsgLoadFailed;
    case PictureOutcome::TooSmall:
        return kMsgTooSmall;
    case PictureOutcome::TooLarge:
        return kMsgTooLarge;
    case PictureOutcome::TooManyPixels:
        return kMsgTooManyPixels;
    case PictureOutcome::Accepted:
    case PictureOutcome::Declined:
        break;
    }
    return nullptr;
}
