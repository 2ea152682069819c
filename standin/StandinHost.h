// The stand-in host's command line: what it does with typed input, as a Japanese AutoCAD would. Portable C++,
// texts in UTF-8; the Win32 shell (StandinMain.cpp) feeds it the characters of each WM_COPYDATA, shows its
// prompt and history, and turns texts into the ANSI code page where they leave the program.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "standin/Drawing.h"
#include "standin/DxfWriter.h"

namespace swivex {

// How the scenario picks at "オブジェクトを選択: " of SELECT: a person clicks (Click), the scenario picks object
// Entity after DelayMs (Entity), cancels after DelayMs (Cancel), presses Enter without a pick after DelayMs
// (Enter), or nothing happens (Never).
enum class TPickMode { Click, Entity, Cancel, Never, Enter };

struct TPickPlan {
  TPickMode Mode = TPickMode::Click;
  int Entity = 0;
  int DelayMs = 300;
};

// What the history copy (WM_COMMAND 32781) puts on the clipboard: the history (Normal), the text of HistoryRaw
// (Raw), or nothing at all (None: the clipboard is emptied and left without text).
enum class THistoryCopy { Normal, Raw, None };

// Everything a scenario sets. The window flavour counts only when the windows are made (the scenario file).
struct TScenario {
  std::string FrameClass = "Afx:400000:8:10011:0:0";
  bool Unicode = true;
  bool Floating = false;
  std::string Title = "AutoCAD 2008 - [Drawing1.dwg]";
  std::string TextTitle = "AutoCAD テキスト ウィンドウ - Drawing1.dwg";
  std::string TextClass = "Afx:400000:b:10011:6:0";
  std::string FloatingTitle = "コマンド ライン";
  std::string FloatingClass = "Afx:400000:8:10003:0:0";
  TPickPlan Pick;
  std::string LogPath, DxfPath, JsonPath, ReadyPath;
  int HoldClipboardMs = 0;
  THistoryCopy HistoryCopy = THistoryCopy::Normal;
  std::string HistoryRaw;  // UTF-8, written to the clipboard in the ANSI code page
  int HangAfter = 0;       // typed commands after which the host stops answering (0: never)
  int HangMs = -1;         // for how long; negative: for ever
  // A busy AutoCAD: the prompt window shows each new prompt PromptLagMs late, and after the PromptHiddenAfter'th
  // typed command reads empty for PromptHiddenMs (the command line hidden for a while).
  int PromptLagMs = 0;
  int PromptHiddenAfter = 0;
  int PromptHiddenMs = 0;
  // The words after the count of a selection ("1 個を検出"; releases differ).
  std::string FoundWords = "個を検出";
};

// How UCSORG, UCSXDIR and UCSYDIR echo: "UCSORG = 10.5000,-3.0000,0.0000 (読み込み専用)".
enum class TEchoStyle { Fixed, Exponent, Shortest };

struct TEchoFormat {
  TEchoStyle Style = TEchoStyle::Fixed;
  int Decimals = 4;
  std::string Remark = "(読み込み専用)";          // empty: no remark
  std::map<std::string, std::string> Override;  // variable name → whole echo line
};

enum class THostState {
  Idle, SelectObjects, FilediaValue, DxfoutName, DxfoutOptions, DxfoutVersion, DxfoutObjects, DxfoutPrecision,
  LineFirst, LineNext, PlineFirst, PlineNext,
  // PLINE's arc mode and its option prompts.
  PlineArc, PlineArcSecond, PlineArcEnd, PlineWidthStart, PlineWidthEnd, PlineHalfStart, PlineHalfEnd, PlineLength,
  ChpropSelect, ChpropProperty, ChpropColor, ChpropLayer, ChpropLinetype, ChpropLtScale, ChpropLineweight,
  ChpropThickness,
  UndoOption,
  SystemVariable,  // "NAME の新しい値を入力 <value>: " of a variable typed at the command prompt
  Poly3DFirst, Poly3DNext,
};

// One step that U takes back: what the drawing was before a command (or before UNDO BEgin for a group). Objects
// are only ever added or changed, so the step keeps how many there were and the old state of each one changed.
struct TUndoStep {
  std::string Name;  // the command's name, or "グループ" for an UNDO BEgin/End group
  bool Open = false;  // a group not yet ended by UNDO End
  std::size_t EntityCount = 0;
  std::vector<std::pair<int, TEntity>> Changed;  // index and state before the first change
  std::vector<TLayer> Layers;
  std::vector<std::string> Linetypes;
  double Plinewid = 0;
  TProps Current;  // the drawing variables a new object gets, and ELEVATION
  double Elevation = 0;
};

// Running object snap as OSMODE and OSNAPCOORD set it (only the end point mode is known here); the aperture is in
// drawing units, as the stand-in has no screen scale of its own.
struct TObjectSnap {
  int Osmode = 0;      // 1: end point
  int Osnapcoord = 2;  // 0: snaps win over typed points; 1, 2: typed points win (this host's input is not a script)
  double Aperture = 1.0;
};

struct TExport {
  std::string Path;
  std::vector<int> Entities;
  int Decimals = 16;
  bool Written = false;
};

// The whole host: scenario, drawing, UCS, system variables and command-line state.
struct THost {
  TScenario Scenario;
  std::vector<TEntity> Entities;
  std::vector<TLayer> Layers;          // besides "0" and the layers the objects are on
  std::vector<std::string> Linetypes;  // loaded, besides ByBlock, ByLayer and Continuous
  TProps Current;                      // CLAYER, CECOLOR, CELTYPE, CELWEIGHT, CELTSCALE, THICKNESS
  TUcs Ucs;
  TEchoFormat Echo;
  int Filedia = 1;
  std::vector<int> PreviousSelection;
  std::vector<std::string> History;  // finished lines; the current prompt is not among them
  std::string Prompt = "コマンド: ";
  std::string Input;                 // typed since the last input ended
  bool InQuotes = false;
  THostState State = THostState::Idle;
  // The running command's data.
  bool SingleSelect = false;
  std::vector<int> Selection;
  std::string DxfPath;
  bool DxfObjectsChosen = false;
  std::vector<TPoint3D> Points;  // world points of a LINE or PLINE so far
  // PLINE: bulge and widths of the segment that starts at each of Points, the widths the next segment gets, the
  // second point of a three-point arc, and PLINEWID (the width a new polyline starts with).
  std::vector<double> Bulges, StartWidths, EndWidths;
  double WidthStart = 0, WidthEnd = 0;
  TPoint3D ArcSecond;
  bool PlineArcMode = false;
  double Plinewid = 0;
  double Elevation = 0;  // ELEVATION: the UCS z of a point typed as x,y
  int Lwunits = 1;       // LWUNITS: lineweights typed and shown in millimetres (1) or inches (0)
  std::string Variable;  // the system variable whose new value is asked for
  TAngleVars Angles;  // ANGBASE, ANGDIR
  TObjectSnap Snap;
  bool NoSnapNext = false;        // `_non` was typed: the next point is taken as typed
  std::vector<TUndoStep> Undo;    // oldest first
  int LineEntitiesMade = 0;
  std::vector<TExport> Exports;
  TTextEncoder Encode = [](std::string_view s) { return std::string(s); };
};

inline constexpr std::string_view kIdlePrompt = "コマンド: ";
inline constexpr std::string_view kSelectPrompt = "オブジェクトを選択: ";
inline constexpr std::string_view kCancelMark = "*キャンセル*";

// Takes one typed character: U+0003 and Esc cancel, a blank (outside double quotes), CR or LF end the input,
// backspace takes back one character, anything else is typed.
void FeedChar(THost& host, char32_t c);
void FeedText(THost& host, std::u32string_view text);
// Ends the current input as a blank or CR would.
void SubmitInput(THost& host);
// Cancels what runs, as Ctrl+C: "<prompt><input>*キャンセル*" goes to the history.
void CancelCommand(THost& host);
// U at the command line: takes back the last command, or the whole last UNDO BEgin/End group.
void UndoLastStep(THost& host);

// True while SELECT waits at "オブジェクトを選択: " for an object to be picked.
bool WaitingForPick(const THost& host);
// Picks object `index` (a click or the scenario). Returns false when nothing waits for a pick or no such object.
bool PickEntity(THost& host, int index);

// The history as the text window copies it: every line followed by CR LF.
std::string HistoryText(const THost& host);
// The echo line of a UCS variable ("UCSORG", "UCSXDIR" or "UCSYDIR").
std::string UcsEcho(const THost& host, const std::string& name);
// The host as JSON (drawing, UCS, FILEDIA, previous selection, exports, history, prompt).
std::string HostToJson(const THost& host);

// What a DXFOUT of this host writes besides the objects: layers, linetypes, current properties, PLINEWID,
// ELEVATION, UCS.
TDxfTables TablesOf(const THost& host);
// True when the drawing has a layer of that name ("0", a listed layer, or one an object is on).
bool HasLayer(const THost& host, const std::string& name);
// Adds a layer (colour 7, Continuous) unless the drawing has it.
void EnsureLayer(THost& host, const std::string& name);

// "x,y" or "x,y,z" to a point (hasZ says which); false when it is not that.
bool ParsePointText(std::string_view text, TPoint3D& p, bool* hasZ = nullptr);
// Whether an object shows: its layer is on.
bool IsVisible(const THost& host, const TEntity& e);
// UTF-32 ↔ UTF-8 (the shell decodes messages to UTF-16, then to code points).
std::string Utf8FromUtf32(std::u32string_view text);
std::u32string Utf32FromUtf8(std::string_view text);

}  // namespace swivex
