#include "workflows/NewAngle.h"

#include <utility>

#include "geometry/Angles.h"
#include "text/NumText.h"
#include "workflows/Redraw.h"

namespace swivex {

TAngleTexts AngleTexts(double shownDegrees) {
  const TDms dms = DegToDms(shownDegrees);
  return {FormatDegrees(shownDegrees), std::to_string(dms.Degrees), std::to_string(dms.Minutes),
          FormatSeconds(dms.Seconds)};
}

double SegmentDegrees(const TPoint3D& first, const TPoint3D& second, const TAngleFrame& frame) {
  return ShownDegrees(RadToDeg(DirAngle(second.x - first.x, second.y - first.y)), frame);
}

long double NewDirectionTheta(double shownDegrees, const TAngleFrame& frame) {
  return kPiExtended * MathDegrees(shownDegrees, frame) / 180.0L;
}

std::optional<TAngleTexts> ReexpressedTexts(std::string_view degrees, std::string_view minutes,
                                            std::string_view seconds, const TAngleFrame& from, const TAngleFrame& to) {
  double typed = 0.0;
  try {
    typed = NewDirectionDegrees(degrees, minutes, seconds);
  } catch (const TConvertError&) {
    return std::nullopt;
  }
  return AngleTexts(ShownDegrees(static_cast<double>(MathDegrees(typed, from)), to));
}

TKeptCapture::TKeptCapture()
    : Lines_(std::move(Lines)), Texts_(std::move(Texts)), Arcs_(std::move(Arcs)), Circles_(std::move(Circles)),
      Polylines_(std::move(Polylines)), Styles_(std::move(Styles)), LineCount_(LineCount), TextCount_(TextCount),
      ArcCount_(ArcCount), CircleCount_(CircleCount), PolylineCount_(PolylineCount), Header_(DxfHeader),
      Segment_(RefSegment), Ucs_(CapturedUcs) {
  LineCount = TextCount = ArcCount = CircleCount = PolylineCount = 0;
}

TKeptCapture::~TKeptCapture() {
  if (!Kept_) return;
  Lines = std::move(Lines_);
  Texts = std::move(Texts_);
  Arcs = std::move(Arcs_);
  Circles = std::move(Circles_);
  Polylines = std::move(Polylines_);
  Styles = std::move(Styles_);
  LineCount = LineCount_;
  TextCount = TextCount_;
  ArcCount = ArcCount_;
  CircleCount = CircleCount_;
  PolylineCount = PolylineCount_;
  DxfHeader = Header_;
  RefSegment = Segment_;
  CapturedUcs = Ucs_;
}

}  // namespace swivex
