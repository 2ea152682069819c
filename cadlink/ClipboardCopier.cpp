#include "cadlink/ClipboardCopier.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "win32/CodePage.h"

namespace swivex {

namespace {

constexpr wchar_t kCopierSwitch[] = L"--swivex-clipboard-copier";
constexpr int kOpenTries = 20;  // a clipboard manager holds the clipboard for milliseconds after each change
constexpr DWORD kOpenRetryMs = 10;
constexpr std::uint32_t kEndOfRecords = 0xFFFFFFFF;
constexpr std::uint64_t kNotKept = UINT64_MAX;
constexpr std::uint64_t kNoData = UINT64_MAX - 1;

// One record from the child for each format in turn: its place in the enumeration, the format and its bytes
// (kNotKept: too large for what is left of the memory budget; kNoData: the clipboard gave none).
struct TRecordHeader {
  std::uint32_t Index;
  std::uint32_t Format;
  std::uint64_t Size;
};

// A kernel handle closed when it goes out of scope.
class THandle {
 public:
  explicit THandle(HANDLE h = nullptr) : H_(h) {}
  ~THandle() { Reset(); }
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;
  HANDLE Get() const { return H_; }
  HANDLE* Out() { return &H_; }
  void Reset() {
    if (H_ && H_ != INVALID_HANDLE_VALUE) CloseHandle(H_);
    H_ = nullptr;
  }

 private:
  HANDLE H_;
};

// The bytes of one format, read now; false when there are none. A delayed format is rendered by its owner here.
bool ReadFormat(UINT format, std::vector<unsigned char>& bytes) {
  const HANDLE data = GetClipboardData(format);
  if (!data) return false;
  if (format == CF_ENHMETAFILE) {
    const auto metafile = static_cast<HENHMETAFILE>(data);
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    bytes.resize(size);
    return size && GetEnhMetaFileBits(metafile, size, bytes.data()) == size;
  }
  const auto* p = static_cast<const unsigned char*>(GlobalLock(data));
  if (!p) return false;
  bytes.assign(p, p + GlobalSize(data));
  GlobalUnlock(data);
  return true;
}

std::vector<UINT> KeptFormatsNow() {
  std::vector<UINT> formats;
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
    if (IsKeptFormat(format)) formats.push_back(format);
  return formats;
}

// Paints the calling thread's windows and answers what is sent to them while it waits for up to ms.
void WaitPainting(HANDLE process, DWORD ms) {
  if (MsgWaitForMultipleObjects(1, &process, FALSE, ms, QS_PAINT | QS_SENDMESSAGE) != WAIT_OBJECT_0 + 1) return;
  MSG msg;
  for (int n = 0; n < 100 && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++n) DispatchMessageW(&msg);
}

// The child's records, taken apart as they arrive.
struct TRecordReader {
  std::vector<unsigned char> Pending;
  std::size_t NextIndex = 0;  // the enumeration index after the last record
  bool Finished = false;

