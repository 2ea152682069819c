#include "dxf/DxfReader.h"

#include <charconv>

#include "dxf/DxfFile.h"
#include "dxf/DxfPairScanner.h"
#include "dxf/EntityStore.h"
#include "text/NumText.h"

namespace swivex {

namespace {

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
};

constexpr std::string_view kPhiCode = "\\U+03C6";
constexpr std::string_view kPhiSjis = "\x83\xD3";

// Conversions that name the file line the text came from.
std::int32_t IntOf(std::string_view text, int line) {
  // Fast path for what DXF writes: blanks, then one to nine digits. Anything else goes to StrToInt, which also
  // gives the error; both give the same value where the fast path answers.
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && text.size() - i <= 9) {
    std::int32_t value = 0;
    std::size_t k = i;
    for (; k < text.size() && text[k] >= '0' && text[k] <= '9'; ++k) value = value * 10 + (text[k] - '0');
    if (k == text.size()) return value;
  }
  try {
    return StrToInt(text);
  } catch (TConvertError& error) {
    error.SetLine(line);
    throw;
  }
}

double RealOf(std::string_view text, int line) {
  // Fast path: text that from_chars takes whole and that starts like a decimal number ([-] then a digit or ".")
  // converts to the same double in StrToFloat, which checks the same text and then calls from_chars. The rest
  // (blanks, "+", inf and nan, out of range, errors) goes to StrToFloat.
  const std::size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
  if (first < text.size() && ((text[first] >= '0' && text[first] <= '9') || text[first] == '.')) {
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && end == text.data() + text.size()) return value;
  }
  try {
    return StrToFloat(text);
  } catch (TConvertError& error) {
    error.SetLine(line);
    throw;
  }
}

