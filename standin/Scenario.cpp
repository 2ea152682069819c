#include "standin/Scenario.h"

#include "standin/HostCommands.h"

#include <charconv>
#include <vector>

namespace swivex {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Splits off the first blank-separated word.
std::string_view NextWord(std::string_view& rest) {
  rest = Trim(rest);
  const auto end = rest.find_first_of(" \t");
  const std::string_view word = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : Trim(rest.substr(end));
  return word;
}

std::vector<std::string_view> Words(std::string_view rest) {
  std::vector<std::string_view> out;
  while (!(rest = Trim(rest)).empty()) out.push_back(NextWord(rest));
  return out;
}

bool ReadInt(std::string_view s, int& v) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool Fail(std::string& error, std::string message) {
  error = std::move(message);
  return false;
}

bool SameWord(std::string_view a, std::string_view b) { return SameName(std::string(a), std::string(b)); }

// A colour index 0..256, or BYLAYER / BYBLOCK.
bool ReadColor(std::string_view s, int& v) {
  if (SameWord(s, "bylayer")) v = kColorByLayer;
  else if (SameWord(s, "byblock")) v = kColorByBlock;
  else return ReadInt(s, v) && v >= 0 && v <= 256;
  return true;
}

// A group 370 value (hundredths of a millimetre, -1 BYLAYER, -2 BYBLOCK, -3 DEFAULT) or one of those words.
bool ReadLineweight(std::string_view s, int& v) {
  if (SameWord(s, "bylayer")) v = kLineweightByLayer;
  else if (SameWord(s, "byblock")) v = kLineweightByBlock;
  else if (SameWord(s, "default")) v = kLineweightDefault;
  else return ReadInt(s, v) && v >= -3 && v <= 211;
  return true;
}

bool ReadDoubles(std::string_view s, std::vector<double>& out) {
  out.clear();
  while (true) {
    const auto comma = s.find(',');
    double v = 0;
    if (!ParseNumber(s.substr(0, comma), v)) return false;
    out.push_back(v);
    if (comma == std::string_view::npos) return true;
    s.remove_prefix(comma + 1);
  }
}

// The optional key=value words of `line` and `lwpolyline`: the object's properties and, for a polyline, its
// elevation, bulges, widths (start:end per vertex) and constant width. Returns false with a message.
bool ApplyEntityWord(TEntity& e, std::string_view word, std::string& error) {
  const auto eq = word.find('=');
  const std::string_view key = word.substr(0, eq), value = word.substr(eq + 1);
  const bool polyline = e.Kind == TEntityKind::LwPolyline || e.Kind == TEntityKind::Polyline;
  const bool heavy = e.Kind == TEntityKind::Polyline;
  bool ok = true;
  if (key == "layer") {
    e.Layer = Unescape(value);
    ok = !e.Layer.empty();
  } else if (key == "color") {
    ok = ReadColor(value, e.Color);
  } else if (key == "linetype") {
    e.Linetype = LinetypeName(Unescape(value));
    ok = !e.Linetype.empty();
  } else if (key == "lineweight") {
    ok = ReadLineweight(value, e.Lineweight);
  } else if (key == "ltscale") {
    ok = ParseNumber(value, e.LinetypeScale) && e.LinetypeScale > 0;
  } else if (key == "thickness") {
    ok = ParseNumber(value, e.Thickness);
  } else if (key == "normal" && polyline) {
    ok = ParsePointText(value, e.Normal) && (e.Normal.x != 0 || e.Normal.y != 0 || e.Normal.z != 0);
  } else if (key == "flags" && heavy) {
    ok = ReadInt(value, e.Flags) && e.Flags >= 0 && e.Flags < 256;
  } else if (key == "vertex-flags" && heavy) {
    std::vector<double> flags;
    ok = ReadDoubles(value, flags) && flags.size() <= e.Vertices.size();
    e.VertexFlags.assign(flags.begin(), flags.end());
  } else if (key == "elevation" && polyline) {
    ok = ParseNumber(value, e.Elevation);
  } else if (key == "width" && polyline) {
    ok = ParseNumber(value, e.ConstantWidth) && e.ConstantWidth >= 0;
  } else if (key == "bulges" && polyline) {
    ok = ReadDoubles(value, e.Bulges) && e.Bulges.size() <= e.Vertices.size();
  } else if (key == "widths" && polyline) {
    e.StartWidths.clear();
    e.EndWidths.clear();
    std::string_view rest = value;
    while (ok && !rest.empty()) {
      const auto comma = rest.find(',');
      const std::string_view pair = rest.substr(0, comma);
      const auto colon = pair.find(':');
      double a = 0, b = 0;
      ok = colon != std::string_view::npos && ParseNumber(pair.substr(0, colon), a) &&
           ParseNumber(pair.substr(colon + 1), b) && a >= 0 && b >= 0;
      e.StartWidths.push_back(a);
      e.EndWidths.push_back(b);
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    ok = ok && e.StartWidths.size() <= e.Vertices.size();
  } else {
    return Fail(error, "unknown property '" + std::string(key) + "'");
  }
  return ok || Fail(error, "bad value in '" + std::string(word) + "'");
}

}  // namespace

std::string Unescape(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    if (c == 'r') out += '\r';
    else if (c == 'n') out += '\n';
    else if (c == 't') out += '\t';
    else if (c == 'x' && i + 2 < s.size()) {
      int v = 0;
      std::from_chars(s.data() + i + 1, s.data() + i + 3, v, 16);
      out += static_cast<char>(v);
      i += 2;
    } else if (c == '\\') {
      out += c;
    } else {
      out += '\\';  // not an escape: MTEXT codes such as \P stay as they are
      out += c;
    }
  }
  return out;
}

