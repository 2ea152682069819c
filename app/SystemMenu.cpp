#include "app/SystemMenu.h"

#include <string>

#include "app/ErrorBox.h"
#include "app/AngleSetting.h"
#include "app/ReportWindow.h"
#include "cadlink/AcadDiagnostics.h"
#include "dxf/EntityStore.h"
#include "win32/CodePage.h"

namespace swivex {

const char* SwivexVersion() { return SWIVEX_VERSION; }

void AddSystemMenuItems(HWND form) {
  const HMENU menu = GetSystemMenu(form, FALSE);
  if (!menu) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kSysCommandConnectionReport, L"接続の診断...");
  AppendMenuW(menu, MF_STRING, kSysCommandAbout, L"バージョン情報");
}

void AddAngleMenuItems(HWND form, TAngleConvention convention) {
  const HMENU menu = GetSystemMenu(form, FALSE);
  const HMENU conventions = CreatePopupMenu();
  if (!menu || !conventions) return;
  AppendMenuW(conventions, MF_STRING, kSysCommandMathAngle, L"数学角（東から反時計回り）");
  AppendMenuW(conventions, MF_STRING, kSysCommandBearing, L"方向角（北から時計回り）");
  AppendMenuW(conventions, MF_STRING, kSysCommandDrawingAngles, L"図面の設定（ANGBASE/ANGDIR）");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(conventions), L"角度の基準");  // the menu owns it now
  AppendMenuW(menu, MF_STRING, kSysCommandAngleFromObject, L"角度を図形から取得...");
  CheckConventionItem(form, convention);
}

void CheckConventionItem(HWND form, TAngleConvention convention) {
  const UINT item = convention == TAngleConvention::Bearing    ? kSysCommandBearing
                    : convention == TAngleConvention::Drawing ? kSysCommandDrawingAngles
                                                               : kSysCommandMathAngle;
  CheckMenuRadioItem(GetSystemMenu(form, FALSE), kSysCommandMathAngle, kSysCommandDrawingAngles, item,
                     MF_BYCOMMAND);
}

std::optional<TAngleConvention> ConventionOfCommand(WPARAM command) {
  switch (command & 0xFFF0) {
    case kSysCommandMathAngle: return TAngleConvention::Math;
    case kSysCommandBearing: return TAngleConvention::Bearing;
    case kSysCommandDrawingAngles: return TAngleConvention::Drawing;
    default: return std::nullopt;
  }
}

bool OnSystemMenuCommand(HWND form, WPARAM command, TAngleConvention convention) {
  switch (command & 0xFFF0) {
    case kSysCommandConnectionReport:
      ShowReportWindow(form, FormatConnectionReport(GatherConnectionReport(SwivexVersion())) +
                                 AngleConventionReport(convention, DxfHeader.Angles));
      return true;
    case kSysCommandAbout: {
      const std::wstring text = L"角度を変更する (Swivex)\r\nバージョン " + Utf8ToWide(SwivexVersion());
      MessageBoxW(form, text.c_str(), kApplicationTitle, MB_OK | MB_ICONINFORMATION);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace swivex
