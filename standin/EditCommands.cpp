// CHPROP, UNDO and U, and the running object snap, as a Japanese AutoCAD does them. What U takes back is kept
// simply: the drawing as it was before each command that changes it (LINE, PLINE, CHPROP), or before UNDO BEgin
// for a whole group.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "standin/HostCommands.h"

namespace swivex {

namespace {

constexpr const char* kChpropPrompt =
    "変更するプロパティを入力 [色(C)/画層(LA)/線種(LT)/線種尺度(S)/線の太さ(LW)/厚さ(T)]: ";
constexpr const char* kUndoPrompt =
    "元に戻す操作の数を入力 または [自動(A)/コントロール(C)/開始(BE)/終了(E)/マーク(M)/後退(B)] <1>: ";
constexpr const char* kVaries = "各種";

// AutoCAD's predefined lineweights in hundredths of a millimetre; a typed width gets the nearest.
constexpr int kLineweights[] = {0, 5, 9, 13, 15, 18, 20, 25, 30, 35, 40, 50, 53, 60, 70, 80, 90, 100, 106, 120, 140,
                                158, 200, 211};

std::string WithoutUnderscore(std::string_view typed) {
  std::string s = Upper(typed);
  while (!s.empty() && s.front() == '_') s.erase(0, 1);
  return s;
}

std::string ColorText(int color) {
  return color == kColorByLayer ? "BYLAYER" : color == kColorByBlock ? "BYBLOCK" : std::to_string(color);
}

std::string LineweightText(const THost& h, int lw) {
  if (lw == kLineweightByLayer) return "ByLayer";
  if (lw == kLineweightByBlock) return "ByBlock";
  if (lw == kLineweightDefault) return "既定";
  char buf[32];
  if (h.Lwunits == 0) std::snprintf(buf, sizeof buf, "%.3f\"", lw / 2540.0);
  else std::snprintf(buf, sizeof buf, "%.2f mm", lw / 100.0);
  return buf;
}

// The value the selected objects share, shown as the prompt's default, or 各種 when they differ.
template <typename TGet>
std::string SharedValue(const THost& h, TGet get) {
  std::string shared;
  for (std::size_t k = 0; k < h.Selection.size(); ++k) {
    const std::string v = get(h.Entities[static_cast<std::size_t>(h.Selection[k])]);
    if (k > 0 && v != shared) return kVaries;
    shared = v;
  }
  return shared;
}

// Keeps an object's state before its first change in this step, for U.
void Remember(TUndoStep& step, int index, const TEntity& e) {
  if (static_cast<std::size_t>(index) >= step.EntityCount) return;  // new in this step: U drops it anyway
  for (const auto& c : step.Changed)
    if (c.first == index) return;
  step.Changed.emplace_back(index, e);
}

template <typename TSet>
void ChangeSelected(THost& h, TSet set) {
  for (const int i : h.Selection) {
    if (i < 0 || static_cast<std::size_t>(i) >= h.Entities.size()) continue;
    if (!h.Undo.empty()) Remember(h.Undo.back(), i, h.Entities[static_cast<std::size_t>(i)]);
    set(h.Entities[static_cast<std::size_t>(i)]);
  }
}

void AskProperty(THost& h) { Ask(h, THostState::ChpropProperty, kChpropPrompt); }

// A value read (ok) goes to the selected objects and the property prompt comes back; a value not read gets the
// complaint and its prompt again. `set` may hold what the reading wrote: it runs after `ok` is known.
template <typename TSet>
void ChangeOrComplain(THost& h, bool ok, const char* complaint, TSet set) {
  if (!ok) return Say(h, complaint);
  ChangeSelected(h, set);
  AskProperty(h);
}

void PropertyInput(THost& h, const std::string& typed) {
  if (typed.empty()) {
    h.PreviousSelection = h.Selection;
    return ToIdle(h);
  }
  if (IsKeyword(typed, "Color")) {
    Ask(h, THostState::ChpropColor, "新しい色 [TrueColor(T)/カラー ブック(CO)] <" +
                                        SharedValue(h, [](const TEntity& e) { return ColorText(e.Color); }) + ">: ");
  } else if (IsKeyword(typed, "LAyer")) {
    Ask(h, THostState::ChpropLayer,
        "新しい画層名を入力 <" + SharedValue(h, [](const TEntity& e) { return e.Layer; }) + ">: ");
  } else if (IsKeyword(typed, "LType")) {
    Ask(h, THostState::ChpropLinetype,
        "新しい線種名を入力 <" + SharedValue(h, [](const TEntity& e) { return e.Linetype; }) + ">: ");
  } else if (IsKeyword(typed, "ltScale")) {
    Ask(h, THostState::ChpropLtScale, "新しい線種尺度を指定 <" +
                                          SharedValue(h, [](const TEntity& e) { return Fixed4(e.LinetypeScale); }) + ">: ");
  } else if (IsKeyword(typed, "LWeight")) {
    Ask(h, THostState::ChpropLineweight, "新しい線の太さを入力 <" +
                                             SharedValue(h, [&h](const TEntity& e) { return LineweightText(h, e.Lineweight); }) +
                                             ">: ");
  } else if (IsKeyword(typed, "Thickness")) {
    Ask(h, THostState::ChpropThickness,
        "新しい厚さを指定 <" + SharedValue(h, [](const TEntity& e) { return Fixed4(e.Thickness); }) + ">: ");
  } else {
    Say(h, "無効なオプション キーワードです。");
  }
}

// Takes back the newest step: its drawing comes back.
void Restore(THost& h, const TUndoStep& step) {
  if (step.EntityCount < h.Entities.size()) h.Entities.resize(step.EntityCount);
  for (const auto& [index, e] : step.Changed)
    if (static_cast<std::size_t>(index) < h.Entities.size()) h.Entities[static_cast<std::size_t>(index)] = e;
  h.Layers = step.Layers;
  h.Linetypes = step.Linetypes;
  h.Plinewid = step.Plinewid;
  h.Current = step.Current;
  h.Elevation = step.Elevation;
  const int count = static_cast<int>(h.Entities.size());
  h.PreviousSelection.erase(std::remove_if(h.PreviousSelection.begin(), h.PreviousSelection.end(),
                                           [count](int i) { return i >= count; }),
                            h.PreviousSelection.end());
}

TUndoStep Snapshot(const THost& h, const std::string& name) {
  TUndoStep step;
  step.Name = name;
  step.EntityCount = h.Entities.size();
  step.Layers = h.Layers;
  step.Linetypes = h.Linetypes;
  step.Plinewid = h.Plinewid;
  step.Current = h.Current;
  step.Elevation = h.Elevation;
  return step;
}

bool HasOpenGroup(const THost& h) {
  return std::any_of(h.Undo.begin(), h.Undo.end(), [](const TUndoStep& s) { return s.Open; });
}

// UNDO End: the commands since BEgin become the group's one step.
void CloseGroup(THost& h) {
  const auto open = std::find_if(h.Undo.begin(), h.Undo.end(), [](const TUndoStep& s) { return s.Open; });
  if (open == h.Undo.end()) return;
  open->Open = false;
  for (auto inner = open + 1; inner != h.Undo.end(); ++inner)
    for (const auto& [index, e] : inner->Changed) Remember(*open, index, e);
  h.Undo.erase(open + 1, h.Undo.end());
}

bool TakeBackOne(THost& h, std::string& name) {
  if (h.Undo.empty()) return false;
  TUndoStep& top = h.Undo.back();
  if (top.Open) return false;  // not past the BEgin of a group still open
  Restore(h, top);
  name = top.Name;
  h.Undo.pop_back();
  return true;
}

void TakeBack(THost& h, int count) {
  std::string names;
  for (int i = 0; i < count; ++i) {
    std::string name;
    if (!TakeBackOne(h, name)) {
      if (!names.empty()) h.History.back() += names;
      Say(h, HasOpenGroup(h) ? "グループの開始点より前には戻せません。UNDO の 終了(E) でグループを閉じてください。"
                             : "すべて元に戻されました");
      return;
    }
    names += " " + name;
  }
  h.History.back() += names;  // AutoCAD names what it took back after the command: "コマンド: U LINE"
}

}  // namespace

bool ReadColorInput(const std::string& typed, int& color) {
  static const char* const names[] = {"RED", "YELLOW", "GREEN", "CYAN", "BLUE", "MAGENTA", "WHITE"};
  const std::string key = WithoutUnderscore(typed);
  if (key == "BYLAYER") color = kColorByLayer;
  else if (key == "BYBLOCK") color = kColorByBlock;
  else {
    for (int i = 0; i < 7; ++i)
      if (key == names[i]) return color = i + 1, true;
    double v = 0;
    if (!ParseNumber(typed, v) || v != std::floor(v) || v < 1 || v > 255) return false;
    color = static_cast<int>(v);
  }
  return true;
}

bool ReadLineweightInput(const THost& h, const std::string& typed, int& lw) {
  const std::string key = WithoutUnderscore(typed);
  if (key == "BYLAYER") lw = kLineweightByLayer;
  else if (key == "BYBLOCK") lw = kLineweightByBlock;
  else if (key == "DEFAULT") lw = kLineweightDefault;
  else {
    double mm = 0;
    if (!ParseNumber(typed, mm) || !(mm >= 0) || mm > 10) return false;
    if (h.Lwunits == 0) mm *= 25.4;  // typed in inches
    const double wanted = mm * 100;
    lw = kLineweights[0];
    for (const int candidate : kLineweights)
      if (std::fabs(candidate - wanted) < std::fabs(lw - wanted)) lw = candidate;
  }
  return true;
}

// A linetype the drawing has loaded, uses, or can load from acad.lin; its name as the drawing keeps it.
bool FindLinetype(THost& h, const std::string& typed, std::string& name) {
  const std::string key = WithoutUnderscore(typed);
  if (key == "BYLAYER" || key == "BYBLOCK") {
    name = LinetypeName(key);
    return true;
  }
  if (SameName(typed, "Continuous")) return name = "Continuous", true;
  for (const auto& n : h.Linetypes)
    if (SameName(n, typed)) return name = n, true;
  for (const auto& e : h.Entities)
    if (SameName(e.Linetype, typed)) return name = e.Linetype, true;
  if (!IsAcadLinLinetype(typed)) return false;
  name = Upper(typed);
  h.Linetypes.push_back(name);  // loaded from acad.lin, as CHPROP does
  return true;
}

bool IsLineweight(int lw) {
  if (lw == kLineweightByLayer || lw == kLineweightByBlock || lw == kLineweightDefault) return true;
  return std::find(std::begin(kLineweights), std::end(kLineweights), lw) != std::end(kLineweights);
}

std::string Fixed4(double v) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.4f", v);
  std::string s(buf);
  if (s == "-0.0000") s.erase(0, 1);
  return s;
}

