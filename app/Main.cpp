// Start-up: the application window titled "角度を変更する" (the task bar's entry), the dialog as the main form
// owned by it, the message loop until the dialog closes, then the entity store released.
#include <windows.h>
#include <commctrl.h>

#include "app/ApplicationWindow.h"
#include "app/ErrorBox.h"
#include "app/SwivexForm.h"
#include "cadlink/ClipboardCopier.h"
#include "dxf/EntityStore.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // Started by a capture to read another program's clipboard: that, and nothing else.
  if (swivex::RunClipboardCopierIfAsked()) return 0;
  int exitCode = 0;
  try {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    swivex::TApplicationWindow application;
    if (!application.Create(instance)) return 1;
    swivex::TSwivexF form;
    if (!form.Create(instance, application.Handle())) return 1;
    application.SetMainForm(form.Handle());
    ShowWindow(form.Handle(), show);
    UpdateWindow(form.Handle());
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      // Enter in the fields that take it presses 作成; the dialog manager gives the tab key its meaning.
      if (IsWindow(form.Handle()) && form.TakeEnterKey(msg)) continue;
      if (!IsWindow(form.Handle()) || !IsDialogMessageW(form.Handle(), &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    exitCode = static_cast<int>(msg.wParam);
  } catch (...) {
    swivex::ShowActionError(nullptr);
    exitCode = 1;
  }
  swivex::ReleaseEntityStore();
  return exitCode;
}