bool ApplyScenarioLine(THost& h, std::string_view line, std::string& error) {
  std::string_view rest = Trim(line);
  if (rest.empty() || rest.front() == '#') return true;
  const std::string key(NextWord(rest));
  const auto words = Words(rest);
  auto point = [&](std::size_t i, TPoint3D& p) {
    return i < words.size() && ParsePointText(words[i], p);
  };
  auto number = [&](std::size_t i, double& v) { return i < words.size() && ParseNumber(words[i], v); };
  TScenario& s = h.Scenario;

  if (key == "frame-class") {
    const std::string v(rest);
    s.FrameClass = v == "afx"      ? "Afx:400000:8:10011:0:0"
                   : v == "mdi140" ? "AfxMDIFrame140u"
                   : v == "mdi100" ? "AfxMDIFrame100u"
                   : v == "mdi90"  ? "AfxMDIFrame90u"
                                   : v;
    if (v.empty()) return Fail(error, "frame-class needs afx, mdi140, mdi100, mdi90 or a class name");
  } else if (key == "charset") {
    if (rest != "unicode" && rest != "ansi") return Fail(error, "charset is unicode or ansi");
    s.Unicode = rest == "unicode";
  } else if (key == "command-line") {
    if (rest != "docked" && rest != "floating") return Fail(error, "command-line is docked or floating");
    s.Floating = rest == "floating";
  } else if (key == "title") {
    s.Title = rest;
  } else if (key == "text-title") {
    s.TextTitle = rest;
  } else if (key == "text-class") {
    s.TextClass = rest;
  } else if (key == "floating-title") {
    s.FloatingTitle = rest;
  } else if (key == "floating-class") {
    s.FloatingClass = rest;
  } else if (key == "ucs-origin" || key == "ucs-xdir" || key == "ucs-ydir") {
    TPoint3D p;
    if (!point(0, p) || words.size() != 1) return Fail(error, key + " needs x,y,z");
    (key == "ucs-origin" ? h.Ucs.Origin : key == "ucs-xdir" ? h.Ucs.XDir : h.Ucs.YDir) = p;
  } else if (key == "echo-style") {
    if (rest == "fixed") h.Echo.Style = TEchoStyle::Fixed;
    else if (rest == "exponent") h.Echo.Style = TEchoStyle::Exponent;
    else if (rest == "shortest") h.Echo.Style = TEchoStyle::Shortest;
    else return Fail(error, "echo-style is fixed, exponent or shortest");
  } else if (key == "echo-decimals" || key == "luprec") {
    // AutoCAD rounds the echoes to the drawing's linear precision, LUPREC; the export keeps full precision.
    int n = 0;
    if (!ReadInt(rest, n) || n < 0 || n > 16) return Fail(error, key + " needs 0 to 16");
    h.Echo.Decimals = n;
  } else if (key == "echo-remark") {
    h.Echo.Remark = rest;
  } else if (key == "echo") {
    const std::string name(NextWord(rest));
    if (name != "UCSORG" && name != "UCSXDIR" && name != "UCSYDIR") return Fail(error, "echo needs UCSORG, UCSXDIR or UCSYDIR");
    h.Echo.Override[name] = Unescape(rest);
  } else if (key == "echo-reset") {
    h.Echo.Override.clear();
  } else if (key == "filedia") {
    int n = 0;
    if (!ReadInt(rest, n) || (n != 0 && n != 1)) return Fail(error, "filedia is 0 or 1");
    h.Filedia = n;
  } else if (key == "line" || key == "lwpolyline" || key == "polyline") {
    // Points first (a polyline's `closed` anywhere), then key=value words. The object was in the drawing before:
    // layer 0 and BYLAYER unless it names its own properties, whatever the current ones are.
    TEntity e;
    e.Kind = key == "line" ? TEntityKind::Line : key == "polyline" ? TEntityKind::Polyline : TEntityKind::LwPolyline;
    std::vector<TPoint3D> points;
    bool elevationGiven = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
      TPoint3D p;
      if (words[i].find('=') != std::string_view::npos) {
        if (e.Kind != TEntityKind::Line) e.Vertices = points;
        if (!ApplyEntityWord(e, words[i], error)) return false;
        elevationGiven = elevationGiven || words[i].rfind("elevation=", 0) == 0;
      } else if (words[i] == "closed" && e.Kind != TEntityKind::Line) {
        e.Closed = true;
      } else if (point(i, p)) {
        points.push_back(p);
      } else {
        return Fail(error, key + ": '" + std::string(words[i]) + "' is not a point x,y[,z] nor key=value");
      }
    }
    if (e.Kind == TEntityKind::Line) {
      if (points.size() != 2) return Fail(error, "line needs two points x,y[,z]");
      e.Start = points[0];
      e.End = points[1];
    } else {
      if (points.size() < 2) return Fail(error, key + " needs at least two points");
      e.Vertices = points;
      const bool worldZ = e.Normal.x == 0 && e.Normal.y == 0 && e.Normal.z == 1;
      if (e.Kind == TEntityKind::Polyline) {
        e.Flags |= e.Closed ? 1 : 0;
        e.Closed = (e.Flags & 1) != 0;
        e.VertexFlags.resize(points.size());
      }
      const bool planar = e.Kind == TEntityKind::LwPolyline || (e.Flags & (kPolyline3DFlag | 16 | 64)) == 0;
      // A planar polyline's points are world points of its plane; the file holds them in its OCS.
      if (planar && !elevationGiven) e.Elevation = WorldToOcs(points.front(), e.Normal).z;
      if (planar && worldZ)
        for (auto& v : e.Vertices) v.z = e.Elevation;
      if (e.Bulges.size() > points.size() || e.StartWidths.size() > points.size())
        return Fail(error, "lwpolyline: more bulges or widths than points");
      e.Bulges.resize(points.size());
      e.StartWidths.resize(points.size());
      e.EndWidths.resize(points.size());
    }
    EnsureLayer(h, e.Layer);
    h.Entities.push_back(e);
  } else if (key == "layer") {
    // A layer of the drawing: layer NAME [color=N] [linetype=NAME] [off]
    if (words.empty()) return Fail(error, "layer needs a name");
    TLayer layer{Unescape(words[0])};
    for (std::size_t i = 1; i < words.size(); ++i) {
      const std::string_view w = words[i];
      if (w.rfind("color=", 0) == 0 && ReadInt(w.substr(6), layer.Color) && layer.Color >= 1 && layer.Color <= 255) continue;
      if (w.rfind("linetype=", 0) == 0 && w.size() > 9) { layer.Linetype = Unescape(w.substr(9)); continue; }
      if (w == "off") { layer.On = false; continue; }
      return Fail(error, "layer: '" + std::string(w) + "' is not color=1..255, linetype=NAME nor off");
    }
    bool found = false;
    for (auto& l : h.Layers)
      if (SameName(l.Name, layer.Name)) l = layer, found = true;
    if (!found) h.Layers.push_back(layer);
  } else if (key == "linetype") {
    if (words.size() != 1) return Fail(error, "linetype needs one name");
    h.Linetypes.push_back(Unescape(words[0]));
  } else if (key == "clayer") {
    if (words.size() != 1) return Fail(error, "clayer needs one layer name");
    h.Current.Layer = Unescape(words[0]);
    EnsureLayer(h, h.Current.Layer);
  } else if (key == "cecolor") {
    if (words.size() != 1 || !ReadColor(words[0], h.Current.Color)) return Fail(error, "cecolor needs 0..256, bylayer or byblock");
  } else if (key == "celtype") {
    if (words.size() != 1) return Fail(error, "celtype needs one linetype name");
    h.Current.Linetype = LinetypeName(Unescape(words[0]));
  } else if (key == "celweight") {
    if (words.size() != 1 || !ReadLineweight(words[0], h.Current.Lineweight))
      return Fail(error, "celweight needs -3..211, bylayer, byblock or default");
  } else if (key == "celtscale") {
    if (!number(0, h.Current.LinetypeScale) || words.size() != 1 || h.Current.LinetypeScale <= 0)
      return Fail(error, "celtscale needs a number above 0");
  } else if (key == "osmode") {
    if (words.size() != 1 || !ReadInt(words[0], h.Snap.Osmode) || h.Snap.Osmode < 0 || h.Snap.Osmode > 32767)
      return Fail(error, "osmode needs 0..32767");
  } else if (key == "osnapcoord") {
    if (words.size() != 1 || !ReadInt(words[0], h.Snap.Osnapcoord) || h.Snap.Osnapcoord < 0 || h.Snap.Osnapcoord > 2)
      return Fail(error, "osnapcoord is 0, 1 or 2");
  } else if (key == "osnap-aperture") {
    if (!number(0, h.Snap.Aperture) || words.size() != 1 || h.Snap.Aperture < 0)
      return Fail(error, "osnap-aperture needs a distance");
  } else if (key == "elevation") {
    if (!number(0, h.Elevation) || words.size() != 1) return Fail(error, "elevation needs a number");
  } else if (key == "lwunits") {
    if (words.size() != 1 || (words[0] != "0" && words[0] != "1")) return Fail(error, "lwunits needs 0 or 1");
    h.Lwunits = words[0][0] - '0';
  } else if (key == "plinewid") {
    if (!number(0, h.Plinewid) || words.size() != 1 || h.Plinewid < 0) return Fail(error, "plinewid needs a width");
  } else if (key == "thickness") {
    if (!number(0, h.Current.Thickness) || words.size() != 1) return Fail(error, "thickness needs a number");
  } else if (key == "circle") {
    TEntity e;
    e.Kind = TEntityKind::Circle;
    if (words.size() != 2 || !point(0, e.Center) || !number(1, e.Radius)) return Fail(error, "circle needs x,y[,z] radius");
    h.Entities.push_back(e);
  } else if (key == "arc") {
    TEntity e;
    e.Kind = TEntityKind::Arc;
    if (words.size() != 4 || !point(0, e.Center) || !number(1, e.Radius) || !number(2, e.StartAngle) ||
        !number(3, e.EndAngle))
      return Fail(error, "arc needs x,y[,z] radius start-degrees end-degrees");
    h.Entities.push_back(e);
  } else if (key == "text" || key == "mtext") {
    TEntity e;
    e.Kind = key == "text" ? TEntityKind::Text : TEntityKind::MText;
    std::string_view r = rest;
    const std::string_view at = NextWord(r), height = NextWord(r);
    if (!ParsePointText(at, e.Start) || !ParseNumber(height, e.Height)) return Fail(error, key + " needs x,y[,z] height ...");
    if (key == "mtext" && !ParseNumber(NextWord(r), e.Width)) return Fail(error, "mtext needs x,y[,z] height width text");
    e.Text = Unescape(r);
    h.Entities.push_back(e);
  } else if (key == "pick") {
    int delay = 300;
    if (words.empty()) return Fail(error, "pick needs click, never, cancel [ms] or an object index [ms]");
    if (words.size() > 1 && !ReadInt(words[1], delay)) return Fail(error, "pick: the delay is whole milliseconds");
    if (words[0] == "click") s.Pick = {TPickMode::Click, 0, delay};
    else if (words[0] == "never") s.Pick = {TPickMode::Never, 0, delay};
    else if (words[0] == "cancel") s.Pick = {TPickMode::Cancel, 0, delay};
    else if (words[0] == "enter") s.Pick = {TPickMode::Enter, 0, delay};
    else {
      int index = 0;
      if (!ReadInt(words[0], index) || index < 0) return Fail(error, "pick: unknown object index");
      s.Pick = {TPickMode::Entity, index, delay};
    }
  } else if (key == "log") {
    s.LogPath = rest;
  } else if (key == "dxf-out") {
    s.DxfPath = rest;
  } else if (key == "json-out") {
    s.JsonPath = rest;
  } else if (key == "ready-file") {
    s.ReadyPath = rest;
  } else if (key == "hold-clipboard") {
    if (!ReadInt(rest, s.HoldClipboardMs) || s.HoldClipboardMs < 0) return Fail(error, "hold-clipboard needs milliseconds");
  } else if (key == "history-copy") {
    if (rest == "normal") s.HistoryCopy = THistoryCopy::Normal;
    else if (rest == "none") s.HistoryCopy = THistoryCopy::None;
    else if (rest == "raw") s.HistoryCopy = THistoryCopy::Raw;
    else return Fail(error, "history-copy is normal, raw or none");
  } else if (key == "history-raw") {
    s.HistoryRaw = Unescape(rest);
    s.HistoryCopy = THistoryCopy::Raw;
  } else if (key == "hang-after") {
    if (words.size() != 2 || !ReadInt(words[0], s.HangAfter) || s.HangAfter < 0 ||
        !(words[1] == "forever" ? (s.HangMs = -1, true) : ReadInt(words[1], s.HangMs) && s.HangMs >= 0))
      return Fail(error, "hang-after needs a number of commands and milliseconds or forever");
  } else if (key == "history-clear") {
    h.History.clear();
  } else if (key == "angbase") {
    // Typed in degrees, as at AutoCAD's ANGBASE prompt with decimal-degree units; kept in radians.
    double degrees = 0;
    if (!number(0, degrees) || words.size() != 1) return Fail(error, "angbase needs degrees");
    h.Angles.BaseRadians = degrees * 3.14159265358979323846 / 180.0;
  } else if (key == "angdir") {
    if (words.size() != 1 || !ReadInt(words[0], h.Angles.Direction) || h.Angles.Direction < 0 || h.Angles.Direction > 1)
      return Fail(error, "angdir is 0 or 1");
  } else if (key == "header-angles") {
    if (rest != "yes" && rest != "no") return Fail(error, "header-angles is yes or no");
    h.Angles.InHeader = rest == "yes";
  } else if (key == "prompt-lag") {
    if (!ReadInt(rest, s.PromptLagMs) || s.PromptLagMs < 0) return Fail(error, "prompt-lag needs milliseconds");
  } else if (key == "prompt-hidden-after") {
    if (words.size() != 2 || !ReadInt(words[0], s.PromptHiddenAfter) || s.PromptHiddenAfter < 0 ||
        !ReadInt(words[1], s.PromptHiddenMs) || s.PromptHiddenMs < 0)
      return Fail(error, "prompt-hidden-after needs a number of commands and milliseconds");
  } else if (key == "found-words") {
    if (rest.empty()) return Fail(error, "found-words needs the words after the count");
    s.FoundWords = std::string(rest);
  } else {
    return Fail(error, "unknown keyword '" + key + "'");
  }
  return true;
}

bool ApplyScenarioText(THost& h, std::string_view text, std::string& error) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int number = 0;
  while (!text.empty()) {
    ++number;
    const auto end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    std::string message;
    if (!ApplyScenarioLine(h, line, message)) {
      error = "line " + std::to_string(number) + ": " + message;
      return false;
    }
  }
  return true;
}

}  // namespace swivex
