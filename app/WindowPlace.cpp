#include "app/WindowPlace.h"

#include <algorithm>

namespace swivex {

namespace {

constexpr wchar_t kLeftValue[] = L"WindowLeft";
constexpr wchar_t kTopValue[] = L"WindowTop";
// Far beyond any desktop, yet far from overflowing when the frame's size is added: a value beyond it is taken as
// this far away, and so lands on the nearest monitor.
constexpr LONG kFarthest = 1 << 20;

// Closes the registry key when it goes out of scope.
class TRegKey {
 public:
  TRegKey() = default;
  ~TRegKey() {
    if (Key_) RegCloseKey(Key_);
  }
  TRegKey(const TRegKey&) = delete;
  TRegKey& operator=(const TRegKey&) = delete;
  HKEY* Out() { return &Key_; }
  HKEY Get() const { return Key_; }

 private:
  HKEY Key_ = nullptr;
};

std::optional<LONG> ReadCoordinate(HKEY key, const wchar_t* name) {
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return std::nullopt;
  // A place left of or above the primary monitor is negative.
  return std::clamp(static_cast<LONG>(value), -kFarthest, kFarthest);
}

void WriteCoordinate(HKEY key, const wchar_t* name, LONG coordinate) {
  const DWORD value = static_cast<DWORD>(coordinate);
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace

std::optional<POINT> LoadWindowPlace() {
  TRegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS)
    return std::nullopt;
  const auto left = ReadCoordinate(key.Get(), kLeftValue);
  const auto top = ReadCoordinate(key.Get(), kTopValue);
  if (!left || !top) return std::nullopt;
  return POINT{*left, *top};
}

void SaveWindowPlace(HWND window) {
  RECT frame{};
  if (!GetWindowRect(window, &frame)) return;
  TRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Out(), nullptr) !=
      ERROR_SUCCESS)
    return;
  WriteCoordinate(key.Get(), kLeftValue, frame.left);
  WriteCoordinate(key.Get(), kTopValue, frame.top);
}

RECT OntoVisibleMonitor(const RECT& frame, int captionHeight) {
  const LONG width = frame.right - frame.left;
  const LONG height = frame.bottom - frame.top;
  // A piece of the caption this wide, over the caption's full height, is enough to take hold of it.
  const LONG grip = std::min<LONG>(width, std::max(3 * captionHeight, 48));
  RECT caption{frame.left, frame.top, frame.right, frame.top + captionHeight};
  struct TSearch {
    RECT Caption;
    LONG Grip;
    bool Found;
  } search{caption, grip, false};
  EnumDisplayMonitors(nullptr, nullptr, [](HMONITOR m, HDC, LPRECT, LPARAM lp) -> BOOL {
    auto& s = *reinterpret_cast<TSearch*>(lp);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT on{};
    if (GetMonitorInfoW(m, &info) && IntersectRect(&on, &s.Caption, &info.rcWork) &&
        on.bottom - on.top == s.Caption.bottom - s.Caption.top && on.right - on.left >= s.Grip)
      s.Found = true;
    return s.Found ? FALSE : TRUE;
  }, reinterpret_cast<LPARAM>(&search));
  if (search.Found) return frame;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor)) return frame;
  const RECT& area = monitor.rcWork;
  const LONG left = std::max(area.left, std::min(frame.left, area.right - width));
  const LONG top = std::max(area.top, std::min(frame.top, area.bottom - height));
  return RECT{left, top, left + width, top + height};
}

}  // namespace swivex
