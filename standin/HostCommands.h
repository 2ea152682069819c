// The stand-in host's commands, split by subject: what StandinHost.cpp shares with PlineCommand.cpp (PLINE) and
// EditCommands.cpp (CHPROP, UNDO and U, running object snap). Internal to the stand-in; portable C++.
#pragma once

#include <string>
#include <string_view>

#include "standin/StandinHost.h"

namespace swivex {

// What a point prompt says to text that is neither a point nor one of its keywords.
inline constexpr const char* kInvalidPoint = "点 または オプション キーワードが必要です。";

// Shared helpers (StandinHost.cpp).
std::string Upper(std::string_view s);
std::string WithoutQuotes(std::string_view s);
void Say(THost& h, std::string line);
void Echo(THost& h, const std::string& input);  // the prompt and what was typed, to the history
void ToIdle(THost& h);
void Ask(THost& h, THostState state, std::string prompt);
bool ParseNumber(std::string_view s, double& v);

// Shared helpers (EditCommands.cpp).
// A keyword as AutoCAD matches it: a leading `_` dropped, any case, at least the capitalised part of the
// option's name and no letter that is not in it ("CL", "clo" and "_CLose" for "CLose").
bool IsKeyword(std::string_view typed, std::string_view option);
// "%.4f", as AutoCAD shows lengths with LUPREC 4.
std::string Fixed4(double v);

// PLINE (PlineCommand.cpp).
void StartPline(THost& h);
void PlineInput(THost& h, const std::string& typed);
// Ends the polyline with the points it has (at least two), closed or not, and goes idle.
void FinishPline(THost& h, bool closed);
bool InPline(const THost& h);

// 3DPOLY (Poly3DCommand.cpp).
void Start3DPoly(THost& h);
void Poly3DInput(THost& h, const std::string& typed);
bool In3DPoly(const THost& h);
// Ends the 3D polyline with the points it has (at least two) and goes idle.
void Finish3DPoly(THost& h, bool closed);

// CHPROP, UNDO, U and object snap (EditCommands.cpp).
void StartChprop(THost& h);
// The selection of CHPROP has ended (an empty input): the property prompt, or the end when nothing is chosen.
void ChpropSelectionDone(THost& h);
void ChpropInput(THost& h, const std::string& typed);
void StartUndo(THost& h);
void UndoInput(THost& h, const std::string& typed);
// Keeps the drawing as it is before the command `name` runs, so that U can take the command back.
void RecordUndoStep(THost& h, const std::string& name);
// A typed point at a point prompt: `_non` (NoSnap, nothing else done: the next point is not snapped) or a point in
// the current UCS, turned to world coordinates and pulled to a nearby end point by the running object snap (Point).
// Invalid when the text is neither (nothing said).
enum class TPointInput { Point, NoSnap, Invalid };
TPointInput ReadTypedPoint(THost& h, const std::string& typed, TPoint3D& world);
// The entities that the last object means ("L" at オブジェクトを選択): the newest visible one, if any.
std::vector<int> LastObject(const THost& h);
// Values as CHPROP and the system variables take them: a colour (1..255, a name, BYLAYER, BYBLOCK), a lineweight
// typed in LWUNITS' unit (the nearest of AutoCAD's), a linetype loaded, used or in acad.lin (its name as kept).
bool ReadColorInput(const std::string& typed, int& color);
bool ReadLineweightInput(const THost& h, const std::string& typed, int& lw);
bool FindLinetype(THost& h, const std::string& typed, std::string& name);
bool IsLineweight(int lw);

// System variables typed at the command prompt (SystemVariables.cpp): CLAYER, CECOLOR, CELTYPE, CELWEIGHT,
// CELTSCALE, THICKNESS, ELEVATION, PLINEWID, LWUNITS.
bool IsSystemVariable(const std::string& name);
void StartSystemVariable(THost& h, const std::string& name);
void SystemVariableInput(THost& h, const std::string& typed);

}  // namespace swivex
