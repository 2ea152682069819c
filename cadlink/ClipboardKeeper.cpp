#include "cadlink/ClipboardKeeper.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "cadlink/AcadLink.h"
#include "cadlink/SilentAbort.h"

namespace swivex {

namespace {

TClipboardKeeper* Innermost = nullptr;

constexpr int kRestoreTries = 10;  // another program may hold the clipboard open for a moment
constexpr DWORD kRestoreRetryMs = 20;

}  // namespace

TClipboardKeeper::TClipboardKeeper(std::wstring copierExe) : Outer_(Innermost), CopierExe_(std::move(copierExe)) {
  Innermost = this;
}

TClipboardKeeper::~TClipboardKeeper() {
  Restore();
  Innermost = Outer_;
}

TClipboardKeeper* ActiveClipboardKeeper() { return Innermost; }

bool TClipboardKeeper::Save() {
  TClipboardSave save;
  if (!SaveClipboardWithinBudget(AcadClipboardOwner(), CopierExe_, save)) return false;
  Items_ = std::move(save.Items);
  for (auto& name : save.NotKeptUtf8)
    if (std::find(NotKept_.begin(), NotKept_.end(), name) == NotKept_.end()) NotKept_.push_back(std::move(name));
  Saved_ = true;
  Sequence_ = GetClipboardSequenceNumber();
  return true;
}

std::string TClipboardKeeper::NotKeptNotice() const {
  if (NotKept_.empty()) return {};
  std::string names;
  for (const auto& name : NotKept_) names += (names.empty() ? "" : "、") + name;
  return "クリップボードの次の形式は時間内に読めないか大きすぎるため、元に戻せません: " + names;
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
