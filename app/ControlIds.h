// The dialog's control identifiers: fixed, so that GetDlgItem finds each control (the end-to-end driver does).
#pragma once

namespace swivex {

enum TControlId : int {
  IdGroupBox1 = 101,
  IdLabel4 = 102,
  IdLabel6 = 103,
  IdLabel3 = 104,
  IdKakudo = 105,
  IdGroupBox2 = 106,
  IdLabel1 = 107,
  IdLabel2 = 108,
  IdKakudo2 = 109,
  IdButton2 = 110,  // 取込
  IdKyori = 111,
  IdDo = 112,
  IdFun = 113,
  IdByo = 114,
  IdDo2 = 115,
  IdFun2 = 116,
  IdByo2 = 117,
  IdButton1 = 118,  // 作成
};

// A property of the form counting the button actions that have run to their end (message boxes closed):
// automation waits for it to grow after it presses a button.
inline constexpr wchar_t kActionsDoneProperty[] = L"SwivexActionsDone";

// The window class of the dialog.
inline constexpr wchar_t kFormClassName[] = L"TSwivexF";

}  // namespace swivex
