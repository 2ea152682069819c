// Keeps the user's clipboard across a capture. Reading AutoCAD's history needs the clipboard; a keeper saves
// what the user had on it before the capture's first history copy and puts it back when the capture ends, unless
// another program has written to the clipboard since the history copy last did. Every format whose data is
// global memory is kept (text in every form, DIB and DIBV5, HTML, file lists, registered formats), and an
// enhanced metafile by its bits; the system makes CF_BITMAP and CF_METAFILEPICT again from those. Formats whose
// data is another GDI handle or nothing at all (CF_OWNERDISPLAY, the display formats CF_DSP*, the private formats
// CF_PRIVATEFIRST..CF_PRIVATELAST and CF_GDIOBJFIRST..CF_GDIOBJLAST) cannot be kept. Saving keeps to a time and
// a memory budget (ClipboardCopier.h); what does not fit is left out and named for the balloon.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "cadlink/ClipboardCopier.h"

namespace swivex {

// Global memory given to the clipboard, freed unless the clipboard took it.
class TGlobalMemory {
 public:
  explicit TGlobalMemory(std::size_t bytes) : Handle_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes)) {}
  ~TGlobalMemory() {
    if (Handle_) GlobalFree(Handle_);
  }
  TGlobalMemory(const TGlobalMemory&) = delete;
  TGlobalMemory& operator=(const TGlobalMemory&) = delete;
  HGLOBAL Get() const { return Handle_; }
  HGLOBAL Release() {
    HGLOBAL h = Handle_;
    Handle_ = nullptr;
    return h;
  }

 private:
  HGLOBAL Handle_;
};

// One capture's keeper: while it lives, the history copy asks it to save before it writes to the clipboard.
// Keepers nest; the innermost one is asked.
class TClipboardKeeper {
 public:
  // copierExe: the tool's own exe, which reads a clipboard of another program in a child process (see
  // RunClipboardCopierIfAsked); empty: read in this process.
  explicit TClipboardKeeper(std::wstring copierExe = {});
  ~TClipboardKeeper();  // Restore()
  TClipboardKeeper(const TClipboardKeeper&) = delete;
  TClipboardKeeper& operator=(const TClipboardKeeper&) = delete;

  // Copies every format it can keep now on the clipboard; false when the clipboard cannot be opened.
  bool Save();
  // Puts the saved formats back, once, when the history copy has written since the save and nobody else has
  // since; true when it did.
  bool Restore() noexcept;
  // Around each of the history copy's writes: the first write, or one after another program has written, saves
  // first (raising TSilentAbort when the clipboard cannot be opened, before anything is changed).
  void BeforeOwnWrite();
  void AfterOwnWrite();
  const std::vector<TClipboardItem>& Items() const { return Items_; }
  // The balloon's text (UTF-8) naming the formats that could not be kept; empty when every one was.
  std::string NotKeptNotice() const;

 private:
  TClipboardKeeper* Outer_;
  std::wstring CopierExe_;
  std::vector<TClipboardItem> Items_;
  std::vector<std::string> NotKept_;
  bool Saved_ = false;
  bool Written_ = false;
  DWORD Sequence_ = 0;  // the clipboard's sequence number after the save or after our last write
};

// The innermost living keeper, or null.
TClipboardKeeper* ActiveClipboardKeeper();

}  // namespace swivex
