#include "workflows/AngleGlue.h"

#include <string>

#include "dxf/EntityStore.h"
#include "text/FieldText.h"
#include "workflows/CaptureGlue.h"
#include "workflows/LeftOut.h"
#include "workflows/NewAngle.h"
#include "workflows/WinText.h"

namespace swivex {

namespace {

TAngleFrame FrameFor(TAngleConvention convention) { return FrameOf(convention, DxfHeader.Angles); }

void ShowNewAngle(const TDialogFields& dialog, const TAngleTexts& texts) {
  SetWindowAnsi(dialog.eDo2, texts.Do);
  SetWindowAnsi(dialog.eFun2, texts.Fun);
  SetWindowAnsi(dialog.eByo2, texts.Byo);
}

}  // namespace

void SplitWholeAngle(const TDialogFields& dialog) {
  const auto dms = SplitDmsText(GetWindowAnsi(dialog.eDo2));
  if (!dms) return;
  SetWindowAnsi(dialog.eDo2, dms->Degrees);
  SetWindowAnsi(dialog.eFun2, dms->Minutes);
  SetWindowAnsi(dialog.eByo2, dms->Seconds);
}

void ShowInConvention(const TDialogFields& dialog, TAngleConvention to) {
  const TAngleFrame from = FrameFor(dialog.Convention), frame = FrameFor(to);
  if (GetWindowTextLengthW(dialog.eKakudo) > 0) {
    const TAngleTexts shown = AngleTexts(SegmentDegrees(RefSegment.First, RefSegment.Second, frame));
    SetWindowAnsi(dialog.eKakudo, shown.Kakudo);
    SetWindowAnsi(dialog.eDo, shown.Do);
    SetWindowAnsi(dialog.eFun, shown.Fun);
    SetWindowAnsi(dialog.eByo, shown.Byo);
  }
  SplitWholeAngle(dialog);
  if (const auto typed = ReexpressedTexts(GetWindowAnsi(dialog.eDo2), GetWindowAnsi(dialog.eFun2),
                                          GetWindowAnsi(dialog.eByo2), from, frame))
    ShowNewAngle(dialog, *typed);
  if (const auto drawn = ReexpressedTexts(GetWindowAnsi(dialog.eKakudo2), "", "", from, frame))
    SetWindowAnsi(dialog.eKakudo2, drawn->Kakudo);
}

std::string TakeAngleFromObject(const TDialogFields& dialog) {
  return PickExportAndUse(dialog, [&](const std::string& tempFileName, const TEchoedUcs& ucs) -> std::string {
    // The frame is the capture's: 作成 reads the typed direction in it.
    const TAngleFrame frame = FrameFor(dialog.Convention);
    const TKeptCapture kept;
    std::int32_t meshes = 0;
    if (ReadAndProject(tempFileName, ucs, &meshes) == TSegmentSource::None)
      return meshes > 0 ? LeftOutText(TLeftOut::Mesh) : std::string(kNotLineNotice);
    const TAngleTexts texts = AngleTexts(SegmentDegrees(RefSegment.First, RefSegment.Second, frame));
    ShowNewAngle(dialog, texts);
    SetWindowAnsi(dialog.eKakudo2, texts.Kakudo);
    return {};
  });
}

}  // namespace swivex