  void Take(const unsigned char* data, std::size_t n, TClipboardSave& save) {
    Pending.insert(Pending.end(), data, data + n);
    std::size_t at = 0;
    while (Pending.size() - at >= sizeof(TRecordHeader)) {
      TRecordHeader header;
      std::memcpy(&header, Pending.data() + at, sizeof header);
      if (header.Index == kEndOfRecords) {
        Finished = true;
        at += sizeof header;
        break;
      }
      const std::uint64_t size = header.Size == kNotKept || header.Size == kNoData ? 0 : header.Size;
      if (Pending.size() - at - sizeof header < size) break;
      const unsigned char* bytes = Pending.data() + at + sizeof header;
      if (header.Size == kNotKept) save.NotKeptUtf8.push_back(ClipboardFormatNameUtf8(header.Format));
      else if (header.Size != kNoData) save.Items.push_back({header.Format, std::vector<unsigned char>(bytes, bytes + size)});
      at += sizeof header + static_cast<std::size_t>(size);
      NextIndex = std::max<std::size_t>(NextIndex, header.Index + 1);
    }
    Pending.erase(Pending.begin(), Pending.begin() + static_cast<std::ptrdiff_t>(at));
  }
};

// One child reading from enumeration index `first`, until it is done, stalls on a format longer than the
// format budget, or the deadline passes. Returns false when it could not be started.
bool RunCopierOnce(const std::wstring& exe, std::size_t first, std::size_t memoryLeft, ULONGLONG deadline,
                   TClipboardSave& save, TRecordReader& reader) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  THandle readEnd, writeEnd;
  if (!CreatePipe(readEnd.Out(), writeEnd.Out(), &inheritable, 0)) return false;
  SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
  std::wstring line = L"\"" + exe + L"\" " + kCopierSwitch + L" " + std::to_wstring(first) + L" " +
                      std::to_wstring(memoryLeft);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd.Get();
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return false;
  THandle process(pi.hProcess), thread(pi.hThread);
  writeEnd.Reset();  // the child's copy alone keeps the pipe open
  ULONGLONG lastProgress = GetTickCount64();
  std::vector<unsigned char> buffer(1 << 16);
  for (;;) {
    DWORD available = 0;
    const bool pipeOpen = PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr) != 0;
    if (available > 0) {
      DWORD got = 0;
      if (ReadFile(readEnd.Get(), buffer.data(), std::min<DWORD>(available, static_cast<DWORD>(buffer.size())), &got,
                   nullptr) && got > 0) {
        const std::size_t before = reader.NextIndex;
        reader.Take(buffer.data(), got, save);
        if (reader.NextIndex != before) lastProgress = GetTickCount64();
        if (reader.Finished) break;
        continue;
      }
    }
    if (!pipeOpen) break;  // the child has ended and everything it wrote is read
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline || now - lastProgress >= kClipboardFormatBudgetMs) break;
    WaitPainting(process.Get(), 10);
  }
  // Ended if it still runs: the system closes the clipboard it held.
  if (WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0) {
    TerminateProcess(process.Get(), 1);
    WaitForSingleObject(process.Get(), 1000);
  }
  return true;
}

// False when not even the first child could be started.
bool SaveThroughCopier(const std::wstring& exe, const std::vector<UINT>& formats, TClipboardSave& save) {
  const ULONGLONG deadline = GetTickCount64() + kClipboardSaveBudgetMs;
  std::size_t next = 0;
  while (next < formats.size() && GetTickCount64() < deadline) {
    TRecordReader reader;
    reader.NextIndex = next;
    std::size_t kept = 0;
    for (const auto& item : save.Items) kept += item.Bytes.size();
    const std::size_t memoryLeft = kClipboardMemoryBudget > kept ? kClipboardMemoryBudget - kept : 0;
    if (!RunCopierOnce(exe, next, memoryLeft, deadline, save, reader)) {
      if (next == 0) return false;
      break;
    }
    if (reader.Finished) return true;
    // The format it stalled on is left out; the next child goes on after it.
    if (reader.NextIndex < formats.size()) save.NotKeptUtf8.push_back(ClipboardFormatNameUtf8(formats[reader.NextIndex]));
    next = reader.NextIndex + 1;
  }
  for (std::size_t i = next; i < formats.size(); ++i) save.NotKeptUtf8.push_back(ClipboardFormatNameUtf8(formats[i]));
  return true;
}

// In this process: an owner of another process that does not answer a message at once would freeze the read of
// any format it renders on request, so then nothing of it is read.
bool OwnerAnswers(HWND owner) {
  DWORD process = 0;
  if (!owner || !GetWindowThreadProcessId(owner, &process) || process == GetCurrentProcessId()) return true;
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(owner, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &ignored) != 0;
}

void SaveInProcess(const std::vector<UINT>& formats, bool ownerAnswers, TClipboardSave& save) {
  const ULONGLONG deadline = GetTickCount64() + kClipboardSaveBudgetMs;
  std::size_t kept = 0;
  for (UINT format : formats) {
    std::vector<unsigned char> bytes;
    if (!ownerAnswers || GetTickCount64() >= deadline) {
      save.NotKeptUtf8.push_back(ClipboardFormatNameUtf8(format));
    } else if (ReadFormat(format, bytes)) {
      if (kept + bytes.size() > kClipboardMemoryBudget) {
        save.NotKeptUtf8.push_back(ClipboardFormatNameUtf8(format));
      } else {
        kept += bytes.size();
        save.Items.push_back({format, std::move(bytes)});
      }
    }
  }
}

