// The redraw's envelope, free of Win32: the one UNDO group around a redraw, and the system variables it sets so
// that each copy is drawn with the original's layer, colour, linetype, lineweight, linetype scale, thickness,
// widths and height (CLAYER, CECOLOR, CELTYPE, CELWEIGHT, CELTSCALE, THICKNESS, ELEVATION, PLINEWID) and gives
// back to the user's values before the group ends, on every way out. The copy gets its properties as it is
// drawn: no command has to find it afterwards. Command texts are bytes in the system code page.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "dxf/EntityStore.h"

namespace swivex {

inline constexpr std::string_view kUndoBeginCommand = "\x03_.UNDO _BE ";
inline constexpr std::string_view kUndoEndCommand = "\x03_.UNDO _E ";

// Begins the UNDO group before the second command that goes out, and ends it on every way out of a redraw, so
// that AutoCAD is never left with a group open; a redraw of a single command needs no group and sends none.
class TUndoGroup {
 public:
  explicit TUndoGroup(const std::function<void(const std::string&)>& send) : Send_(send) {}
  ~TUndoGroup();
  // A command that may wait until it is known whether a second one follows.
  void Send(const std::string& command);
  // A command AutoCAD must have had before this returns (a question whose answer is read next); more follow.
  void SendNow(const std::string& command);
  // Sends a command still held back, or ends the group.
  void End();
  TUndoGroup(const TUndoGroup&) = delete;
  TUndoGroup& operator=(const TUndoGroup&) = delete;

 private:
  void Begin();
  const std::function<void(const std::string&)>& Send_;
  std::optional<std::string> Held_;
  bool Begun_ = false;
  bool Open_ = false;
};

// The system variables the redraw sets, in the order it asks for them.
enum class TSetting { CLayer, CeColor, CeLtype, CeLweight, CeLtScale, Thickness, Elevation, PlineWid };
inline constexpr int kSettingCount = 8;

// The value a system variable's prompt shows as its default ("CLAYER の新しい値を入力 <"壁">: " gives 壁, the
// double quotes around a text dropped); nothing when the prompt is not that variable's.
std::optional<std::string> PromptedValue(std::string_view prompt, std::string_view variable);

// A real as typed back to AutoCAD: the shortest fixed-point text that reads back as the same double.
std::string ExactNumberText(double value);

// Whether a layer or linetype name can be typed at a prompt: not empty, no blank, control character, double
// quote or backslash (a DXF \U+ escape), whole Shift-JIS characters, and shorter than the store's capacity (a
// name that fills it may have been cut).
bool IsTypableName(std::string_view name, std::size_t capacity);

// The value each variable must have while an object with this layer and these properties is drawn, as typed;
// empty where the value cannot be typed (a layer or linetype name that is not typable, a colour or lineweight
// AutoCAD does not take): that variable is left as the user has it. ELEVATION is 0: every z is typed.
struct TWantedSettings {
  std::string Values[kSettingCount];
};
TWantedSettings WantedSettings(std::string_view layer, const TEntityProps& props);

// The user's values and what the redraw has set. The user's value of a variable is looked up when it is first
// wanted: with readPrompt, by typing the variable's name and reading the default its prompt shows, waiting a
// little for a busy AutoCAD to show it (the value current at 作成, whatever the user changed since 取込), where a real shown rounded is taken from the export's
// header when the header's value rounds to it; without readPrompt, or when the prompt is not the variable's,
// from the header. A value that cannot be typed back is never changed.
class TRedrawSettings {
 public:
  TRedrawSettings(TUndoGroup& group, const std::function<std::string()>& readPrompt, const TDxfHeader& header);
  ~TRedrawSettings();
  // Makes the variables what the object needs; the commands that do it go out with the object's command.
  void Want(const TWantedSettings& wanted);
  // PLINEWID, the width the next PLINE starts with; NaN when it is not known to the digit (the first segment's
  // widths are then typed whatever they are). After a PLINE, AutoCAD's PLINEWID is its last typed end width.
  double PlineWidth();
  void PlineWidthLeft(double width);
  // Sends the object's command after what it needs set (the answer to a pending prompt included).
  void SendWith(const std::string& command);
  // Gives every changed variable back, in one command; done at most once (also by the destructor).
  void GiveBack();
  TRedrawSettings(const TRedrawSettings&) = delete;
  TRedrawSettings& operator=(const TRedrawSettings&) = delete;

 private:
  struct TValue {
    bool Known = false;
    bool Exact = true;      // a real as the user has it to the digit
    bool Settable = false;  // the user's value can be typed back
    std::string User;       // as typed
    std::string Current;    // what AutoCAD holds now, as typed
  };
  void LookUp(TSetting setting);
  void Set(TSetting setting, const std::string& value);
  TUndoGroup& Group_;
  const std::function<std::string()>& ReadPrompt_;
  const TDxfHeader& Header_;
  TValue Values_[kSettingCount];
  std::string Pending_;  // set commands (and a prompt's answer) to go out with the next command
  bool AtPrompt_ = false;  // AutoCAD waits at the prompt of the variable looked up last
  bool WaitForPrompts_ = true;  // the prompts have shown so far, so a late one is waited for
  bool GivenBack_ = false;
};

}  // namespace swivex
