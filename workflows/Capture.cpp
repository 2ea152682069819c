#include "workflows/Capture.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "dxf/EntityStore.h"
#include "geometry/Angles.h"
#include "geometry/Ocs.h"
#include "text/NumText.h"
#include "text/Sjis.h"

namespace swivex {

TSegment RefSegment;
TUcs CapturedUcs = kWorldUcs;

namespace {

// A quick pick is seen within this many ms for this long; after that a pick takes a person longer anyway.
constexpr int kQuickPollMs = 20;
constexpr long long kQuickPollingMs = 5000;
constexpr int kSlowPollMs = 200;

bool WithinRounding(double exported, double echoed, double rounding) {
  // A few units in the last place of slack, for the conversion of both texts to binary.
  const double slack = 8 * std::numeric_limits<double>::epsilon() * std::fabs(echoed);
  return std::fabs(exported - echoed) <= rounding + slack;
}

bool PointWithinRounding(const TPoint3D& exported, const TPoint3D& echoed, const TPoint3D& rounding) {
  return WithinRounding(exported.x, echoed.x, rounding.x) && WithinRounding(exported.y, echoed.y, rounding.y) &&
         WithinRounding(exported.z, echoed.z, rounding.z);
}

TPoint3D UnitLength(const TPoint3D& v) {
  const long double x = v.x, y = v.y, z = v.z;
  const long double length = std::sqrt(x * x + y * y + z * z);
  if (!(length > 0) || !std::isfinite(length)) return v;
  return {static_cast<double>(x / length), static_cast<double>(y / length), static_cast<double>(z / length)};
}

void AppendTwoDigits(std::string& out, int value) {
  out.push_back(static_cast<char>('0' + value / 10 % 10));
  out.push_back(static_cast<char>('0' + value % 10));
}

}  // namespace

std::string TempDxfName(std::string_view folderWithSeparator, const TLocalTime& now) {
  std::string name(folderWithSeparator);
  for (int part : {now.Year % 100, now.Month, now.Day, now.Hour, now.Minute, now.Second}) AppendTwoDigits(name, part);
  name += ".DXF";
  return name;
}

TUcs ChooseUcs(const TEchoedUcs& echoed, const std::optional<TUcs>& exported) {
  const TUcs& e = echoed.Ucs;
  const TUcs& r = echoed.Rounding;
  if (exported && PointWithinRounding(exported->Origin, e.Origin, r.Origin) &&
      PointWithinRounding(exported->XDir, e.XDir, r.XDir) && PointWithinRounding(exported->YDir, e.YDir, r.YDir))
    return *exported;
  return {e.Origin, UnitLength(e.XDir), UnitLength(e.YDir)};
}

int PickPollIntervalMs(long long elapsedMs) { return elapsedMs < kQuickPollingMs ? kQuickPollMs : kSlowPollMs; }

bool IsIdlePrompt(std::string_view promptText) {
  static constexpr auto kIdle = Sjis(u8"コマンド: ");
  return promptText == kIdle.View();
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == ','; }

// A count of one or more: a whole number above zero followed by a word ("1 個を検出", "3 found").
bool HoldsCount(std::string_view rest) {
  std::size_t i = 0;
  for (;;) {
    while (i < rest.size() && IsBlank(rest[i])) ++i;
    if (i >= rest.size()) return false;
    const std::size_t start = i;
    while (i < rest.size() && !IsBlank(rest[i])) ++i;
    const std::string_view word = rest.substr(start, i - start);
    const bool number = word.find_first_not_of("0123456789") == std::string_view::npos;
    if (number && word.find_first_not_of('0') != std::string_view::npos) {
      std::size_t next = i;
      while (next < rest.size() && IsBlank(rest[next])) ++next;
      if (next < rest.size() && (rest[next] < '0' || rest[next] > '9')) return true;
    }
  }
}

}  // namespace

TPickOutcome PickOutcomeOf(std::string_view lastHistoryLine) {
  static constexpr auto kCancelled = Sjis(u8"キャンセル");
  static constexpr auto kSelected = Sjis(u8"オブジェクトを選択");
  if (lastHistoryLine.find(kCancelled.View()) != std::string_view::npos) return TPickOutcome::Cancelled;
  const std::size_t prompt = lastHistoryLine.rfind(kSelected.View());
  if (prompt == std::string_view::npos) return TPickOutcome::NotPicked;
  const std::size_t colon = lastHistoryLine.find(':', prompt + kSelected.View().size());
  if (colon == std::string_view::npos) return TPickOutcome::NotPicked;
  return HoldsCount(lastHistoryLine.substr(colon + 1)) ? TPickOutcome::Picked : TPickOutcome::NotPicked;
}

bool PickWaitEnds(TPickWait& wait, std::string_view promptText, long long elapsedMs) {
  if (promptText.empty()) return false;
  if (!IsIdlePrompt(promptText)) {
    wait.SelectionSeen = true;
    return false;
  }
  return wait.SelectionSeen || elapsedMs >= kSelectionPromptMs;
}

std::string PickNoticeText(TPickStatus status) {
  switch (status) {
    case TPickStatus::NotPicked:
      return "オブジェクトが選ばれなかったため、選択を取り消しました。前の値のままです。";
    case TPickStatus::TimedOut:
      return "2 分以内にオブジェクトが選ばれなかったため、選択を取り消しました。前の値のままです。";
    default:
      return {};
  }
}

