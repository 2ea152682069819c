#include "app/SystemMenu.h"

#include <string>

#include "app/ErrorBox.h"
#include "app/ReportWindow.h"
#include "cadlink/AcadDiagnostics.h"
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

bool OnSystemMenuCommand(HWND form, WPARAM command) {
  switch (command & 0xFFF0) {
    case kSysCommandConnectionReport:
      ShowReportWindow(form, FormatConnectionReport(GatherConnectionReport(SwivexVersion())));
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
