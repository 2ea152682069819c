// The rotation dialog TSwivexF: one always-on-top form with the current-value and new-angle fields and the two
// buttons "取込" (capture) and "作成" (redraw).
#pragma once

#include <windows.h>

#include <string>

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
  // Enter in the new angle's fields (変更後) or in the length (距) presses 作成; the message loop offers each message
  // before the dialog manager sees it. True when the message was taken.
  bool TakeEnterKey(const MSG& msg);

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls(HINSTANCE instance);
  void LayOut(int dpi);
  void ResizeClient();
  void PlaceAtSavedPlace();
  void FormCreate();
  void OnButton(int id);
  void RunAction(std::string (*action)(const TDialogFields&), HWND anchor);
  void ChangeConvention(TAngleConvention convention);
  void ShowConventionCaptions();

  TDialogFields Fields_;
  HFONT Font_ = nullptr;
  HFONT NumberFont_ = nullptr;  // the edit fields'
  int Dpi_ = 0;  // the DPI the controls are laid out for
  bool Busy_ = false;  // a capture waits for the pick: the buttons do nothing meanwhile
};

}  // namespace swivex
