// Start-up: the dialog as the main form, the message loop until it closes, then the entity store released.
#include <windows.h>
#include <commctrl.h>

#include "app/ErrorBox.h"
#include "app/SwivexForm.h"
#include "dxf/EntityStore.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  int exitCode = 0;
  try {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    swivex::TSwivexF form;
    if (!form.Create(instance)) return 1;
    ShowWindow(form.Handle(), show);
    UpdateWindow(form.Handle());
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      // The dialog manager gives the tab key its meaning.
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