bool IsKeyword(std::string_view typed, std::string_view option) {
  const std::string key = WithoutUnderscore(typed);
  std::string capitals;
  for (const char c : option)
    if (c >= 'A' && c <= 'Z') capitals += c;
  const std::string full = Upper(option);
  if (key.empty()) return false;
  if (key == full || key == capitals) return true;
  // An abbreviation: the option's leading capitals and then more of its name.
  return full.rfind(capitals, 0) == 0 && key.size() >= capitals.size() && full.rfind(key, 0) == 0;
}

TPointInput ReadTypedPoint(THost& h, const std::string& typed, TPoint3D& world) {
  const std::string key = WithoutUnderscore(typed);
  if (key == "NON" || key == "NONE") {
    h.NoSnapNext = true;
    return TPointInput::NoSnap;
  }
  TPoint3D p;
  bool hasZ = false;
  if (!ParsePointText(typed, p, &hasZ)) return TPointInput::Invalid;
  if (!hasZ) p.z = h.Elevation;  // a point typed as x,y lies at the current elevation
  world = UcsToWorld(h.Ucs, p);
  // OSNAPCOORD 0: the running end point snap wins over typed coordinates (16384 in OSMODE turns snaps off).
  const bool snap = !h.NoSnapNext && (h.Snap.Osmode & 1) && !(h.Snap.Osmode & 16384) && h.Snap.Osnapcoord == 0;
  h.NoSnapNext = false;
  if (!snap) return TPointInput::Point;
  double best = h.Snap.Aperture;
  TPoint3D pulled = world;
  auto consider = [&](const TPoint3D& q) {
    const double d = std::hypot(q.x - world.x, q.y - world.y);
    if (d <= best) best = d, pulled = q;
  };
  for (const auto& e : h.Entities) {
    switch (e.Kind) {
      case TEntityKind::Line:
        consider(e.Start);
        consider(e.End);
        break;
      case TEntityKind::LwPolyline:
        for (const auto& v : e.Vertices) consider(v);
        break;
      case TEntityKind::Arc:
        for (const double a : {e.StartAngle, e.EndAngle}) {
          const double r = a * 3.14159265358979323846 / 180;
          consider({e.Center.x + e.Radius * std::cos(r), e.Center.y + e.Radius * std::sin(r), e.Center.z});
        }
        break;
      default:
        break;
    }
  }
  world = pulled;
  return TPointInput::Point;
}

