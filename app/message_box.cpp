#include "app/message_box.h"

#include "image/messages.h"

static MessageBoxHook gHook = nullptr;

void SetMessageBoxHook(MessageBoxHook hook) { gHook = hook; }

int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) {
    if (gHook) {
        return gHook(owner, text, caption, type);
    }
    return MessageBoxA(owner, text, caption, type);
}

int ShowWarning(HWND owner, const char* text, UINT buttons) {
    return ShowMessage(owner, text, kWarningCaption, buttons | MB_ICONEXCLAMATION);
}
