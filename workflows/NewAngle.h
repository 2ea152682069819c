// The direction typed under 変更後 and the directions shown, in the angle convention chosen (free of Win32): the
// texts of a direction, the same typed direction in another convention, the new direction θ of a redraw, and the
// entity store kept aside while a second pick is read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/EntityStore.h"
#include "geometry/AngleConvention.h"
#include "workflows/Capture.h"

namespace swivex {

// A direction (degrees, as shown) as the fields show it: "%11.8f", and whole degrees, minutes and "%6.6f" seconds.
struct TAngleTexts {
  std::string Kakudo;
  std::string Do;
  std::string Fun;
  std::string Byo;
};
TAngleTexts AngleTexts(double shownDegrees);

// The direction of the segment from first to second (UCS x, y) as the frame shows it.
double SegmentDegrees(const TPoint3D& first, const TPoint3D& second, const TAngleFrame& frame);

// θ of a redraw, radians counter-clockwise from the UCS x axis, for a direction typed in the frame. In the
// mathematical frame exactly DegToRad of the typed degrees.
long double NewDirectionTheta(double shownDegrees, const TAngleFrame& frame);

// The new direction's three texts (NewDirectionDegrees) read in one frame and given in another; nothing when they
// do not read.
std::optional<TAngleTexts> ReexpressedTexts(std::string_view degrees, std::string_view minutes,
                                            std::string_view seconds, const TAngleFrame& from, const TAngleFrame& to);

// The entity store, the reference segment, the UCS and the header of the last capture, taken aside while
// another export is read and put back when this goes: what 作成 turns stays the capture's.
class TKeptCapture {
 public:
  TKeptCapture();
  ~TKeptCapture();
  // What was read since stands as the capture: nothing is put back.
  void Release() { Kept_ = false; }
  TKeptCapture(const TKeptCapture&) = delete;
  TKeptCapture& operator=(const TKeptCapture&) = delete;

 private:
  std::vector<TLineRec> Lines_;
  std::vector<TTextRec> Texts_;
  std::vector<TArcRec> Arcs_;
  std::vector<TCircleRec> Circles_;
  std::vector<TPolylineRec> Polylines_;
  std::vector<TStyleRec> Styles_;
  std::int32_t LineCount_, TextCount_, ArcCount_, CircleCount_, PolylineCount_;
  TDxfHeader Header_;
  TSegment Segment_;
  TUcs Ucs_;
  bool Kept_ = true;
};

}  // namespace swivex
