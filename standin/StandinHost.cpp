#include "standin/StandinHost.h"

#include "standin/HostCommands.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace swivex {

// The helpers the command modules share (HostCommands.h).

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string WithoutQuotes(std::string_view s) {
  std::string out;
  for (const char c : s)
    if (c != '"') out += c;
  return out;
}

void Say(THost& h, std::string line) { h.History.push_back(std::move(line)); }

// The typed input goes to the history after the prompt it answered.
void Echo(THost& h, const std::string& input) { Say(h, h.Prompt + input); }

void ToIdle(THost& h) {
  h.State = THostState::Idle;
  h.Prompt = std::string(kIdlePrompt);
  h.Selection.clear();
  h.Points.clear();
  h.Bulges.clear();
  h.StartWidths.clear();
  h.EndWidths.clear();
  h.NoSnapNext = false;
  h.SingleSelect = false;
  h.DxfObjectsChosen = false;
}

void Ask(THost& h, THostState state, std::string prompt) {
  h.State = state;
  h.Prompt = std::move(prompt);
}

bool ParseNumber(std::string_view s, double& v) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() && r.ptr == s.data() + s.size() && !s.empty();
}

namespace {

std::string FoundText(const THost& h, std::size_t added, std::size_t total) {
  std::string s = std::to_string(added) + " " + h.Scenario.FoundWords;
  if (total != added) s += ", 合計 " + std::to_string(total) + " 個";
  return s;
}

void AddToSelection(THost& h, const std::vector<int>& items) {
  for (const int i : items)
    if (std::find(h.Selection.begin(), h.Selection.end(), i) == h.Selection.end()) h.Selection.push_back(i);
}

std::vector<int> AllEntities(const THost& h) {
  std::vector<int> all;
  for (std::size_t i = 0; i < h.Entities.size(); ++i) all.push_back(static_cast<int>(i));
  return all;
}

std::string FormatEchoNumber(const TEchoFormat& f, double v) {
  char buf[400];
  switch (f.Style) {
    case TEchoStyle::Fixed: std::snprintf(buf, sizeof buf, "%.*f", f.Decimals, v); break;
    case TEchoStyle::Exponent: std::snprintf(buf, sizeof buf, "%.*E", f.Decimals, v); break;
    case TEchoStyle::Shortest: return JsonNumber(v);
  }
  std::string s(buf);
  if (s.rfind("-", 0) == 0 && s.find_first_not_of("-0.E+") == std::string::npos) s.erase(0, 1);  // no "-0.0000"
  return s;
}

const char* PrecisionPrompt(bool withOptions) {
  return withOptions ? "小数点以下の精度を入力 (0 - 16) または [オブジェクト(O)/バイナリ(B)/バージョン(V)] <16>: "
                     : "小数点以下の精度を入力 (0 - 16) または [バイナリ(B)] <16>: ";
}

void WriteExport(THost& h, int decimals) {
  TExport ex{h.DxfPath, h.DxfObjectsChosen ? h.Selection : AllEntities(h), decimals, false};
  std::ofstream out(std::filesystem::path(std::u8string(h.DxfPath.begin(), h.DxfPath.end())), std::ios::binary);
  if (out) {
    WriteDxf(out, h.Entities, ex.Entities, decimals, h.Encode, TablesOf(h));
    out.close();
    ex.Written = static_cast<bool>(out);
  }
  if (!ex.Written) Say(h, "ファイル \"" + h.DxfPath + "\" に書き込めません。");
  h.Exports.push_back(std::move(ex));
  ToIdle(h);
}

void AddLine(THost& h, const TPoint3D& a, const TPoint3D& b) {
  TEntity e;
  e.Kind = TEntityKind::Line;
  SetProps(e, h.Current);
  e.Start = a;
  e.End = b;
  e.New = true;
  h.Entities.push_back(e);
  ++h.LineEntitiesMade;
}

void StartCommand(THost& h, const std::string& typed) {
  std::string name = Upper(typed);
  while (!name.empty() && (name.front() == '_' || name.front() == '.')) name.erase(0, 1);
  Echo(h, typed);
  // The commands that change the drawing are what U takes back.
  if (name == "LINE" || name == "PLINE" || name == "CHPROP" || name == "3DPOLY") RecordUndoStep(h, name);
  if (name == "UCSORG" || name == "UCSXDIR" || name == "UCSYDIR") {
    Say(h, UcsEcho(h, name));
  } else if (name == "SELECT") {
    h.Selection.clear();
    h.SingleSelect = false;
    Ask(h, THostState::SelectObjects, std::string(kSelectPrompt));
  } else if (name == "FILEDIA") {
    Ask(h, THostState::FilediaValue, "FILEDIA の新しい値を入力 <" + std::to_string(h.Filedia) + ">: ");
  } else if (name == "DXFOUT") {
    if (h.Filedia != 0) {
      // A real AutoCAD would open its file dialog here; the stand-in has none.
      Say(h, "** ファイル ダイアログはありません (FILEDIA = " + std::to_string(h.Filedia) + ") **");
    } else {
      Ask(h, THostState::DxfoutName, "ファイル名を入力 <Drawing1.dxf>: ");
    }
  } else if (name == "LINE") {
    h.Points.clear();
    Ask(h, THostState::LineFirst, "1 点目を指定: ");
  } else if (name == "PLINE") {
    StartPline(h);
  } else if (name == "3DPOLY") {
    Start3DPoly(h);
  } else if (name == "CHPROP") {
    StartChprop(h);
  } else if (name == "UNDO") {
    StartUndo(h);
  } else if (name == "U") {
    UndoLastStep(h);
  } else if (IsSystemVariable(name)) {
    StartSystemVariable(h, name);
  } else {
    Say(h, "不明なコマンド \"" + name + "\"。ヘルプを表示するには F1 キーを押してください。");
  }
}

void SelectInput(THost& h, const std::string& typed, THostState next) {
  const std::string key = Upper(typed);
  if (typed.empty()) {
    Echo(h, typed);
    if (next == THostState::Idle) {
      if (!h.Selection.empty()) h.PreviousSelection = h.Selection;
      ToIdle(h);
    } else if (next == THostState::ChpropProperty) {
      ChpropSelectionDone(h);
    } else {
      Ask(h, next, PrecisionPrompt(false));
    }
    return;
  }
  std::vector<int> items;
  if (key == "SINGLE" || key == "SI") {
    if (next == THostState::Idle && h.Selection.empty()) {
      h.SingleSelect = true;
      Echo(h, typed);
      return;
    }
  } else if (key == "P" || key == "PREV" || key == "PREVIOUS" || key == "_P" || key == "_PREVIOUS") {
    items = h.PreviousSelection;
  } else if (key == "ALL" || key == "_ALL") {
    items = AllEntities(h);
  } else if (key == "L" || key == "LAST" || key == "_L" || key == "_LAST") {
    items = LastObject(h);
  } else {
    Echo(h, typed);
    Say(h, "*無効な選択*");
    return;
  }
  const std::size_t before = h.Selection.size();
  AddToSelection(h, items);
  Say(h, h.Prompt + typed + " " + FoundText(h, h.Selection.size() - before, h.Selection.size()));
  if (h.SingleSelect) {
    h.PreviousSelection = h.Selection;
    ToIdle(h);
  }
}

void PointInput(THost& h, const std::string& typed) {
  const bool first = h.State == THostState::LineFirst;
  Echo(h, typed);
  if (typed.empty()) return ToIdle(h);
  if (!first && IsKeyword(typed, "Close") && h.Points.size() >= 3) {
    AddLine(h, h.Points.back(), h.Points.front());
    return ToIdle(h);
  }
  TPoint3D world;
  if (!first && IsKeyword(typed, "Undo")) {
    if (h.Points.size() < 2) {
      Say(h, "すべてのセグメントが既に元に戻されています。");
      return;
    }
    h.Entities.pop_back();  // the segment this LINE drew last
    h.Points.pop_back();
  } else {
    switch (ReadTypedPoint(h, typed, world)) {
      case TPointInput::Point: break;
      case TPointInput::NoSnap: return;  // `_non`: the same prompt, for the point it applies to
      case TPointInput::Invalid: Say(h, kInvalidPoint); return;
    }
    if (!first) AddLine(h, h.Points.back(), world);
    h.Points.push_back(world);
  }
  Ask(h, THostState::LineNext, h.Points.size() >= 3 ? "次の点を指定 または [閉じる(C)/元に戻す(U)]: "
                                                    : "次の点を指定 または [元に戻す(U)]: ");
}

bool ParsePrecision(const std::string& typed, int& decimals) {
  if (typed.empty()) {
    decimals = 16;
    return true;
  }
  const auto r = std::from_chars(typed.data(), typed.data() + typed.size(), decimals);
  return r.ec == std::errc() && r.ptr == typed.data() + typed.size() && decimals >= 0 && decimals <= 16;
}

}  // namespace

