#include "cadlink/ClipboardKeeper.h"

#include <cstring>

#include "cadlink/AcadLink.h"
#include "cadlink/SilentAbort.h"

namespace swivex {

namespace {

TClipboardKeeper* Innermost = nullptr;

constexpr int kRestoreTries = 10;  // another program may hold the clipboard open for a moment
constexpr DWORD kRestoreRetryMs = 20;

}  // namespace

bool IsMemoryFormat(UINT format) {
  switch (format) {
    case CF_BITMAP:        // made again by the system from a kept DIB
    case CF_METAFILEPICT:  // made again by the system from a kept enhanced metafile
    case CF_PALETTE:
    case CF_ENHMETAFILE:   // a GDI handle, kept by its bits
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
      return false;
    default:
      return !(format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) &&
             !(format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
  }
}

TClipboardKeeper::TClipboardKeeper() : Outer_(Innermost) { Innermost = this; }

TClipboardKeeper::~TClipboardKeeper() {
  Restore();
  Innermost = Outer_;
}

TClipboardKeeper* ActiveClipboardKeeper() { return Innermost; }

bool TClipboardKeeper::Save() {
  TClipboard clipboard(AcadClipboardOwner());
  if (!clipboard.IsOpen()) return false;
  std::vector<TClipboardItem> items;
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
    if (format == CF_ENHMETAFILE) {
      const auto metafile = static_cast<HENHMETAFILE>(GetClipboardData(format));
      const UINT size = metafile ? GetEnhMetaFileBits(metafile, 0, nullptr) : 0;
      std::vector<unsigned char> bits(size);
      if (size && GetEnhMetaFileBits(metafile, size, bits.data()) == size) items.push_back({format, std::move(bits)});
      continue;
    }
    if (!IsMemoryFormat(format)) continue;
    const HANDLE data = GetClipboardData(format);  // a delayed format is rendered now
    if (!data) continue;
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(data));
    if (!bytes) continue;
    items.push_back({format, std::vector<unsigned char>(bytes, bytes + GlobalSize(data))});
    GlobalUnlock(data);
  }
  Items_ = std::move(items);
  Saved_ = true;
  Sequence_ = GetClipboardSequenceNumber();
  return true;
}

void TClipboardKeeper::BeforeOwnWrite() {
  if (Saved_ && GetClipboardSequenceNumber() == Sequence_) return;
  if (!Save()) throw TSilentAbort();
}

void TClipboardKeeper::AfterOwnWrite() {
  Written_ = true;
  Sequence_ = GetClipboardSequenceNumber();
}

bool TClipboardKeeper::Restore() noexcept {
  if (!Written_ || GetClipboardSequenceNumber() != Sequence_) return false;
  Written_ = false;
  for (int tries = 0; tries < kRestoreTries; ++tries) {
    if (tries > 0) Sleep(kRestoreRetryMs);
    TClipboard clipboard(AcadClipboardOwner());
    if (!clipboard.IsOpen()) continue;
    if (GetClipboardSequenceNumber() != Sequence_ || !EmptyClipboard()) return false;  // someone was quicker
    for (const TClipboardItem& item : Items_) {
      if (item.Format == CF_ENHMETAFILE) {
        const HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(item.Bytes.size()), item.Bytes.data());
        if (metafile && !SetClipboardData(CF_ENHMETAFILE, metafile)) DeleteEnhMetaFile(metafile);
        continue;
      }
      TGlobalMemory memory(item.Bytes.size());
      void* p = memory.Get() ? GlobalLock(memory.Get()) : nullptr;
      if (!p) continue;
      if (!item.Bytes.empty()) std::memcpy(p, item.Bytes.data(), item.Bytes.size());
      GlobalUnlock(memory.Get());
      if (SetClipboardData(item.Format, memory.Get())) memory.Release();
    }
    return true;
  }
  return false;
}

}  // namespace swivex