bool WriteAll(HANDLE out, const void* data, std::size_t n) {
  const auto* p = static_cast<const unsigned char*>(data);
  while (n > 0) {
    DWORD written = 0;
    if (!WriteFile(out, p, static_cast<DWORD>(std::min<std::size_t>(n, 1 << 20)), &written, nullptr) || written == 0)
      return false;
    p += written;
    n -= written;
  }
  return true;
}

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

bool IsKeptFormat(UINT format) { return format == CF_ENHMETAFILE || IsMemoryFormat(format); }

std::string ClipboardFormatNameUtf8(UINT format) {
  static const struct {
    UINT Format;
    const char* Name;
  } kStandard[] = {{CF_TEXT, "CF_TEXT"},           {CF_UNICODETEXT, "CF_UNICODETEXT"}, {CF_OEMTEXT, "CF_OEMTEXT"},
                   {CF_LOCALE, "CF_LOCALE"},       {CF_DIB, "CF_DIB"},                 {CF_DIBV5, "CF_DIBV5"},
                   {CF_HDROP, "CF_HDROP"},         {CF_ENHMETAFILE, "CF_ENHMETAFILE"}, {CF_SYLK, "CF_SYLK"},
                   {CF_DIF, "CF_DIF"},             {CF_TIFF, "CF_TIFF"},               {CF_RIFF, "CF_RIFF"},
                   {CF_WAVE, "CF_WAVE"},           {CF_PENDATA, "CF_PENDATA"}};
  for (const auto& s : kStandard)
    if (s.Format == format) return s.Name;
  wchar_t name[256] = {};
  if (GetClipboardFormatNameW(format, name, 256) > 0) return WideToUtf8(name);
  return "#" + std::to_string(format);
}

bool OpenClipboardRetrying(HWND owner) {
  for (int tries = 0; tries < kOpenTries; ++tries) {
    if (tries > 0) Sleep(kOpenRetryMs);
    if (OpenClipboard(owner)) return true;
  }
  return false;
}

bool SaveClipboardWithinBudget(HWND owner, const std::wstring& copierExe, TClipboardSave& save) {
  save = {};
  std::vector<UINT> formats;
  bool otherOwner = false;
  HWND clipboardOwner = nullptr;
  {
    TClipboard clipboard(owner);
    if (!clipboard.IsOpen()) return false;
    formats = KeptFormatsNow();
    clipboardOwner = GetClipboardOwner();
    DWORD process = 0;
    otherOwner = clipboardOwner && GetWindowThreadProcessId(clipboardOwner, &process) && process != GetCurrentProcessId();
    if (!otherOwner || copierExe.empty()) {
      // Nothing here can be rendered on request by another program, or there is no child to read it.
      SaveInProcess(formats, OwnerAnswers(clipboardOwner), save);
      return true;
    }
  }
  if (SaveThroughCopier(copierExe, formats, save)) return true;
  // No child could be started: read here, as far as the owner answers.
  save = {};
  TClipboard clipboard(owner);
  if (!clipboard.IsOpen()) return false;
  SaveInProcess(KeptFormatsNow(), OwnerAnswers(GetClipboardOwner()), save);
  return true;
}

bool RunClipboardCopierIfAsked() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return false;
  const bool asked = argc == 4 && std::wcscmp(argv[1], kCopierSwitch) == 0;
  const std::size_t first = asked ? std::wcstoull(argv[2], nullptr, 10) : 0;
  std::size_t memoryLeft = asked ? std::wcstoull(argv[3], nullptr, 10) : 0;
  LocalFree(argv);
  if (!asked) return false;
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  TClipboard clipboard(nullptr);
  if (clipboard.IsOpen()) {
    const std::vector<UINT> formats = KeptFormatsNow();
    for (std::size_t i = first; i < formats.size(); ++i) {
      std::vector<unsigned char> bytes;
      const bool read = ReadFormat(formats[i], bytes);
      const bool fits = read && bytes.size() <= memoryLeft;
      if (read && !fits) bytes.clear();
      const TRecordHeader header{static_cast<std::uint32_t>(i), formats[i],
                                 !read ? kNoData : fits ? bytes.size() : kNotKept};
      if (fits) memoryLeft -= bytes.size();
      if (!WriteAll(out, &header, sizeof header) || !WriteAll(out, bytes.data(), bytes.size())) return true;
    }
  }
  const TRecordHeader end{kEndOfRecords, 0, 0};
  WriteAll(out, &end, sizeof end);
  return true;
}

}  // namespace swivex