std::string Utf8FromUtf32(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u32string Utf32FromUtf8(std::string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || i + n > s.size()) {
      out += U'\uFFFD';
      ++i;
      continue;
    }
    char32_t c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out += c;
    i += n;
  }
  return out;
}

bool ParsePointText(std::string_view text, TPoint3D& p, bool* hasZ) {
  double v[3] = {0, 0, 0};
  int n = 0;
  while (true) {
    const auto comma = text.find(',');
    if (n == 3 || !ParseNumber(text.substr(0, comma), v[n])) return false;
    ++n;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (n < 2) return false;
  p = {v[0], v[1], v[2]};
  if (hasZ) *hasZ = n == 3;
  return true;
}

std::string UcsEcho(const THost& h, const std::string& name) {
  if (const auto it = h.Echo.Override.find(name); it != h.Echo.Override.end()) return it->second;
  const TPoint3D& p = name == "UCSORG" ? h.Ucs.Origin : name == "UCSXDIR" ? h.Ucs.XDir : h.Ucs.YDir;
  std::string s = name + " = " + FormatEchoNumber(h.Echo, p.x) + "," + FormatEchoNumber(h.Echo, p.y) + "," +
                  FormatEchoNumber(h.Echo, p.z);
  if (!h.Echo.Remark.empty()) s += " " + h.Echo.Remark;
  return s;
}

void CancelCommand(THost& h) {
  Say(h, h.Prompt + h.Input + std::string(kCancelMark));
  if (InPline(h)) FinishPline(h, false);  // what was drawn so far stays, as in AutoCAD
  if (In3DPoly(h)) Finish3DPoly(h, false);
  h.Input.clear();
  h.InQuotes = false;
  ToIdle(h);
}

void SubmitInput(THost& h) {
  const std::string typed = h.Input;
  h.Input.clear();
  h.InQuotes = false;
  switch (h.State) {
    case THostState::Idle:
      if (!typed.empty()) StartCommand(h, typed);
      return;
    case THostState::SelectObjects:
      SelectInput(h, typed, THostState::Idle);
      return;
    case THostState::FilediaValue:
      Echo(h, typed);
      if (typed == "0" || typed == "1") h.Filedia = typed[0] - '0';
      else if (!typed.empty()) { Say(h, "0 から 1 までの整数を入力してください。"); return; }
      ToIdle(h);
      return;
    case THostState::DxfoutName: {
      Echo(h, typed);
      std::string path = WithoutQuotes(typed);
      if (path.empty()) path = "Drawing1.dxf";
      if (std::filesystem::path(std::u8string(path.begin(), path.end())).extension().empty()) path += ".dxf";
      h.DxfPath = path;
      h.DxfObjectsChosen = false;
      Ask(h, THostState::DxfoutOptions, PrecisionPrompt(true));
      return;
    }
    case THostState::DxfoutOptions: {
      Echo(h, typed);
      const std::string key = Upper(typed);
      int decimals = 16;
      if (key == "V" || key == "VER" || key == "VERSION") {
        Ask(h, THostState::DxfoutVersion, "バージョンを入力 [R12/2000/2004/2007] <2007>: ");
      } else if (key == "O" || key == "OBJ" || key == "OBJECTS") {
        h.Selection.clear();
        h.DxfObjectsChosen = true;
        Ask(h, THostState::DxfoutObjects, std::string(kSelectPrompt));
      } else if (key == "B" || key == "BINARY") {
        Say(h, "** バイナリ形式は書き出せません **");
      } else if (ParsePrecision(typed, decimals)) {
        WriteExport(h, decimals);
      } else {
        Say(h, "0 から 16 までの整数 または オプション キーワードが必要です。");
      }
      return;
    }
    case THostState::DxfoutVersion:
      Echo(h, typed);
      if (typed == "2000" || Upper(typed) == "R2000" || typed.empty()) Ask(h, THostState::DxfoutOptions, PrecisionPrompt(true));
      else Say(h, "** このホストは 2000 形式だけを書き出します **");
      return;
    case THostState::DxfoutObjects:
      SelectInput(h, typed, THostState::DxfoutPrecision);
      return;
    case THostState::DxfoutPrecision: {
      Echo(h, typed);
      int decimals = 16;
      if (ParsePrecision(typed, decimals)) WriteExport(h, decimals);
      else Say(h, "0 から 16 までの整数が必要です。");
      return;
    }
    case THostState::LineFirst:
    case THostState::LineNext:
      PointInput(h, typed);
      return;
    case THostState::ChpropSelect:
      SelectInput(h, typed, THostState::ChpropProperty);
      return;
    case THostState::ChpropProperty: case THostState::ChpropColor: case THostState::ChpropLayer:
    case THostState::ChpropLinetype: case THostState::ChpropLtScale: case THostState::ChpropLineweight:
    case THostState::ChpropThickness:
      ChpropInput(h, typed);
      return;
    case THostState::UndoOption:
      UndoInput(h, typed);
      return;
    case THostState::SystemVariable:
      SystemVariableInput(h, typed);
      return;
    case THostState::Poly3DFirst:
    case THostState::Poly3DNext:
      Poly3DInput(h, typed);
      return;
    default:  // PLINE's prompts
      if (InPline(h)) PlineInput(h, typed);
      return;
  }
}

void FeedChar(THost& h, char32_t c) {
  if (c == 0x03 || c == 0x1B) {
    CancelCommand(h);
  } else if (c == U'\r' || c == U'\n' || (c == U' ' && !h.InQuotes)) {
    SubmitInput(h);
  } else if (c == 0x08) {
    auto text = Utf32FromUtf8(h.Input);
    if (!text.empty()) {
      if (text.back() == U'"') h.InQuotes = !h.InQuotes;
      text.pop_back();
    }
    h.Input = Utf8FromUtf32(text);
  } else if (c >= 0x20) {
    if (c == U'"') h.InQuotes = !h.InQuotes;
    h.Input += Utf8FromUtf32(std::u32string_view(&c, 1));
  }
}

void FeedText(THost& h, std::u32string_view text) {
  for (const char32_t c : text) FeedChar(h, c);
}

bool WaitingForPick(const THost& h) { return h.State == THostState::SelectObjects; }

bool PickEntity(THost& h, int index) {
  if (!WaitingForPick(h) || index < 0 || static_cast<std::size_t>(index) >= h.Entities.size()) return false;
  const std::size_t before = h.Selection.size();
  AddToSelection(h, {index});
  Say(h, h.Prompt + FoundText(h, h.Selection.size() - before, h.Selection.size()));
  if (h.SingleSelect) {
    h.PreviousSelection = h.Selection;
    ToIdle(h);
  }
  return true;
}

std::string HistoryText(const THost& h) {
  std::string s;
  for (const auto& line : h.History) s += line + "\r\n";
  return s;
}

TDxfTables TablesOf(const THost& h) {
  return {h.Layers, h.Linetypes, h.Current, h.Ucs, h.Echo.Decimals, h.Plinewid, h.Elevation, h.Angles};
}

bool IsVisible(const THost& h, const TEntity& e) {
  return std::none_of(h.Layers.begin(), h.Layers.end(),
                      [&e](const TLayer& l) { return !l.On && SameName(l.Name, e.Layer); });
}

namespace {

// "0" or a layer the drawing lists.
bool ListsLayer(const THost& h, const std::string& name) {
  return SameName(name, "0") ||
         std::any_of(h.Layers.begin(), h.Layers.end(), [&name](const TLayer& l) { return SameName(l.Name, name); });
}

}  // namespace

bool HasLayer(const THost& h, const std::string& name) {
  return ListsLayer(h, name) ||
         std::any_of(h.Entities.begin(), h.Entities.end(), [&name](const TEntity& e) { return SameName(e.Layer, name); });
}

void EnsureLayer(THost& h, const std::string& name) {
  if (!ListsLayer(h, name)) h.Layers.push_back({name});
}

std::string HostToJson(const THost& h) {
  std::string s = "{\n\"filedia\": " + std::to_string(h.Filedia) + ",\n\"ucs\": {\"origin\": " + JsonPoint(h.Ucs.Origin) +
                  ", \"xdir\": " + JsonPoint(h.Ucs.XDir) + ", \"ydir\": " + JsonPoint(h.Ucs.YDir) + "},\n";
  s += "\"current\": {\"layer\": " + JsonQuoted(h.Current.Layer) + ", \"color\": " + std::to_string(h.Current.Color) +
       ", \"linetype\": " + JsonQuoted(h.Current.Linetype) + ", \"lineweight\": " + std::to_string(h.Current.Lineweight) +
       ", \"ltscale\": " + JsonNumber(h.Current.LinetypeScale) + ", \"thickness\": " + JsonNumber(h.Current.Thickness) +
       ", \"plinewid\": " + JsonNumber(h.Plinewid) + ", \"elevation\": " + JsonNumber(h.Elevation) +
       ", \"lwunits\": " + std::to_string(h.Lwunits) + "},\n";
  s += "\"osnap\": {\"osmode\": " + std::to_string(h.Snap.Osmode) + ", \"osnapcoord\": " +
       std::to_string(h.Snap.Osnapcoord) + ", \"aperture\": " + JsonNumber(h.Snap.Aperture) + "},\n";
  s += "\"undo\": [";
  for (std::size_t i = 0; i < h.Undo.size(); ++i)
    s += (i ? ", " : "") + JsonQuoted(h.Undo[i].Name + (h.Undo[i].Open ? " (開始)" : ""));
  s += "],\n\"previous_selection\": [";
  for (std::size_t i = 0; i < h.PreviousSelection.size(); ++i) s += (i ? "," : "") + std::to_string(h.PreviousSelection[i]);
  s += "],\n\"entities\": [\n";
  for (std::size_t i = 0; i < h.Entities.size(); ++i)
    s += (i ? ",\n" : "") + EntityToJson(h.Entities[i], static_cast<int>(i));
  s += "\n],\n\"exports\": [";
  for (std::size_t i = 0; i < h.Exports.size(); ++i) {
    const auto& e = h.Exports[i];
    s += std::string(i ? ",\n" : "\n") + "{\"path\": " + JsonQuoted(e.Path) + ", \"decimals\": " +
         std::to_string(e.Decimals) + ", \"written\": " + (e.Written ? "true" : "false") + ", \"entities\": [";
    for (std::size_t k = 0; k < e.Entities.size(); ++k) s += (k ? "," : "") + std::to_string(e.Entities[k]);
    s += "]}";
  }
  s += "],\n\"prompt\": " + JsonQuoted(h.Prompt) + ",\n\"history\": [";
  for (std::size_t i = 0; i < h.History.size(); ++i) s += std::string(i ? ",\n" : "\n") + JsonQuoted(h.History[i]);
  return s + "]\n}\n";
}

}  // namespace swivex
