#include "app/AngleSetting.h"

#include <windows.h>

#include <memory>
#include <type_traits>

#include "app/WindowPlace.h"
#include "text/NumText.h"

namespace swivex {

namespace {

constexpr wchar_t kConventionValue[] = L"AngleConvention";

// The opened key, closed when it goes out of scope.
struct TKeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using TKey = std::unique_ptr<std::remove_pointer_t<HKEY>, TKeyCloser>;

}  // namespace

TAngleConvention LoadAngleConvention() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return TAngleConvention::Math;
  const TKey key(opened);
  DWORD value = 0, type = 0, size = sizeof value;
  const LSTATUS read =
      RegQueryValueExW(key.get(), kConventionValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (read != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value || value > 2) return TAngleConvention::Math;
  return static_cast<TAngleConvention>(value);
}

void SaveAngleConvention(TAngleConvention convention) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr) !=
      ERROR_SUCCESS)
    return;
  const TKey key(created);
  const DWORD value = static_cast<DWORD>(convention);
  RegSetValueExW(key.get(), kConventionValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

std::wstring GroupCaption(const wchar_t* group, TAngleConvention convention) {
  switch (convention) {
    case TAngleConvention::Bearing: return std::wstring(group) + L"（方向角）";
    case TAngleConvention::Drawing: return std::wstring(group) + L"（図面の設定）";
    case TAngleConvention::Math: break;
  }
  return group;
}

std::string AngleConventionReport(TAngleConvention convention, const TDrawingAngles& drawing) {
  std::string out = "\r\n角度の基準: ";
  switch (convention) {
    case TAngleConvention::Math: return out + "数学角（東から反時計回り）\r\n";
    case TAngleConvention::Bearing: return out + "方向角（北から時計回り）\r\n";
    case TAngleConvention::Drawing: break;
  }
  out += "図面の設定（ANGBASE/ANGDIR）\r\n";
  if (DrawingAnglesMissing(drawing))
    return out + "  書き出した図面のヘッダーに $ANGBASE も $ANGDIR もありません: 数学角（東から反時計回り）で表示します\r\n";
  const TAngleFrame frame = FrameOf(convention, drawing);
  return out + "  0° の方向: " + FormatFixed(static_cast<double>(frame.BaseDegrees), 0, 8) + "°（$ANGBASE " +
         (drawing.HasBase ? FormatFixed(drawing.BaseRadians, 0, 16) + " ラジアン" : std::string("なし: 0")) +
         "）、" + (frame.Clockwise ? "時計回り" : "反時計回り") + "（$ANGDIR " +
         (drawing.HasDirection ? std::to_string(drawing.Direction) : std::string("なし: 0")) + "）\r\n";
}

}  // namespace swivex