std::vector<int> LastObject(const THost& h) {
  for (std::size_t i = h.Entities.size(); i-- > 0;)
    if (IsVisible(h, h.Entities[i])) return {static_cast<int>(i)};
  return {};
}

void StartChprop(THost& h) {
  h.Selection.clear();
  h.SingleSelect = false;
  Ask(h, THostState::ChpropSelect, std::string(kSelectPrompt));
}

void ChpropSelectionDone(THost& h) {
  if (h.Selection.empty()) return ToIdle(h);  // nothing chosen: CHPROP ends
  AskProperty(h);
}

void ChpropInput(THost& h, const std::string& typed) {
  Echo(h, typed);
  if (h.State == THostState::ChpropProperty) return PropertyInput(h, typed);
  if (typed.empty()) return AskProperty(h);  // the value stays as it is
  double v = 0;
  int n = 0;
  switch (h.State) {
    case THostState::ChpropColor:
      return ChangeOrComplain(h, ReadColorInput(typed, n),
                              "色の名前、1 から 255 までの番号、BYLAYER または BYBLOCK を入力してください。",
                              [&n](TEntity& e) { e.Color = n; });
    case THostState::ChpropLayer: {
      // An unknown name makes the layer (colour 7, Continuous), as CHPROP does.
      const std::string name = WithoutQuotes(typed);
      if (!HasLayer(h, name)) EnsureLayer(h, name);
      ChangeSelected(h, [&name](TEntity& e) { e.Layer = name; });
      break;
    }
    case THostState::ChpropLinetype: {
      std::string name;
      if (!FindLinetype(h, WithoutQuotes(typed), name)) {
        Say(h, "線種 " + typed + " が見つかりません。LINETYPE[線種設定] コマンドを使用してロードしてください。");
        return AskProperty(h);
      }
      ChangeSelected(h, [&name](TEntity& e) { e.Linetype = name; });
      break;
    }
    case THostState::ChpropLtScale:
      return ChangeOrComplain(h, ParseNumber(typed, v) && v > 0 && std::isfinite(v),
                              "値は正で 0 以外である必要があります。", [&v](TEntity& e) { e.LinetypeScale = v; });
    case THostState::ChpropLineweight:
      return ChangeOrComplain(h, ReadLineweightInput(h, typed, n), "無効な線の太さです。",
                              [&n](TEntity& e) { e.Lineweight = n; });
    case THostState::ChpropThickness:
      return ChangeOrComplain(h, ParseNumber(typed, v) && std::isfinite(v), "距離が必要です。",
                              [&v](TEntity& e) { e.Thickness = v; });
    default:
      break;
  }
  AskProperty(h);
}

