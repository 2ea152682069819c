// The stand-in host's DXFOUT: writes objects as an ASCII DXF of version 2000 (AC1015) with the sections a real
// export has (HEADER, CLASSES, TABLES with a STYLE table, BLOCKS, ENTITIES, OBJECTS); polylines as LWPOLYLINE.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "standin/Drawing.h"

namespace swivex {

// Turns a UTF-8 text into the bytes the file holds (Shift-JIS for $DWGCODEPAGE ANSI_932).
using TTextEncoder = std::function<std::string(std::string_view utf8)>;

// True for a linetype of acad.lin that this host knows the dashes of (DASHED, HIDDEN, CENTER, PHANTOM, DOT,
// DASHDOT), in any case.
bool IsAcadLinLinetype(const std::string& name);

// A real number with `decimals` places, trailing zeros dropped but one decimal kept ("10.5", "0.0", "-3.0").
std::string DxfReal(double v, int decimals);

// The drawing's angle settings: ANGBASE (radians, as the variable holds it and $ANGBASE is written) and ANGDIR
// (1: clockwise). AutoCAD writes both into every header; InHeader false leaves them out, as some other programs'
// DXF writers do.
struct TAngleVars {
  double BaseRadians = 0.0;
  int Direction = 0;
  bool InHeader = true;
};

// What the file says about the drawing besides its objects: the layers and loaded linetypes (those the written
// objects and the current properties use are added), the current properties ($CLAYER, $CECOLOR, $CELTYPE,
// $CELWEIGHT, $CELTSCALE, $THICKNESS), $PLINEWID, $ELEVATION, the current UCS ($UCSORG, $UCSXDIR, $UCSYDIR)
// and the angle settings.
struct TDxfTables {
  std::vector<TLayer> Layers;
  std::vector<std::string> Linetypes;
  TProps Current;
  TUcs Ucs;
  int Luprec = 4;  // the drawing's linear precision, to which the echoes are rounded
  double Plinewid = 0;  // $PLINEWID
  double Elevation = 0;  // $ELEVATION
  TAngleVars Angles;
};

// Writes the entities with the given indices (in that order) with `decimals` places (0 to 16). Line breaks are
// CR LF, as DXFOUT writes them on Windows.
void WriteDxf(std::ostream& out, const std::vector<TEntity>& entities, const std::vector<int>& which, int decimals,
              const TTextEncoder& encode, const TDxfTables& tables = {});

}  // namespace swivex
