// The application window: an unowned window titled with the application title "角度を変更する" that owns the
// dialog. The task bar shows its title while the dialog keeps its own caption ("回転処理…"). It is visible (the
// task bar lists only visible windows) but has no size, and it hands activation and closing on to the dialog.
#pragma once

#include <windows.h>

namespace swivex {

class TApplicationWindow {
 public:
  TApplicationWindow() = default;
  TApplicationWindow(const TApplicationWindow&) = delete;
  TApplicationWindow& operator=(const TApplicationWindow&) = delete;
  ~TApplicationWindow();

  // Creates the window, hidden; false on failure.
  bool Create(HINSTANCE instance);
  // The dialog it owns: activation and a close request from the task bar go there. Shows the window (without
  // activating it) so that the task bar lists it.
  void SetMainForm(HWND form);
  HWND Handle() const { return Handle_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND Handle_ = nullptr;
};

}  // namespace swivex
