// Reading the user's clipboard within a time and memory budget. A format that its owner renders on request
// (Excel, browsers) is rendered inside GetClipboardData, with no time limit, and a thread stuck there cannot be
// ended safely (it keeps the clipboard open). So a clipboard owned by another program is read in a short-lived
// child process of the tool's own exe, which is ended when it takes too long; what it sent by then is kept.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace swivex {

struct TClipboardItem {
  UINT Format = 0;
  std::vector<unsigned char> Bytes;
};

// How long saving the clipboard may take in all, how long one format may take, and how many bytes it may keep.
inline constexpr DWORD kClipboardSaveBudgetMs = 1000;
inline constexpr DWORD kClipboardFormatBudgetMs = 400;
inline constexpr std::size_t kClipboardMemoryBudget = std::size_t{64} << 20;

// What a save got: the formats kept, and the names of those that could not be kept within the budgets.
struct TClipboardSave {
  std::vector<TClipboardItem> Items;
  std::vector<std::string> NotKeptUtf8;
};

// Whether a clipboard format's data is global memory that can be copied byte for byte (CF_ENHMETAFILE is not,
// though it is kept).
bool IsMemoryFormat(UINT format);
// Whether a keeper keeps the format at all: memory formats and enhanced metafiles.
bool IsKeptFormat(UINT format);
// A format's name for the balloon: "CF_TEXT", "HTML Format", …
std::string ClipboardFormatNameUtf8(UINT format);

// Opens the clipboard, trying again for a moment while another program (a clipboard manager) holds it.
bool OpenClipboardRetrying(HWND owner);

// The clipboard, open for one step and closed whatever happens; opening tries again for a moment while another
// program holds it.
class TClipboard {
 public:
  explicit TClipboard(HWND owner) : Open_(OpenClipboardRetrying(owner)) {}
  ~TClipboard() {
    if (Open_) CloseClipboard();
  }
  TClipboard(const TClipboard&) = delete;
  TClipboard& operator=(const TClipboard&) = delete;
  bool IsOpen() const { return Open_; }

 private:
  bool Open_;
};

// Reads every kept format now on the clipboard within the budgets. copierExe: the tool's exe, run as the child
// reader when another process owns the clipboard; empty: read in this process, leaving out every format of an
// owner that does not answer. False when the clipboard could not be opened.
bool SaveClipboardWithinBudget(HWND owner, const std::wstring& copierExe, TClipboardSave& save);

// The child's side: when the process was started as the clipboard reader, reads the clipboard to its standard
// output and returns true (the caller then ends the process); otherwise returns false at once.
bool RunClipboardCopierIfAsked();

}  // namespace swivex
