// Other programs on a busy desktop, as the end-to-end tests need them beside the host: a clipboard owner that
// renders a format only when asked (as Excel or a browser does), answering or not, and a clipboard manager that
// opens the clipboard right after every change (as Windows' clipboard history or Ditto do).
#pragma once

#include <string>

namespace swivex {

// Puts TEXT on the clipboard as CF_TEXT and a registered format "Swivex Delayed" rendered on request. hung: the
// program then stops answering any message (its thread sleeps for good), so the render request is never answered.
// Writes the ready file ("pid N") once the clipboard is set. Ends when it is closed or killed.
int OwnClipboard(bool hung, const std::wstring& text, const std::string& ready);

// After every clipboard change, opens the clipboard, reads its text and keeps it open holdMs before closing it.
int ManageClipboard(int holdMs, const std::string& ready);

}  // namespace swivex