void StartUndo(THost& h) {
  Say(h, "現在の設定: 自動 = オン, コントロール = すべて, 結合 = はい, 画層 = はい");
  Ask(h, THostState::UndoOption, kUndoPrompt);
}

void UndoInput(THost& h, const std::string& typed) {
  Echo(h, typed);
  double count = 1;
  if (IsKeyword(typed, "BEgin")) {
    CloseGroup(h);  // a BEgin in an open group ends it and starts another
    TUndoStep group = Snapshot(h, "グループ");
    group.Open = true;
    h.Undo.push_back(std::move(group));
  } else if (IsKeyword(typed, "End")) {
    CloseGroup(h);  // no group open: nothing to end
  } else if (IsKeyword(typed, "Auto") || IsKeyword(typed, "Control") || IsKeyword(typed, "Mark") ||
             IsKeyword(typed, "Back")) {
    Say(h, "** このホストは UNDO の 自動/コントロール/マーク/後退 を扱いません **");
  } else if (typed.empty() || (ParseNumber(typed, count) && count >= 1 && count == std::floor(count))) {
    TakeBack(h, static_cast<int>(std::min(count, 1e6)));
  } else {
    Say(h, "整数値 または オプション キーワードが必要です。");
    return;
  }
  ToIdle(h);
}

void RecordUndoStep(THost& h, const std::string& name) {
  h.Undo.push_back(Snapshot(h, name));
}

void UndoLastStep(THost& h) { TakeBack(h, 1); }

}  // namespace swivex
