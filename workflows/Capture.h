// The capture's computations, free of Win32: the temporary file name, the prompt and history tests, the export
// commands, the projection of the entity store into the UCS, the reference segment and the texts the dialog shows.
// The glue in CaptureGlue.cpp calls these between its talks with AutoCAD.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/AngleConvention.h"
#include "geometry/Point3D.h"

namespace swivex {

// The current UCS as AutoCAD reports it: origin and axes in world coordinates, used unchanged.
struct TUcs {
  TPoint3D Origin;
  TPoint3D XDir;
  TPoint3D YDir;
};

// The UCS as its echoes showed it, and per component half a unit of the last decimal the echo showed: how far
// the exact value may lie from the echoed one.
struct TEchoedUcs {
  TUcs Ucs;
  TUcs Rounding;
};

// The UCS to project with. The export's header holds it to 16 decimals: used when every component lies within
// the echo's rounding of the echoed one (the export then describes the same UCS). Otherwise, or without a header
// UCS, the echoed UCS with its axes made unit length (an axis of length zero is kept as it is).
TUcs ChooseUcs(const TEchoedUcs& echoed, const std::optional<TUcs>& exported);

// The first segment of the picked object in UCS x, y and world z. Lives for the run; starts as zeros.
struct TSegment {
  TPoint3D First;
  TPoint3D Second;
};
extern TSegment RefSegment;

// The UCS the last capture measured in. The store keeps world coordinates; the redraw turns the copies in this
// UCS, so that a UCS changed before 作成 does not move them. Starts as the world UCS.
extern TUcs CapturedUcs;
inline constexpr TUcs kWorldUcs{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};

// The local time a capture names its file after.
struct TLocalTime {
  int Year = 0;  // four digits; only the last two are used
  int Month = 0;
  int Day = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

// folderWithSeparator + "yymmddhhnnss.DXF"; bytes in the system code page.
std::string TempDxfName(std::string_view folderWithSeparator, const TLocalTime& now);

// The idle prompt "コマンド: ", byte for byte in Shift-JIS.
bool IsIdlePrompt(std::string_view promptText);

// What the last history line says of the pick, by its shape rather than one release's wording: the selection
// prompt followed by a count of what was found ("オブジェクトを選択: 1 個を検出", "… ALL 3 個を検出") is a finished
// pick; a cancel mark is the user's Esc; the prompt with nothing after it (Enter), with only the typed option
// (SINGLE, the pick still pending), a count of none, or any other line is no finished pick.
enum class TPickOutcome { Picked, Cancelled, NotPicked };
TPickOutcome PickOutcomeOf(std::string_view lastHistoryLine);

// The wait for the pick reads the prompt often at first, so that a quick pick shows at once, then every 200 ms;
// it gives up two minutes after the selection was sent.
inline constexpr long long kPickWaitLimitMs = 120000;
int PickPollIntervalMs(long long elapsedMs);

// An idle prompt ends the wait only once the selection prompt has been seen (any prompt other than the idle one
// while the selection runs), or once this long has passed without it: a busy AutoCAD may still show コマンド: a
// while after SELECT was typed.
inline constexpr long long kSelectionPromptMs = 200;

// The wait's state across prompt reads.
struct TPickWait {
  bool SelectionSeen = false;
};
// Whether this read ends the wait. An empty prompt (a command line hidden for a moment) never does.
bool PickWaitEnds(TPickWait& wait, std::string_view promptText, long long elapsedMs);

// How a pick ended, and what the balloon says of it (UTF-8; empty when nothing is said: a pick exported, or
// cancelled by the user).
enum class TPickStatus { Exported, Cancelled, NotPicked, TimedOut, DialogClosed };
std::string PickNoticeText(TPickStatus status);
// The balloon's text when the export held neither a line nor a polyline.
inline constexpr std::string_view kNotLineNotice = "線またはポリラインを選んでください。前の値のままです。";

// The three export commands; the second is a byte string in the system code page (the file name may hold
// Japanese), the caller converts it to UTF-16.
inline constexpr std::string_view kSelectSingleCommand = "\x03SELECT SINGLE ";
inline constexpr std::string_view kFileDiaOffCommand = "\x03" "FILEDIA 0 ";
inline constexpr std::string_view kFileDiaOnCommand = "\x03" "FILEDIA 1 ";
std::string DxfOutCommand(std::string_view tempFileName);

// A world point into the UCS: x and y from the offset to the origin dotted with the axes, z unchanged.
TPoint3D ProjectToUcs(const TPoint3D& p, const TUcs& ucs);

// Which kind of entity gave the reference segment.
enum class TSegmentSource { None, Polyline, Line };

// Leaves in the store what its polylines draw, in world coordinates: a mesh (polygon or polyface), which draws no
// path through its vertices, is taken out (counted in meshesTakenOut when given), a spline-fit polyline's frame
// vertices are dropped, and the vertices of 2D polylines go from their OCS (with the elevation) to world
// coordinates; their bulges stay as seen along their Normal. Lines and 3D polylines are world already. Then keeps
// the UCS in CapturedUcs and takes RefSegment, projected, from the first polyline, or from the first line when
// there is one. None: the store holds neither kind and RefSegment is left as it was. Once per read.
TSegmentSource ProjectEntityStore(const TUcs& ucs, std::int32_t* meshesTakenOut = nullptr);

// What ShowMeasurement writes: the caption (UTF-8) and the five current-value texts; the new-angle row gets
// Do, Fun and Byo again. The direction as the frame of the angle convention shows it.
struct TMeasurementTexts {
  std::string CaptionUtf8;
  std::string Kyori;   // "%8.6f"
  std::string Kakudo;  // "%11.8f"
  std::string Do;
  std::string Fun;
  std::string Byo;     // "%6.6f"
};
TMeasurementTexts MeasurementTexts(bool polyline, const TPoint3D& first, const TPoint3D& second,
                                   const TAngleFrame& frame = {});

inline constexpr std::string_view kCaptionIdle = "回転処理";
inline constexpr std::string_view kCaptionPolyline = "回転処理　多角線";
inline constexpr std::string_view kCaptionLine = "回転処理　線";

}  // namespace swivex
