// The rotation dialog TSwivexF: one always-on-top form with the current-value and new-angle fields and the two
// buttons "取込" (capture) and "作成" (redraw).
#pragma once

#include <windows.h>

#include "workflows/DialogFields.h"

namespace swivex {

// SetWindowPos to HWND_TOPMOST (or HWND_NOTOPMOST), position and size unchanged.
bool SetTopMost(HWND window, bool topMost);

class TSwivexF {
 public:
  TSwivexF() = default;
  TSwivexF(const TSwivexF&) = delete;
  TSwivexF& operator=(const TSwivexF&) = delete;
  ~TSwivexF();

  // Registers the window class, creates the form (owned by owner, the application window; may be null) and its
  // controls and runs FormCreate. False on failure.
  bool Create(HINSTANCE instance, HWND owner = nullptr);
  HWND Handle() const { return Fields_.Form; }
  const TDialogFields& Fields() const { return Fields_; }

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls(HINSTANCE instance);
  HWND AddControl(HINSTANCE instance, const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle,
                  int id, int left, int top, int width, int height);
  void FormCreate();
  void OnButton(int id);

  TDialogFields Fields_;
  HFONT Font_ = nullptr;
  bool Busy_ = false;  // a capture waits for the pick: the buttons do nothing meanwhile
};

}  // namespace swivex
