#include "dxf/DxfReader.h"

#include <algorithm>
#include <cmath>

#include "dxf/DxfFile.h"
#include "dxf/DxfPairScanner.h"
#include "dxf/DxfPairValue.h"
#include "dxf/DxfRecordEstimate.h"
#include "dxf/EntityStore.h"

namespace swivex {

namespace {

enum class THeaderVariable { None, CLayer, CeColor, CeLtype, CeLweight, CeLtScale, Thickness, PlineWid, Elevation, UcsOrg,
                                 UcsXDir, UcsYDir, AngBase, AngDir };

// The reader's state for one call; all of it false or 0 at the start.
struct TReaderState {
  std::string_view FileName;
  bool InEntities = false;
  bool InStyleTable = false;
  bool StyleOpen = false;
  bool LineOpen = false;
  bool TextOpen = false;
  bool ArcOpen = false;
  bool CircleOpen = false;
  bool PolylineOpen = false;
  bool VertexOpen = false;
  bool LwPolylineOpen = false;
  std::int32_t StyleIndex = 0;
  // Groups 40 and 41 of the open POLYLINE header: the widths of its vertices that give none of their own.
  double DefaultStartWidth = 0.0;
  double DefaultEndWidth = 0.0;
  // The HEADER variable whose groups follow (group 9 names it; the next 9 or code-0 pair ends it), and for a
  // point variable the groups 10, 20, 30 of it that converted.
  THeaderVariable HeaderVariable = THeaderVariable::None;
  unsigned HeaderPointGroups = 0;
  // The last pair was 0/SECTION: only its section name (2/ENTITIES) opens the entity section, not a layer,
  // block or linetype that happens to be named ENTITIES.
  bool SectionStarted = false;
};

constexpr std::string_view kPhiCode = "\\U+03C6";
constexpr std::string_view kPhiSjis = "\x83\xD3";

void ResetCounters() {
  LineCount = TextCount = ArcCount = CircleCount = PolylineCount = 0;
  DxfHeader = TDxfHeader{};
}

// Every array to exactly 100 slots: kept slots keep their records, added ones are zero.
void SetReadSlots() {
  Lines.resize(kSlotStep);
  Texts.resize(kSlotStep);
  Arcs.resize(kSlotStep);
  Circles.resize(kSlotStep);
  Polylines.resize(kSlotStep);
  Styles.resize(kSlotStep);
}

// Room (not slots) for the records the file will likely start, whole steps of 100, so that growing the arrays
// by 100 slots at a time moves no records. Never more room than 16 times the file's size per array: a stray
// estimate must not cost memory out of proportion to the file. (A compact file of two-vertex polylines takes
// about 4 times its size in records, one of short lines more.)
template <class T>
void MakeRoom(std::vector<T>& slots, std::size_t records, std::size_t fileSize) {
  std::size_t room = (records + kSlotStep - 1) / kSlotStep * kSlotStep;
  const std::size_t limit = fileSize * 16 / sizeof(T) / kSlotStep * kSlotStep;
  if (room > limit) room = limit;
  if (room > slots.capacity()) slots.reserve(room);
}

// Lines to exactly LineCount slots. Its memory goes back unless less than one growth step is spare: giving it
// back would move every record for a few kilobytes.
void CutLines() {
  Lines.resize(static_cast<std::size_t>(LineCount));
  if (Lines.capacity() - Lines.size() >= kSlotStep) Lines.shrink_to_fit();
}

// Counter up by 1 first, 100 more slots when it passes the last one; the new record is slot counter - 1.
template <class T>
T& StartRecord(std::vector<T>& slots, std::int32_t& counter) {
  ++counter;
  while (static_cast<std::size_t>(counter) > slots.size()) slots.resize(slots.size() + kSlotStep);
  return slots[static_cast<std::size_t>(counter) - 1];
}

void StartPolyline(TReaderState& state) {
  TPolylineRec& rec = StartRecord(Polylines, PolylineCount);
  // clear() keeps the vectors' memory: a slot reused by the next read needs no new allocation.
  rec.Vertices.clear();
  rec.VertexFlags.clear();
  rec.Bulges.clear();
  rec.StartWidths.clear();
  rec.EndWidths.clear();
  rec.VertexCount = 0;
  rec.Flags = 0;
  rec.Layer.Clear();
  rec.ConstantWidth = 0.0;
  rec.Elevation = 0.0;
  rec.Props = TEntityProps{};
  rec.Normal = TPoint3D{0.0, 0.0, 1.0};
  state.DefaultStartWidth = state.DefaultEndWidth = 0.0;
}

// The polyline a vertex group goes to, or none (a VERTEX before any polyline of this read).
TPolylineRec* CurrentPolyline() {
  return PolylineCount > 0 ? &Polylines[static_cast<std::size_t>(PolylineCount) - 1] : nullptr;
}

// Group 10 of a VERTEX or an LWPOLYLINE: a new vertex, and its x. Its other values start at 0, its widths at
// the POLYLINE header's.
void AddVertexX(const TReaderState& state, TPolylineRec& rec, TPairValue& v, int codeLine) {
  if (rec.VertexCount >= kMaxVertices)
    throw TDxfReadError(std::string(kTooManyVerticesMessage), std::string(state.FileName), codeLine);
  AppendVertex(rec, TPoint3D{}, 0.0, state.DefaultStartWidth, state.DefaultEndWidth);
  rec.Vertices.back().x = v.Real();
}

// The entry of the polyline's last vertex in one of its per-vertex vectors. The caller makes sure there is one
// before it converts the value: a group before the first vertex is ignored, even when it is no number.
template <class T>
T& OfLastVertex(const TPolylineRec& rec, std::vector<T>& values) {
  return values[static_cast<std::size_t>(rec.VertexCount) - 1];
}

void SetVertexY(TPolylineRec& rec, TPairValue& v) {
  if (rec.VertexCount > 0) OfLastVertex(rec, rec.Vertices).y = v.Real();
}

void SetVertexZ(TPolylineRec& rec, TPairValue& v) {
  if (rec.VertexCount > 0) OfLastVertex(rec, rec.Vertices).z = v.Real();
}

// Groups 210, 220 and 230 of a polyline: its extrusion direction, the z axis of its OCS; false for others.
bool NormalGroup(TPolylineRec& rec, std::int32_t code, TPairValue& v) {
  double* component = code == 210 ? &rec.Normal.x : code == 220 ? &rec.Normal.y : code == 230 ? &rec.Normal.z : nullptr;
  if (component == nullptr) return false;
  *component = v.Real();
  return true;
}

// A value that does not convert leaves field as it was.
template <class T, class TConvert>
void SetIfConverts(T& field, TConvert convert) {
  try {
    field = convert();
  } catch (const TConvertError&) {
  }
}

// Group 90 of an LWPOLYLINE, its number of vertices: room for them at once, so that a small polyline costs one
// allocation per vector. Only a hint: a count that does not convert is passed by, and the room stays small, so
// that a file of polylines that claim many vertices and give none costs no memory out of proportion.
void ReserveVertices(TPolylineRec& rec, TPairValue& v) {
  constexpr std::int32_t kMostRoom = 16;
  std::int32_t count = 0;
  SetIfConverts(count, [&] { return v.Int(); });
  const auto room = static_cast<std::size_t>(std::clamp(count, 0, kMostRoom));
  rec.Vertices.reserve(room);
  rec.VertexFlags.reserve(room);
  rec.Bulges.reserve(room);
  rec.StartWidths.reserve(room);
  rec.EndWidths.reserve(room);
}

// Groups 42, 40 and 41 of a vertex (bulge, start and end width), ignored while the polyline has no vertex yet;
// false for any other group.
bool VertexValueGroup(TPolylineRec& rec, std::int32_t code, TPairValue& v) {
  std::vector<double>* values = code == 42 ? &rec.Bulges
                                : code == 40 ? &rec.StartWidths
                                : code == 41 ? &rec.EndWidths
                                             : nullptr;
  if (values == nullptr) return false;
  if (rec.VertexCount > 0) OfLastVertex(rec, *values) = v.Real();
  return true;
}

// The groups of the properties a line or polyline keeps for its copy; false for any other group.
bool PropsGroup(TEntityProps& props, std::int32_t code, TPairValue& v) {
  switch (code) {
    case 62: props.Color = v.Int(); return true;
    case 6: props.Linetype.Assign(v.Text()); return true;
    case 370: props.Lineweight = v.Int(); return true;
    case 48: props.LinetypeScale = v.Real(); return true;
    case 39: props.Thickness = v.Real(); return true;
    default: return false;
  }
}

std::string TextOfCode1(std::string_view value) {
  std::string s = StripMTextCodes(value);
  const std::size_t at = s.find(kPhiCode);
  if (at != std::string::npos) s.replace(at, kPhiCode.size(), kPhiSjis);
  return s;
}

void StyleSteps(TReaderState& state, std::int32_t code, TPairValue& v) {
  if (state.StyleOpen) {
    TStyleRec& rec = Styles[static_cast<std::size_t>(state.StyleIndex) - 1];
    switch (code) {
      case 0: state.StyleOpen = false; break;
      case 2: rec.Name.Assign(v.Text()); break;
      case 40: rec.Height = v.Real(); break;
      default: break;
    }
  }
  if (code == 0 && v == "STYLE") {
    TStyleRec& rec = StartRecord(Styles, state.StyleIndex);
    rec.Name.Clear();
    rec.Height = 10.0;
    state.StyleOpen = true;
  }
}

// The groups of the open entity record. At most one entity record is open between pairs, and a code-0 pair
// only closes it; so a pair with another code goes to that one record.
void LineGroup(std::int32_t code, TPairValue& v) {
  TLineRec& rec = Lines[static_cast<std::size_t>(LineCount) - 1];
  switch (code) {
    case 8: rec.Layer.Assign(v.Text()); break;
    case 10: rec.StartPt.x = v.Real(); break;
    case 20: rec.StartPt.y = v.Real(); break;
    case 30: rec.StartPt.z = v.Real(); break;
    case 11: rec.EndPt.x = v.Real(); break;
    case 21: rec.EndPt.y = v.Real(); break;
    case 31: rec.EndPt.z = v.Real(); break;
    default: PropsGroup(rec.Props, code, v); break;
  }
}

void TextGroup(std::int32_t code, TPairValue& v) {
  TTextRec& rec = Texts[static_cast<std::size_t>(TextCount) - 1];
  switch (code) {
    case 1: rec.Text.Assign(TextOfCode1(v.Text())); break;
    case 3: {
      // Appending more than the room left changes nothing: the field keeps its first 255 bytes.
      const std::size_t room = kTextCapacity - rec.Text.Length;
      std::string joined = rec.Text.Str();
      joined.append(v.Text().substr(0, room));
      rec.Text.Assign(joined);
      break;
    }
    case 7: rec.Height = StyleHeight(v.Text()); break;
    case 10: rec.InsertPt.x = v.Real(); break;
    case 20: rec.InsertPt.y = v.Real(); break;
    case 30: rec.InsertPt.z = v.Real(); break;
    case 11: rec.AlignPt.x = v.Real(); break;
    case 21: rec.AlignPt.y = v.Real(); break;
    case 31: rec.AlignPt.z = v.Real(); break;
    case 40: rec.Height = v.Real(); break;
    case 72: rec.HJust = v.Int(); break;
    case 73: rec.VJust = v.Int(); break;
    default: break;
  }
}

void ArcGroup(std::int32_t code, TPairValue& v) {
  TArcRec& rec = Arcs[static_cast<std::size_t>(ArcCount) - 1];
  switch (code) {
    case 8: rec.Layer.Assign(v.Text()); break;
    case 10: rec.Center.x = v.Real(); break;
    case 20: rec.Center.y = v.Real(); break;
    case 30: rec.Center.z = v.Real(); break;
    case 40: rec.Radius = v.Real(); break;
    case 50: rec.StartAngle = v.Real(); break;
    case 51: rec.EndAngle = v.Real(); break;
    default: break;
  }
}

void CircleGroup(std::int32_t code, TPairValue& v) {
  TCircleRec& rec = Circles[static_cast<std::size_t>(CircleCount) - 1];
  switch (code) {
    case 8: rec.Layer.Assign(v.Text()); break;
    case 10: rec.Center.x = v.Real(); break;
    case 20: rec.Center.y = v.Real(); break;
    case 30: rec.Center.z = v.Real(); break;
    case 40: rec.Radius = v.Real(); break;
    default: break;
  }
}

void PolylineGroup(TReaderState& state, std::int32_t code, TPairValue& v) {
  TPolylineRec& rec = Polylines[static_cast<std::size_t>(PolylineCount) - 1];
  switch (code) {
    case 8: rec.Layer.Assign(v.Text()); break;
    case 70: rec.Flags = v.Int(); break;
    case 30: rec.Elevation = v.Real(); break;
    case 40: state.DefaultStartWidth = v.Real(); break;
    case 41: state.DefaultEndWidth = v.Real(); break;
    default:
      if (!NormalGroup(rec, code, v)) PropsGroup(rec.Props, code, v);
      break;
  }
}

void VertexGroup(const TReaderState& state, std::int32_t code, TPairValue& v, int codeLine) {
  TPolylineRec* rec = CurrentPolyline();
  if (!rec) return;
  switch (code) {
    case 10: AddVertexX(state, *rec, v, codeLine); break;
    case 20: SetVertexY(*rec, v); break;
    case 30: SetVertexZ(*rec, v); break;
    case 70: if (rec->VertexCount > 0) OfLastVertex(*rec, rec->VertexFlags) = v.Int(); break;
    default: VertexValueGroup(*rec, code, v); break;
  }
}

void LwPolylineGroup(const TReaderState& state, std::int32_t code, TPairValue& v, int codeLine) {
  TPolylineRec& rec = Polylines[static_cast<std::size_t>(PolylineCount) - 1];
  switch (code) {
    case 8: rec.Layer.Assign(v.Text()); break;
    case 10: AddVertexX(state, rec, v, codeLine); break;
    case 20: SetVertexY(rec, v); break;
    case 70: rec.Flags = v.Int(); break;
    case 90: ReserveVertices(rec, v); break;
    case 38: rec.Elevation = v.Real(); break;
    case 43: rec.ConstantWidth = v.Real(); break;
    default:
      if (!VertexValueGroup(rec, code, v) && !NormalGroup(rec, code, v)) PropsGroup(rec.Props, code, v);
      break;
  }
}

void GroupOfOpenEntity(TReaderState& state, std::int32_t code, TPairValue& v, int codeLine) {
  if (state.LineOpen) LineGroup(code, v);
  else if (state.TextOpen) TextGroup(code, v);
  else if (state.ArcOpen) ArcGroup(code, v);
  else if (state.CircleOpen) CircleGroup(code, v);
  else if (state.PolylineOpen) PolylineGroup(state, code, v);
  else if (state.VertexOpen) VertexGroup(state, code, v, codeLine);
  else if (state.LwPolylineOpen) LwPolylineGroup(state, code, v, codeLine);
}

// A code-0 pair in ENTITIES: it closes whatever record is open, and its keyword may start the next one.
void StartEntity(TReaderState& state, std::string_view v) {
  state.LineOpen = state.TextOpen = state.ArcOpen = state.CircleOpen = false;
  state.PolylineOpen = state.VertexOpen = state.LwPolylineOpen = false;
  if (v == "LINE") {
    TLineRec& rec = StartRecord(Lines, LineCount);
    rec.StartPt.z = 0.0;
    rec.EndPt.z = 0.0;
    rec.Layer.Clear();
    rec.Props = TEntityProps{};
    state.LineOpen = true;
  } else if (v == "TEXT" || v == "MTEXT") {
    TTextRec& rec = StartRecord(Texts, TextCount);
    rec.InsertPt = TPoint3D{};
    rec.Text.Clear();
    rec.Height = StyleHeight("Standard");
    state.TextOpen = true;
  } else if (v == "ARC") {
    StartRecord(Arcs, ArcCount).Layer.Clear();
    state.ArcOpen = true;
  } else if (v == "CIRCLE") {
    StartRecord(Circles, CircleCount).Layer.Clear();
    state.CircleOpen = true;
  } else if (v == "POLYLINE") {
    StartPolyline(state);
    state.PolylineOpen = true;
  } else if (v == "VERTEX") {
    state.VertexOpen = true;
  } else if (v == "LWPOLYLINE") {
    StartPolyline(state);
    state.LwPolylineOpen = true;
  }
}

// The HEADER section's variables that say what a new object gets. A value that does not convert leaves its
// variable at the default rather than failing the read: the file's entities are still good.
THeaderVariable HeaderVariableNamed(std::string_view name) {
  if (name == "$CLAYER") return THeaderVariable::CLayer;
  if (name == "$CECOLOR") return THeaderVariable::CeColor;
  if (name == "$CELTYPE") return THeaderVariable::CeLtype;
  if (name == "$CELWEIGHT") return THeaderVariable::CeLweight;
  if (name == "$CELTSCALE") return THeaderVariable::CeLtScale;
  if (name == "$THICKNESS") return THeaderVariable::Thickness;
  if (name == "$PLINEWID") return THeaderVariable::PlineWid;
  if (name == "$ELEVATION") return THeaderVariable::Elevation;
  if (name == "$UCSORG") return THeaderVariable::UcsOrg;
  if (name == "$UCSXDIR") return THeaderVariable::UcsXDir;
  if (name == "$UCSYDIR") return THeaderVariable::UcsYDir;
  if (name == "$ANGBASE") return THeaderVariable::AngBase;
  if (name == "$ANGDIR") return THeaderVariable::AngDir;
  return THeaderVariable::None;
}

// Group 10, 20 or 30 of a point variable; the point counts as given once all three converted.
void HeaderPointGroup(TReaderState& state, std::int32_t code, TPairValue& v, TPoint3D& point, bool& given) {
  const unsigned group = code == 10 ? 1u : code == 20 ? 2u : code == 30 ? 4u : 0u;
  if (group == 0) return;
  double& coordinate = code == 10 ? point.x : code == 20 ? point.y : point.z;
  try {
    coordinate = v.Real();
    state.HeaderPointGroups |= group;
  } catch (const TConvertError&) {
    state.HeaderPointGroups |= 8u;  // one group failed: the point stays not given
  }
  given = state.HeaderPointGroups == 7u;
}

void HeaderStep(TReaderState& state, std::int32_t code, TPairValue& v) {
  if (code == 9 || code == 0) {
    state.HeaderVariable = code == 9 ? HeaderVariableNamed(v.Text()) : THeaderVariable::None;
    state.HeaderPointGroups = 0;
    return;
  }
  TDxfHeader& h = DxfHeader;
  switch (state.HeaderVariable) {
    case THeaderVariable::None: break;
    case THeaderVariable::CLayer:
      if (code == 8) {
        h.CLayer.Assign(v.Text());
        h.HasCLayer = true;
      }
      break;
    case THeaderVariable::CeColor: if (code == 62) SetIfConverts(h.CeColor, [&] { return v.Int(); }); break;
    case THeaderVariable::CeLtype: if (code == 6) h.CeLtype.Assign(v.Text()); break;
    case THeaderVariable::CeLweight: if (code == 370) SetIfConverts(h.CeLweight, [&] { return v.Int(); }); break;
    case THeaderVariable::CeLtScale: if (code == 40) SetIfConverts(h.CeLtScale, [&] { return v.Real(); }); break;
    case THeaderVariable::Thickness: if (code == 40) SetIfConverts(h.Thickness, [&] { return v.Real(); }); break;
    case THeaderVariable::PlineWid: if (code == 40) SetIfConverts(h.PlineWid, [&] { return v.Real(); }); break;
    case THeaderVariable::Elevation: if (code == 40) SetIfConverts(h.Elevation, [&] { return v.Real(); }); break;
    case THeaderVariable::UcsOrg: HeaderPointGroup(state, code, v, h.UcsOrg, h.HasUcsOrg); break;
    case THeaderVariable::UcsXDir: HeaderPointGroup(state, code, v, h.UcsXDir, h.HasUcsXDir); break;
    case THeaderVariable::UcsYDir: HeaderPointGroup(state, code, v, h.UcsYDir, h.HasUcsYDir); break;
    case THeaderVariable::AngBase:
      // A base that does not convert, or is no number, leaves the drawing's angles as not given.
      if (code == 50) SetIfConverts(h.Angles.BaseRadians, [&] {
        const double base = v.Real();
        h.Angles.HasBase = std::isfinite(base);
        return h.Angles.HasBase ? base : 0.0;
      });
      break;
    case THeaderVariable::AngDir:
      if (code == 70) SetIfConverts(h.Angles.Direction, [&] {
        const std::int32_t direction = v.Int();
        h.Angles.HasDirection = direction == 0 || direction == 1;
        return h.Angles.HasDirection ? direction : 0;
      });
      break;
  }
}

// One pass over the pairs, from the first to the stop test or the last pair.
void ReadPairs(TDxfPairScanner& scanner, TReaderState& state) {
  std::string codeCopy;
  for (;;) {
    std::int32_t code = 0;
    std::string_view codeText;
    const bool plainCode = TakeDxfPlainInt(scanner, code);
    if (!plainCode) {
      if (!NextDxfLine(scanner, codeText)) break;
      codeCopy.assign(codeText);  // looking for the value line may refill the buffer under codeText
    }
    if (AtDxfEnd(scanner)) break;  // a code line without its value line is never looked at
    const int codeLine = scanner.LinesTaken;
    if (!plainCode) code = IntOf(codeCopy, codeLine);
    TPairValue v(scanner, codeLine + 1);

    if (state.InEntities && code == 0 && v == "ENDSEC") break;
    if (state.InStyleTable) StyleSteps(state, code, v);
    if (state.InEntities) {
      if (code == 0) StartEntity(state, v.Text());
      else GroupOfOpenEntity(state, code, v, codeLine);
    } else if (code == 9 || state.HeaderVariable != THeaderVariable::None) {
      HeaderStep(state, code, v);
    }
    const bool sectionName = state.SectionStarted;
    state.SectionStarted = code == 0 && v == "SECTION";
    if (code == 2) {
      if (sectionName && v == "ENTITIES") {
        state.InEntities = true;
        state.InStyleTable = false;
      } else if (v == "STYLE") {
        state.InStyleTable = true;
      }
    }
    v.Finish();
  }
}

// Reads the pairs into the store (already set to 100 slots), with room for the estimated records of a file of
// fileSize bytes; gives the number of style records started.
std::int32_t ReadIntoStore(TDxfPairScanner& scanner, const TRecordEstimate& estimate, std::size_t fileSize,
                           std::string_view fileName) {
  MakeRoom(Lines, estimate.Lines, fileSize);
  MakeRoom(Polylines, estimate.Polylines, fileSize);
  TReaderState state;
  state.FileName = fileName;
  ReadPairs(scanner, state);
  return state.StyleIndex;
}

}  // namespace

std::int32_t ReadDxfSource(TDxfByteSource& source, std::string_view fileName, std::size_t pieceBytes,
                           std::int32_t& styleCount) {
  ResetCounters();
  styleCount = 0;
  SetReadSlots();
  TDxfPieces pieces;
  pieces.Source = &source;
  pieces.Capacity = pieceBytes > kEstimateOverlap ? pieceBytes : kEstimateOverlap + 1;
  pieces.Buffer = std::make_unique_for_overwrite<char[]>(pieces.Capacity);
  TRecordEstimate estimate;
  bool wholeInBuffer = false;
  const std::size_t fileSize = CountRecordsOfSource(pieces, estimate, wholeInBuffer);
  if (wholeInBuffer) {
    TDxfPairScanner scanner{std::string_view(pieces.Buffer.get(), fileSize)};
    styleCount = ReadIntoStore(scanner, estimate, fileSize, fileName);
  } else {
    // The second pass reads the pairs piece by piece. Should the source fail now, after it read whole once, the
    // read ends as one that could not read its file: counters 0 and 100 slots.
    source.Rewind();
    TDxfPairScanner scanner{std::string_view(pieces.Buffer.get(), 0)};
    scanner.Pieces = &pieces;
    try {
      styleCount = ReadIntoStore(scanner, estimate, fileSize, fileName);
    } catch (const TDxfReadError& error) {
      if (error.Line() == 0) {
        ResetCounters();
        SetReadSlots();
      }
      throw;
    }
  }
  pieces = {};  // the buffer goes before Lines is cut
  CutLines();
  return LineCount;
}

std::int32_t ReadDxfEntities(std::string_view fileName, std::int32_t& styleCount) {
  ResetCounters();
  styleCount = 0;
  TDxfFileSource file;
  switch (file.Open(fileName)) {
    case TDxfFileSource::TOpened::Missing:
      break;
    case TDxfFileSource::TOpened::Unreadable:
      SetReadSlots();
      file.Fail();
    case TDxfFileSource::TOpened::Open:
      return ReadDxfSource(file, fileName, kDxfPieceBytes, styleCount);
  }
  CutLines();
  return LineCount;
}

std::int32_t ReadDxfBytes(std::string_view bytes, std::int32_t& styleCount) {
  ResetCounters();
  styleCount = 0;
  SetReadSlots();
  TDxfPairScanner scanner{bytes};
  styleCount = ReadIntoStore(scanner, EstimateRecords(bytes), bytes.size(), {});
  CutLines();
  return LineCount;
}

std::int32_t ReadDxfEntities(std::string_view fileName) {
  std::int32_t styleCount;
  return ReadDxfEntities(fileName, styleCount);
}

std::int32_t ReadDxfBytes(std::string_view bytes) {
  std::int32_t styleCount;
  return ReadDxfBytes(bytes, styleCount);
}

}  // namespace swivex
