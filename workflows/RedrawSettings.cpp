#include "workflows/RedrawSettings.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

#include "cadlink/AcadEcho.h"
#include "text/NumText.h"
#include "text/Sjis.h"

namespace swivex {

namespace {

// A busy AutoCAD shows a variable's prompt a moment after its name was typed: the prompt is read again for so long.
constexpr auto kPromptShowsWithin = std::chrono::milliseconds(500);
constexpr auto kPromptReadEvery = std::chrono::milliseconds(10);

constexpr std::string_view kNames[kSettingCount] = {"CLAYER",    "CECOLOR",   "CELTYPE",   "CELWEIGHT",
                                                    "CELTSCALE", "THICKNESS", "ELEVATION", "PLINEWID"};

enum class TKind { Name, Color, Integer, Real };

TKind KindOf(TSetting s) {
  switch (s) {
    case TSetting::CLayer: case TSetting::CeLtype: return TKind::Name;
    case TSetting::CeColor: return TKind::Color;
    case TSetting::CeLweight: return TKind::Integer;
    default: return TKind::Real;
  }
}

std::size_t IndexOf(TSetting s) { return static_cast<std::size_t>(s); }

// AutoCAD's lineweights in hundredths of a millimetre, as CELWEIGHT takes them whatever LWUNITS is.
bool IsLineweight(std::int32_t w) {
  static constexpr std::int32_t kWeights[] = {0,  5,  9,  13, 15, 18,  20,  25,  30,  35,  40,  50,
                                              53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
  if (w >= -3 && w <= -1) return true;
  for (const std::int32_t k : kWeights)
    if (k == w) return true;
  return false;
}

std::string ColorText(std::int32_t color) {
  if (color == kColorByLayer) return "BYLAYER";
  if (color == kColorByBlock) return "BYBLOCK";
  if (color >= 1 && color <= 255) return std::to_string(color);
  return {};
}

// A colour as CECOLOR shows it, spelt as the redraw types it: BYLAYER, BYBLOCK or the index (a colour name
// too); a true colour or a colour book's colour as shown.
std::string ColorOfPrompt(const std::string& shown) {
  static constexpr std::string_view kColorNames[] = {"RED", "YELLOW", "GREEN", "CYAN", "BLUE", "MAGENTA", "WHITE"};
  for (const std::string_view fixed : {std::string_view("BYLAYER"), std::string_view("BYBLOCK")})
    if (SameCadName(shown, fixed)) return std::string(fixed);
  for (std::size_t i = 0; i < std::size(kColorNames); ++i)
    if (SameCadName(shown, kColorNames[i])) return std::to_string(i + 1);
  try {
    const std::string index = ColorText(StrToInt(shown));
    if (!index.empty()) return index;
  } catch (const TConvertError&) {
  }
  return shown;
}

// A linetype as a new object's: a missing name means BYLAYER.
std::string_view LinetypeOrByLayer(std::string_view name) { return name.empty() ? "ByLayer" : name; }

std::string HeaderValue(TSetting s, const TDxfHeader& h) {
  switch (s) {
    case TSetting::CLayer: return h.HasCLayer ? h.CLayer.Str() : "0";
    case TSetting::CeColor: return ColorText(h.CeColor);
    case TSetting::CeLtype: return std::string(LinetypeOrByLayer(h.CeLtype.View()));
    case TSetting::CeLweight: return std::to_string(h.CeLweight);
    case TSetting::CeLtScale: return ExactNumberText(h.CeLtScale);
    case TSetting::Thickness: return ExactNumberText(h.Thickness);
    case TSetting::Elevation: return ExactNumberText(h.Elevation);
    case TSetting::PlineWid: return ExactNumberText(h.PlineWid);
  }
  return {};
}

bool SameValue(TSetting s, const std::string& a, const std::string& b) {
  const TKind kind = KindOf(s);
  return kind == TKind::Name || kind == TKind::Color ? SameCadName(a, b) : a == b;
}

bool IsTypableValue(TSetting s, const std::string& value) {
  const TKind kind = KindOf(s);
  return kind == TKind::Name || kind == TKind::Color ? IsTypableName(value, std::string::npos) : !value.empty();
}

}  // namespace

TUndoGroup::~TUndoGroup() {
  try {
    End();
  } catch (...) {
    // The error that got us here is the one to report.
  }
}

void TUndoGroup::Begin() {
  if (Begun_) return;
  Begun_ = Open_ = true;
  Send_(std::string(kUndoBeginCommand));
  if (Held_) {
    const std::string held = std::move(*Held_);
    Held_.reset();
    Send_(held);
  }
}

void TUndoGroup::Send(const std::string& command) {
  if (!Begun_ && !Held_) {
    Held_ = command;
    return;
  }
  Begin();
  Send_(command);
}

void TUndoGroup::SendNow(const std::string& command) {
  Begin();
  Send_(command);
}

void TUndoGroup::End() {
  if (Held_) {
    const std::string held = std::move(*Held_);
    Held_.reset();
    Send_(held);
    return;
  }
  if (!Open_) return;
  Open_ = false;
  Send_(std::string(kUndoEndCommand));
}

std::optional<std::string> PromptedValue(std::string_view prompt, std::string_view variable) {
  static constexpr auto kNewValue = Sjis(u8" の新しい値を入力 <");
  if (prompt.substr(0, variable.size()) != variable) return std::nullopt;
  prompt.remove_prefix(variable.size());
  if (prompt.substr(0, kNewValue.Size) != kNewValue.View()) return std::nullopt;
  prompt.remove_prefix(kNewValue.Size);
  const std::size_t close = prompt.rfind('>');
  if (close == std::string_view::npos) return std::nullopt;
  std::string_view rest = prompt.substr(close + 1);
  while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
  if (rest != ":") return std::nullopt;
  std::string_view value = prompt.substr(0, close);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::string ExactNumberText(double value) {
  if (value == 0.0 || !std::isfinite(value)) return "0";
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

bool IsTypableName(std::string_view name, std::size_t capacity) {
  if (name.empty() || name.size() >= capacity) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c <= 0x20 || c == 0x7F || c == '"' || c == '\\') return false;
    if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) continue;  // ASCII, half-width katakana
    const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (!lead || i + 1 == name.size()) return false;
    const auto t = static_cast<unsigned char>(name[++i]);
    if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
  }
  return true;
}

TWantedSettings WantedSettings(std::string_view layer, const TEntityProps& props) {
  TWantedSettings w;
  const auto set = [&](TSetting s, std::string value) { w.Values[IndexOf(s)] = std::move(value); };
  if (IsTypableName(layer, kLayerCapacity)) set(TSetting::CLayer, std::string(layer));
  set(TSetting::CeColor, ColorText(props.Color));
  const std::string_view linetype = LinetypeOrByLayer(props.Linetype.View());
  if (IsTypableName(linetype, kLinetypeCapacity)) set(TSetting::CeLtype, std::string(linetype));
  if (IsLineweight(props.Lineweight)) set(TSetting::CeLweight, std::to_string(props.Lineweight));
  if (props.LinetypeScale > 0.0 && std::isfinite(props.LinetypeScale))
    set(TSetting::CeLtScale, ExactNumberText(props.LinetypeScale));
  if (std::isfinite(props.Thickness)) set(TSetting::Thickness, ExactNumberText(props.Thickness));
  set(TSetting::Elevation, "0");
  return w;
}

TRedrawSettings::TRedrawSettings(TUndoGroup& group, const std::function<std::string()>& readPrompt,
                                 const TDxfHeader& header)
    : Group_(group), ReadPrompt_(readPrompt), Header_(header) {}

TRedrawSettings::~TRedrawSettings() {
  try {
    GiveBack();
  } catch (...) {
    // The error that got us here is the one to report.
  }
}

void TRedrawSettings::LookUp(TSetting setting) {
  TValue& v = Values_[IndexOf(setting)];
  const std::string_view name = kNames[IndexOf(setting)];
  v.Known = true;
  v.User = HeaderValue(setting, Header_);
  std::optional<std::string> shown;
  if (ReadPrompt_) {
    std::string ask = std::move(Pending_);
    Pending_.clear();
    Group_.SendNow(ask + "\x03" + std::string(name) + " ");
    const auto sent = std::chrono::steady_clock::now();
    for (;;) {
      shown = PromptedValue(ReadPrompt_(), name);
      if (shown || !WaitForPrompts_ || std::chrono::steady_clock::now() - sent >= kPromptShowsWithin) break;
      std::this_thread::sleep_for(kPromptReadEvery);
    }
    // A prompt that never showed is worded otherwise in this AutoCAD: the later ones are read once.
    WaitForPrompts_ = shown.has_value();
    AtPrompt_ = shown.has_value();
  }
  if (shown) {
    try {
      switch (KindOf(setting)) {
        case TKind::Name: v.User = *shown; break;
        case TKind::Color: v.User = ColorOfPrompt(*shown); break;
        case TKind::Integer: v.User = std::to_string(StrToInt(*shown)); break;
        case TKind::Real: {
          // The prompt rounds to the drawing's precision; the header has the value to the digit when it is
          // still the user's.
          const double value = StrToFloat(*shown);
          const double header = StrToFloat(v.User);
          const double slack = HalfLastDecimal(*shown) + 8 * std::numeric_limits<double>::epsilon() * std::fabs(value);
          if (!(std::fabs(header - value) <= slack)) {
            v.User = ExactNumberText(value);
            v.Exact = false;
          }
          break;
        }
      }
    } catch (const TConvertError&) {
      // Shown in a form that does not read (architectural units, say): the header's value.
    }
  }
  v.Settable = IsTypableValue(setting, v.User);
  v.Current = v.User;
}

void TRedrawSettings::Set(TSetting setting, const std::string& value) {
  TValue& v = Values_[IndexOf(setting)];
  const bool change = v.Settable && !SameValue(setting, v.Current, value);
  if (AtPrompt_) {
    // The prompt of the look-up waits: its answer is the value, or a blank to keep it.
    Pending_ += change ? value + " " : " ";
    AtPrompt_ = false;
  } else if (change) {
    Pending_ += "\x03" + std::string(kNames[IndexOf(setting)]) + " " + value + " ";
  }
  if (change) v.Current = value;
}

void TRedrawSettings::Want(const TWantedSettings& wanted) {
  for (int i = 0; i < kSettingCount; ++i) {
    const auto setting = static_cast<TSetting>(i);
    const std::string& value = wanted.Values[i];
    if (value.empty()) continue;
    if (!Values_[i].Known) LookUp(setting);
    Set(setting, value);
  }
}

double TRedrawSettings::PlineWidth() {
  TValue& v = Values_[IndexOf(TSetting::PlineWid)];
  if (!v.Known) LookUp(TSetting::PlineWid);
  if (AtPrompt_) {
    Pending_ += " ";
    AtPrompt_ = false;
  }
  return v.Exact ? StrToFloat(v.Current) : std::numeric_limits<double>::quiet_NaN();
}

void TRedrawSettings::PlineWidthLeft(double width) {
  TValue& v = Values_[IndexOf(TSetting::PlineWid)];
  // AutoCAD holds the width as it was typed.
  if (v.Known && std::isfinite(width)) v.Current = ExactNumberText(StrToFloat(FormatLength(width)));
}

void TRedrawSettings::SendWith(const std::string& command) {
  std::string text = std::move(Pending_);
  Pending_.clear();
  Group_.Send(text + command);
}

void TRedrawSettings::GiveBack() {
  if (GivenBack_) return;
  GivenBack_ = true;
  std::string text = std::move(Pending_);
  Pending_.clear();
  for (int i = 0; i < kSettingCount; ++i) {
    const TValue& v = Values_[i];
    if (v.Known && v.Settable && !SameValue(static_cast<TSetting>(i), v.Current, v.User))
      text += "\x03" + std::string(kNames[i]) + " " + v.User + " ";
  }
  if (!text.empty()) Group_.Send(text);
}

}  // namespace swivex