std::string DxfOutCommand(std::string_view tempFileName) {
  std::string command = "\x03" "DXFOUT \"";
  command += tempFileName;
  command += "\"\rVER 2000 OBJ PREV \r16 ";
  return command;
}

TPoint3D ProjectToUcs(const TPoint3D& p, const TUcs& ucs) {
  const long double dx = static_cast<double>(p.x - ucs.Origin.x);
  const long double dy = static_cast<double>(p.y - ucs.Origin.y);
  const long double dz = static_cast<double>(p.z - ucs.Origin.z);
  TPoint3D out = p;
  out.x = static_cast<double>(dx * ucs.XDir.x + dy * ucs.XDir.y + dz * ucs.XDir.z);
  out.y = static_cast<double>(dx * ucs.YDir.x + dy * ucs.YDir.y + dz * ucs.YDir.z);
  return out;
}

namespace {

bool IsMesh(const TPolylineRec& p) { return (p.Flags & (kPolygonMesh | kPolyfaceMesh)) != 0; }

// Drops the vertices of the spline frame, with their per-vertex values.
void DropFrameVertices(TPolylineRec& p) {
  std::int32_t kept = 0;
  for (std::int32_t i = 0; i < p.VertexCount; ++i) {
    const auto from = static_cast<std::size_t>(i);
    if (from < p.VertexFlags.size() && (p.VertexFlags[from] & kVertexSplineFrame) != 0) continue;
    const auto to = static_cast<std::size_t>(kept++);
    p.Vertices[to] = p.Vertices[from];
    for (auto* values : {&p.Bulges, &p.StartWidths, &p.EndWidths})
      if (from < values->size()) (*values)[to] = (*values)[from];
    if (from < p.VertexFlags.size()) p.VertexFlags[to] = p.VertexFlags[from];
  }
  const auto n = static_cast<std::size_t>(kept);
  p.Vertices.resize(n);
  for (auto* values : {&p.Bulges, &p.StartWidths, &p.EndWidths})
    if (values->size() > n) values->resize(n);
  if (p.VertexFlags.size() > n) p.VertexFlags.resize(n);
  p.VertexCount = kept;
}

void PlanarToWorld(TPolylineRec& p) {
  // An extrusion direction of length zero (or not finite) names no plane: the world's is the one meant.
  const double length = std::sqrt(Dot(p.Normal, p.Normal));
  if (!(length > 0) || !std::isfinite(length)) p.Normal = {0.0, 0.0, 1.0};
  const TOcsAxes axes = OcsAxes(p.Normal);
  for (std::int32_t i = 0; i < p.VertexCount; ++i) {
    TPoint3D& v = p.Vertices[static_cast<std::size_t>(i)];
    v = OcsToWorld({v.x, v.y, p.Elevation}, axes);
  }
}

// Meshes out of the store (the later polylines move up), the rest as they draw, in world coordinates.
std::int32_t DrawnPolylinesInWorld() {
  std::int32_t kept = 0, meshes = 0;
  for (std::int32_t i = 0; i < PolylineCount; ++i) {
    TPolylineRec& p = Polylines[static_cast<std::size_t>(i)];
    if (IsMesh(p)) {
      ++meshes;
      continue;
    }
    DropFrameVertices(p);
    if ((p.Flags & kPolyline3D) == 0) PlanarToWorld(p);
    if (kept != i) std::swap(Polylines[static_cast<std::size_t>(kept)], p);
    ++kept;
  }
  PolylineCount = kept;
  return meshes;
}

}  // namespace

TSegmentSource ProjectEntityStore(const TUcs& ucs, std::int32_t* meshesTakenOut) {
  TSegmentSource source = TSegmentSource::None;
  const std::int32_t meshes = DrawnPolylinesInWorld();
  if (meshesTakenOut) *meshesTakenOut = meshes;
  CapturedUcs = ucs;
  if (PolylineCount > 0) {
    source = TSegmentSource::Polyline;
    const TPolylineRec& first = Polylines[0];
    // A first polyline of fewer than two vertices leaves the missing point as it was.
    if (first.VertexCount > 0) RefSegment.First = ProjectToUcs(first.Vertices[0], ucs);
    if (first.VertexCount > 1) RefSegment.Second = ProjectToUcs(first.Vertices[1], ucs);
  }
  if (LineCount > 0) {
    source = TSegmentSource::Line;
    RefSegment = {ProjectToUcs(Lines[0].StartPt, ucs), ProjectToUcs(Lines[0].EndPt, ucs)};
  }
  return source;
}

TMeasurementTexts MeasurementTexts(bool polyline, const TPoint3D& first, const TPoint3D& second,
                                   const TAngleFrame& frame) {
  TMeasurementTexts texts;
  texts.CaptionUtf8 = polyline ? kCaptionPolyline : kCaptionLine;
  const double dx = second.x - first.x;
  const double dy = second.y - first.y;
  const long double ldx = dx, ldy = dy;
  const double length = static_cast<double>(std::sqrt(ldx * ldx + ldy * ldy));
  texts.Kyori = FormatLength(length);
  const double degrees = ShownDegrees(RadToDeg(DirAngle(dx, dy)), frame);
  texts.Kakudo = FormatDegrees(degrees);
  const TDms dms = DegToDms(degrees);
  texts.Do = std::to_string(dms.Degrees);
  texts.Fun = std::to_string(dms.Minutes);
  texts.Byo = FormatSeconds(dms.Seconds);
  return texts;
}

}  // namespace swivex
