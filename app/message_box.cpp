#include "app/message_box.h"

#include <algorithm>
#include <string>

#include "app/panel_kit.h"

namespace {

MessageBoxHook gHook = nullptr;

int LineWidth(HDC dc, const std::string& line) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, line.c_str(), int(line.size()), &size);
    return size.cx;
}

// A path too wide for the box loses characters from its middle, as PathCompactPathEx
// shortens it: the start (the drive) and the end (the name the user typed) stay readable.
std::string ShortenInTheMiddle(HDC dc, const std::string& line, int limit) {
    for (size_t keep = line.size(); keep-- > 0;) {
        size_t head = keep / 3;
        std::string shortened =
            line.substr(0, head) + "..." + line.substr(line.size() - (keep - head));
        if (LineWidth(dc, shortened) <= limit) {
            return shortened;
        }
    }
    return "...";
}

// Message boxes do not break a line without spaces, so a long path would make the box wider
// than the screen: every line holding a path is kept within half the work area's width.
std::string FitToScreen(const char* text) {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int limit = std::min(Px(600), int(work.right - work.left) / 2);
    HFONT font = CreateFontIndirectA(&metrics.lfMessageFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    std::string fitted;
    std::string all = text;
    for (size_t start = 0; start <= all.size();) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos) {
            end = all.size();
        }
        std::string line = all.substr(start, end - start);
        if (line.find('\\') != std::string::npos && LineWidth(dc, line) > limit) {
            line = ShortenInTheMiddle(dc, line, limit);
        }
        fitted += line;
        if (end < all.size()) {
            fitted += '\n';
        }
        start = end + 1;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return fitted;
}

} // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
    gHook = hook;
}

int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) {
    if (gHook) {
        return gHook(owner, text, caption, type);
    }
    return MessageBoxA(owner, text ? FitToScreen(text).c_str() : nullptr, caption, type);
}

int ShowWarning(HWND owner, const char* text, UINT buttons) {
    return ShowMessage(owner, text, kWarningCaption, buttons | MB_ICONEXCLAMATION);
}
