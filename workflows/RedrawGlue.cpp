#include "workflows/RedrawGlue.h"

#include <string>

#include "cadlink/AcadLink.h"
#include "dxf/EntityStore.h"
#include "text/FieldText.h"
#include "text/NumText.h"
#include "win32/CodePage.h"
#include "workflows/AngleGlue.h"
#include "workflows/CaptureGlue.h"
#include "workflows/NewAngle.h"
#include "workflows/Redraw.h"
#include "workflows/WinText.h"

namespace swivex {

void Button1Click(const TDialogFields& dialog) {
  SplitWholeAngle(dialog);
  const double degrees =
      NewDirectionDegrees(GetWindowAnsi(dialog.eDo2), GetWindowAnsi(dialog.eFun2), GetWindowAnsi(dialog.eByo2));
  SetWindowAnsi(dialog.eKakudo2, FormatDegrees(degrees));
  RequireAcadReady();
  SendRedrawCommands(
      NewDirectionTheta(degrees, FrameOf(dialog.Convention, DxfHeader.Angles)),
      [&] { return FieldToFloat(GetWindowAnsi(dialog.eKyori)); },
      [](const std::string& command) { AcadSendCommand(AnsiToWide(command)); },  // a layer name may be Shift-JIS
      [] { return AcadPromptText(); });
}

}  // namespace swivex
