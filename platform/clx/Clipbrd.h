// Clipbrd: the clipboard, through the dialog service (Dialogs.h): the
// system clipboard in the program, an in-memory one under the scripted
// service of the tests.
#pragma once

#include "rtl/System.h"

class TClipboard {
public:
    AnsiString AsText() const;
    void SetAsText(const AnsiString& Value);
    // Whether the clipboard holds data of the MIME type ("text/plain").
    bool HasFormat(const AnsiString& MimeType) const;
    void Clear();
};

TClipboard* Clipboard();
