// System variables typed at the command prompt, as a Japanese AutoCAD takes them: the name, then
// "NAME の新しい値を入力 <value>: " with the current value as the default (a text in double quotes, a real to the
// drawing's precision LUPREC); an empty input keeps it. CLAYER takes a layer of the drawing (one that is off too:
// new objects then do not show), CECOLOR a colour, CELTYPE a loaded linetype, CELWEIGHT a lineweight in hundredths
// of a millimetre whatever LWUNITS is, CELTSCALE a scale above 0, THICKNESS and ELEVATION a number, PLINEWID a
// width of 0 or more, LWUNITS 0 (inches) or 1 (millimetres). A value not taken is said so and asked for again. A
// drawing's variable set is an undo step, as in AutoCAD (making a layer current is taken back by U).
#include <cmath>
#include <cstdio>

#include "standin/HostCommands.h"

namespace swivex {

namespace {

constexpr const char* kVariables[] = {"CLAYER",    "CECOLOR",   "CELTYPE",  "CELWEIGHT", "CELTSCALE",
                                      "THICKNESS", "ELEVATION", "PLINEWID", "LWUNITS"};

std::string Real(const THost& h, double v) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", h.Echo.Decimals, v);
  std::string s(buf);
  if (s.rfind('-', 0) == 0 && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string ColorValue(int color) {
  return color == kColorByLayer ? "BYLAYER" : color == kColorByBlock ? "BYBLOCK" : std::to_string(color);
}

std::string CurrentValue(const THost& h, const std::string& name) {
  if (name == "CLAYER") return Quoted(h.Current.Layer);
  if (name == "CECOLOR") return Quoted(ColorValue(h.Current.Color));
  if (name == "CELTYPE") return Quoted(h.Current.Linetype);
  if (name == "CELWEIGHT") return std::to_string(h.Current.Lineweight);
  if (name == "CELTSCALE") return Real(h, h.Current.LinetypeScale);
  if (name == "THICKNESS") return Real(h, h.Current.Thickness);
  if (name == "ELEVATION") return Real(h, h.Elevation);
  if (name == "PLINEWID") return Real(h, h.Plinewid);
  return std::to_string(h.Lwunits);
}

// The layer as the drawing spells it, when it has one of that name.
bool FindLayer(const THost& h, const std::string& typed, std::string& name) {
  if (SameName(typed, "0")) return name = "0", true;
  for (const auto& l : h.Layers)
    if (SameName(l.Name, typed)) return name = l.Name, true;
  for (const auto& e : h.Entities)
    if (SameName(e.Layer, typed)) return name = e.Layer, true;
  return false;
}

// Sets the variable from the typed value; false (with what AutoCAD says) when the value is not taken.
bool SetVariable(THost& h, const std::string& typed) {
  const std::string& name = h.Variable;
  const std::string text = WithoutQuotes(typed);
  double v = 0;
  int n = 0;
  if (name == "CLAYER") {
    std::string layer;
    if (!FindLayer(h, text, layer)) return Say(h, "画層 \"" + text + "\" が見つかりません。"), false;
    h.Current.Layer = layer;
  } else if (name == "CECOLOR") {
    if (!ReadColorInput(text, n)) return Say(h, "色の名前、1 から 255 までの番号、BYLAYER または BYBLOCK を入力してください。"), false;
    h.Current.Color = n;
  } else if (name == "CELTYPE") {
    std::string linetype;
    if (!FindLinetype(h, text, linetype))
      return Say(h, "線種 " + text + " が見つかりません。LINETYPE[線種設定] コマンドを使用してロードしてください。"), false;
    h.Current.Linetype = linetype;
  } else if (name == "CELWEIGHT") {
    if (!ParseNumber(text, v) || v != std::floor(v) || !IsLineweight(static_cast<int>(v)))
      return Say(h, "無効な値です。"), false;
    h.Current.Lineweight = static_cast<int>(v);
  } else if (name == "LWUNITS") {
    if (text != "0" && text != "1") return Say(h, "0 から 1 までの整数を入力してください。"), false;
    h.Lwunits = text[0] - '0';
  } else {
    const bool positive = name == "CELTSCALE", nonNegative = name == "PLINEWID";
    if (!ParseNumber(text, v) || !std::isfinite(v) || (positive && v <= 0) || (nonNegative && v < 0))
      return Say(h, positive ? "値は正で 0 以外である必要があります。" : nonNegative ? "値は 0 以上の数値である必要があります。"
                                                                                : "数値が必要です。"),
             false;
    (name == "CELTSCALE" ? h.Current.LinetypeScale : name == "THICKNESS" ? h.Current.Thickness
                                                   : name == "ELEVATION" ? h.Elevation
                                                                         : h.Plinewid) = v;
  }
  return true;
}

}  // namespace

bool IsSystemVariable(const std::string& name) {
  for (const char* v : kVariables)
    if (name == v) return true;
  return false;
}

void StartSystemVariable(THost& h, const std::string& name) {
  h.Variable = name;
  Ask(h, THostState::SystemVariable, name + " の新しい値を入力 <" + CurrentValue(h, name) + ">: ");
}

void SystemVariableInput(THost& h, const std::string& typed) {
  Echo(h, typed);
  if (!typed.empty()) {
    // A drawing's variable set is a step U takes back; LWUNITS lives in the registry.
    const bool step = h.Variable != "LWUNITS";
    if (step) RecordUndoStep(h, h.Variable);
    if (!SetVariable(h, typed)) {
      if (step) h.Undo.pop_back();
      return;  // asked again
    }
  }
  ToIdle(h);
}

}  // namespace swivex
