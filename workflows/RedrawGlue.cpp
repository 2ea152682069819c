#include "workflows/RedrawGlue.h"

#include <optional>
#include <string>

#include "cadlink/AcadLink.h"
#include "cadlink/ClipboardKeeper.h"
#include "cadlink/ExportFolder.h"
#include "dxf/EntityStore.h"
#include "text/FieldText.h"
#include "text/NumText.h"
#include "win32/CodePage.h"
#include "workflows/AngleGlue.h"
#include "workflows/CaptureGlue.h"
#include "workflows/LeftOut.h"
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
  // A 距 that is no number is reported before anything is typed (the polylines read it again, each for itself).
  const auto readLength = [&] { return FieldToFloat(GetWindowAnsi(dialog.eKyori)); };
  for (std::int32_t i = 0; i < PolylineCount; ++i)
    if (Polylines[static_cast<std::size_t>(i)].VertexCount >= 2) {
      readLength();
      break;
    }
  // The UCS now: the user may have changed it since the capture. Asked only when there is something to draw.
  std::optional<TUcs> typingUcs;
  if (PolylineCount > 0 || LineCount > 0) {
    // The UCS echoes come through the clipboard; another program's clipboard is read by a child of this exe.
    const TClipboardKeeper keeper(RunningExePath());
    typingUcs = ChooseUcs(QueryUcs(), CapturedUcs);
  }
  const std::int32_t leftOut = SendRedrawCommands(
      NewDirectionTheta(degrees, FrameOf(dialog.Convention, DxfHeader.Angles)), readLength,
      [](const std::string& command) { AcadSendCommand(AnsiToWide(command)); },  // a layer name may be Shift-JIS
      [] { return AcadPromptText(); }, typingUcs);
  if (leftOut > 0) throw TObjectsLeftOut(TLeftOut::OutsideUcsPlane);
}

}  // namespace swivex
