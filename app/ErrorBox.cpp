#include "app/ErrorBox.h"

#include <exception>
#include <string>

#include "cadlink/SilentAbort.h"
#include "dxf/DxfReader.h"
#include "text/NumText.h"
#include "workflows/WinText.h"

namespace swivex {

namespace {

void ErrorBox(HWND owner, const std::string& utf8) {
  MessageBoxW(IsWindow(owner) ? owner : nullptr, Utf8ToWide(utf8).c_str(), kApplicationTitle,
              MB_OK | MB_ICONERROR);
}

}  // namespace

void ShowActionError(HWND owner) noexcept {
  try {
    try {
      throw;
    } catch (const TSilentAbort&) {
      // ends the action without a word
    } catch (const TConvertError& e) {
      // The offending text is in the ANSI code page; the message is the tool's own Japanese.
      ErrorBox(owner, ConvertErrorMessageUtf8(e.Kind(), WideToUtf8(AnsiToWide(e.Text()))));
    } catch (const TDxfReadError& e) {
      ErrorBox(owner, AppendFullStop(e.what()));
    } catch (const std::exception& e) {
      ErrorBox(owner, AppendFullStop(e.what()));
    } catch (...) {
      ErrorBox(owner, "予期しないエラーが発生しました.");
    }
  } catch (...) {
    // Showing the error failed too (out of memory): nothing more can be done.
  }
}

}  // namespace swivex