void ResetCounters() {
  LineCount = TextCount = ArcCount = CircleCount = PolylineCount = 0;
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

void CutLines() {
  Lines.resize(static_cast<std::size_t>(LineCount));
  Lines.shrink_to_fit();
}

// Counter up by 1 first, 100 more slots when it passes the last one; the new record is slot counter - 1.
template <class T>
T& StartRecord(std::vector<T>& slots, std::int32_t& counter) {
  ++counter;
  while (static_cast<std::size_t>(counter) > slots.size()) slots.resize(slots.size() + kSlotStep);
  return slots[static_cast<std::size_t>(counter) - 1];
}

void StartPolyline() {
  TPolylineRec& rec = StartRecord(Polylines, PolylineCount);
  for (TPoint3D& vertex : rec.Vertices) vertex.x = vertex.y = 0.0;
  for (std::int32_t& flag : rec.VertexFlags) flag = 0;
  rec.VertexCount = 0;
  rec.Flags = 0;
  rec.Layer.Clear();
}

// The polyline a vertex group goes to, or none (a VERTEX before any polyline of this read).
TPolylineRec* CurrentPolyline() {
  return PolylineCount > 0 ? &Polylines[static_cast<std::size_t>(PolylineCount) - 1] : nullptr;
}

// Group 10 of a VERTEX or an LWPOLYLINE: a new vertex, and its x.
void AddVertexX(const TReaderState& state, TPolylineRec& rec, std::string_view value, int codeLine) {
  if (rec.VertexCount >= kMaxVertices)
    throw TDxfReadError(std::string(kTooManyVerticesMessage), std::string(state.FileName), codeLine);
  ++rec.VertexCount;
  rec.Vertices[rec.VertexCount - 1].x = RealOf(value, codeLine + 1);
}

// Group 20 (and 70) of a vertex: ignored while the polyline has no vertex yet.
void SetVertexY(TPolylineRec& rec, std::string_view value, int valueLine) {
  if (rec.VertexCount > 0) rec.Vertices[rec.VertexCount - 1].y = RealOf(value, valueLine);
}

std::string TextOfCode1(std::string_view value) {
  std::string s = StripMTextCodes(value);
  const std::size_t at = s.find(kPhiCode);
  if (at != std::string::npos) s.replace(at, kPhiCode.size(), kPhiSjis);
  return s;
}

void StyleSteps(TReaderState& state, std::int32_t code, std::string_view v, int codeLine) {
  if (state.StyleOpen) {
    TStyleRec& rec = Styles[static_cast<std::size_t>(state.StyleIndex) - 1];
    switch (code) {
      case 0: state.StyleOpen = false; break;
      case 2: rec.Name.Assign(v); break;
      case 40: rec.Height = RealOf(v, codeLine + 1); break;
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

void LineStep(TReaderState& state, std::int32_t code, std::string_view v, int valueLine) {
  if (state.LineOpen) {
    TLineRec& rec = Lines[static_cast<std::size_t>(LineCount) - 1];
    switch (code) {
      case 0: state.LineOpen = false; break;
      case 8: rec.Layer.Assign(v); break;
      case 10: rec.StartPt.x = RealOf(v, valueLine); break;
      case 20: rec.StartPt.y = RealOf(v, valueLine); break;
      case 30: rec.StartPt.z = RealOf(v, valueLine); break;
      case 11: rec.EndPt.x = RealOf(v, valueLine); break;
      case 21: rec.EndPt.y = RealOf(v, valueLine); break;
      case 31: rec.EndPt.z = RealOf(v, valueLine); break;
      default: break;
    }
  }
  if (code == 0 && v == "LINE") {
    TLineRec& rec = StartRecord(Lines, LineCount);
    rec.StartPt.z = 0.0;
    rec.EndPt.z = 0.0;
    rec.Layer.Clear();
    state.LineOpen = true;
  }
}

void TextStep(TReaderState& state, std::int32_t code, std::string_view v, int valueLine) {
  if (state.TextOpen) {
    TTextRec& rec = Texts[static_cast<std::size_t>(TextCount) - 1];
    switch (code) {
      case 0: state.TextOpen = false; break;
      case 1: rec.Text.Assign(TextOfCode1(v)); break;
      case 3: {
        // Appending more than the room left changes nothing: the field keeps its first 255 bytes.
        const std::size_t room = kTextCapacity - rec.Text.Length;
        std::string joined = rec.Text.Str();
        joined.append(v.substr(0, room));
        rec.Text.Assign(joined);
        break;
      }
      case 7: rec.Height = StyleHeight(v); break;
      case 10: rec.InsertPt.x = RealOf(v, valueLine); break;
      case 20: rec.InsertPt.y = RealOf(v, valueLine); break;
      case 30: rec.InsertPt.z = RealOf(v, valueLine); break;
      case 11: rec.AlignPt.x = RealOf(v, valueLine); break;
      case 21: rec.AlignPt.y = RealOf(v, valueLine); break;
      case 31: rec.AlignPt.z = RealOf(v, valueLine); break;
      case 40: rec.Height = RealOf(v, valueLine); break;
      case 72: rec.HJust = IntOf(v, valueLine); break;
      case 73: rec.VJust = IntOf(v, valueLine); break;
      default: break;
    }
  }
  if (code == 0 && (v == "TEXT" || v == "MTEXT")) {
    TTextRec& rec = StartRecord(Texts, TextCount);
    rec.InsertPt = TPoint3D{};
    rec.Text.Clear();
    rec.Height = StyleHeight("Standard");
    state.TextOpen = true;
  }
}

void ArcStep(TReaderState& state, std::int32_t code, std::string_view v, int valueLine) {
  if (state.ArcOpen) {
    TArcRec& rec = Arcs[static_cast<std::size_t>(ArcCount) - 1];
    switch (code) {
      case 0: state.ArcOpen = false; break;
      case 8: rec.Layer.Assign(v); break;
      case 10: rec.Center.x = RealOf(v, valueLine); break;
      case 20: rec.Center.y = RealOf(v, valueLine); break;
      case 30: rec.Center.z = RealOf(v, valueLine); break;
      case 40: rec.Radius = RealOf(v, valueLine); break;
      case 50: rec.StartAngle = RealOf(v, valueLine); break;
      case 51: rec.EndAngle = RealOf(v, valueLine); break;
      default: break;
    }
  }
  if (code == 0 && v == "ARC") {
    StartRecord(Arcs, ArcCount).Layer.Clear();
    state.ArcOpen = true;
  }
}

void CircleStep(TReaderState& state, std::int32_t code, std::string_view v, int valueLine) {
  if (state.CircleOpen) {
    TCircleRec& rec = Circles[static_cast<std::size_t>(CircleCount) - 1];
    switch (code) {
      case 0: state.CircleOpen = false; break;
      case 8: rec.Layer.Assign(v); break;
      case 10: rec.Center.x = RealOf(v, valueLine); break;
      case 20: rec.Center.y = RealOf(v, valueLine); break;
      case 30: rec.Center.z = RealOf(v, valueLine); break;
      case 40: rec.Radius = RealOf(v, valueLine); break;
      default: break;
    }
  }
  if (code == 0 && v == "CIRCLE") {
    StartRecord(Circles, CircleCount).Layer.Clear();
    state.CircleOpen = true;
  }
}

void PolylineStep(TReaderState& state, std::int32_t code, std::string_view v, int valueLine) {
  if (state.PolylineOpen) {
    TPolylineRec& rec = Polylines[static_cast<std::size_t>(PolylineCount) - 1];
    switch (code) {
      case 0: state.PolylineOpen = false; break;
      case 8: rec.Layer.Assign(v); break;
      case 70: rec.Flags = IntOf(v, valueLine); break;
      default: break;
    }
  }
  if (code == 0 && v == "POLYLINE") {
    StartPolyline();
    state.PolylineOpen = true;
  }
}

void VertexStep(TReaderState& state, std::int32_t code, std::string_view v, int codeLine) {
  if (state.VertexOpen) {
    TPolylineRec* rec = CurrentPolyline();
    switch (code) {
      case 0: state.VertexOpen = false; break;
      case 10: if (rec) AddVertexX(state, *rec, v, codeLine); break;
      case 20: if (rec) SetVertexY(*rec, v, codeLine + 1); break;
      case 70:
        if (rec && rec->VertexCount > 0) rec->VertexFlags[rec->VertexCount - 1] = IntOf(v, codeLine + 1);
        break;
      default: break;
    }
  }
  if (code == 0 && v == "VERTEX") state.VertexOpen = true;
}

void LwPolylineStep(TReaderState& state, std::int32_t code, std::string_view v, int codeLine) {
  if (state.LwPolylineOpen) {
    TPolylineRec& rec = Polylines[static_cast<std::size_t>(PolylineCount) - 1];
    switch (code) {
      case 0: state.LwPolylineOpen = false; break;
      case 8: rec.Layer.Assign(v); break;
      case 10: AddVertexX(state, rec, v, codeLine); break;
      case 20: SetVertexY(rec, v, codeLine + 1); break;
      default: break;
    }
  }
  if (code == 0 && v == "LWPOLYLINE") {
    StartPolyline();
    state.LwPolylineOpen = true;
  }
}

// One pass over the pairs, from the first to the stop test or the last pair.
void ReadPairs(std::string_view bytes, TReaderState& state) {
  TDxfPairScanner scanner{bytes};
  std::string_view codeText, v;
  while (NextDxfPair(scanner, codeText, v)) {
    const int valueLine = scanner.LinesTaken;
    const int codeLine = valueLine - 1;
    const std::int32_t code = IntOf(codeText, codeLine);

    if (state.InEntities && code == 0 && v == "ENDSEC") break;
    if (state.InStyleTable) StyleSteps(state, code, v, codeLine);
    if (state.InEntities) {
      LineStep(state, code, v, valueLine);
      TextStep(state, code, v, valueLine);
      ArcStep(state, code, v, valueLine);
      CircleStep(state, code, v, valueLine);
      PolylineStep(state, code, v, valueLine);
      VertexStep(state, code, v, codeLine);
      LwPolylineStep(state, code, v, codeLine);
    }
    if (code == 2 && v == "ENTITIES") {
      state.InEntities = true;
      state.InStyleTable = false;
    }
    if (code == 2 && v == "STYLE") state.InStyleTable = true;
  }
}

// Reads the pairs into the store (already reset); gives the number of style records started.
std::int32_t ReadIntoStore(std::string_view bytes, std::string_view fileName) {
  TReaderState state;
  state.FileName = fileName;
  ReadPairs(bytes, state);
  return state.StyleIndex;
}

}  // namespace

std::int32_t ReadDxfEntities(std::string_view fileName, std::int32_t& styleCount) {
  ResetCounters();
  styleCount = 0;
  std::string bytes;
  if (ReadWholeDxfFile(fileName, bytes, SetReadSlots)) {
    styleCount = ReadIntoStore(bytes, fileName);
    std::string().swap(bytes);  // the file's bytes go before Lines is cut: one copy less at the peak
  }
  CutLines();
  return LineCount;
}

std::int32_t ReadDxfBytes(std::string_view bytes, std::int32_t& styleCount) {
  ResetCounters();
  styleCount = 0;
  SetReadSlots();
  styleCount = ReadIntoStore(bytes, {});
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
