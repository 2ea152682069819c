#include "standin/Scenario.h"

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

bool ReadDouble(std::string_view s, double& v) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool ReadInt(std::string_view s, int& v) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool Fail(std::string& error, std::string message) {
  error = std::move(message);
  return false;
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
  auto number = [&](std::size_t i, double& v) { return i < words.size() && ReadDouble(words[i], v); };
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
  } else if (key == "echo-decimals") {
    int n = 0;
    if (!ReadInt(rest, n) || n < 0 || n > 16) return Fail(error, "echo-decimals needs 0 to 16");
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
  } else if (key == "line") {
    TEntity e;
    e.Kind = TEntityKind::Line;
    if (words.size() != 2 || !point(0, e.Start) || !point(1, e.End)) return Fail(error, "line needs two points x,y[,z]");
    h.Entities.push_back(e);
  } else if (key == "lwpolyline") {
    TEntity e;
    e.Kind = TEntityKind::LwPolyline;
    std::size_t i = 0;
    if (!words.empty() && words[0] == "closed") { e.Closed = true; i = 1; }
    for (; i < words.size(); ++i) {
      TPoint3D p;
      if (!point(i, p)) return Fail(error, "lwpolyline needs points x,y");
      e.Vertices.push_back(p);
    }
    if (e.Vertices.size() < 2) return Fail(error, "lwpolyline needs at least two points");
    e.Elevation = e.Vertices.front().z;
    h.Entities.push_back(e);
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
    if (!ParsePointText(at, e.Start) || !ReadDouble(height, e.Height)) return Fail(error, key + " needs x,y[,z] height ...");
    if (key == "mtext" && !ReadDouble(NextWord(r), e.Width)) return Fail(error, "mtext needs x,y[,z] height width text");
    e.Text = Unescape(r);
    h.Entities.push_back(e);
  } else if (key == "pick") {
    int delay = 300;
    if (words.empty()) return Fail(error, "pick needs click, never, cancel [ms] or an object index [ms]");
    if (words.size() > 1 && !ReadInt(words[1], delay)) return Fail(error, "pick: the delay is whole milliseconds");
    if (words[0] == "click") s.Pick = {TPickMode::Click, 0, delay};
    else if (words[0] == "never") s.Pick = {TPickMode::Never, 0, delay};
    else if (words[0] == "cancel") s.Pick = {TPickMode::Cancel, 0, delay};
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
