#include "clx/Clipbrd.h"

#include "clx/Dialogs.h"

AnsiString TClipboard::AsText() const {
    return DialogService().ClipboardText();
}

void TClipboard::SetAsText(const AnsiString& Value) {
    DialogService().SetClipboardText(Value);
}

bool TClipboard::HasFormat(const AnsiString& MimeType) const {
    return DialogService().ClipboardHasFormat(MimeType);
}

void TClipboard::Clear() {
    DialogService().ClearClipboard();
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}
