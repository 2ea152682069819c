#include "standin/DxfWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <tuple>

namespace swivex {

namespace {

constexpr const char* kEol = "\r\n";

// One file being written: the stream, the precision and the next free handle.
struct TDxfOut {
  std::ostream& Out;
  int Decimals;
  const TTextEncoder& Encode;
  unsigned NextHandle = 0x20;

  void Pair(int code, std::string_view value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%3d", code);
    Out << buf << kEol << value << kEol;
  }
  void Int(int code, long long v) { Pair(code, std::to_string(v)); }
  void Real(int code, double v) { Pair(code, DxfReal(v, Decimals)); }
  void Point(int code, const TPoint3D& p) {
    Real(code, p.x);
    Real(code + 10, p.y);
    Real(code + 20, p.z);
  }
  std::string Handle() {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", NextHandle++);
    return buf;
  }
};

// Fixed handles of the objects every file holds.
constexpr const char* kRootDict = "C";
constexpr const char* kGroupDict = "D";
constexpr const char* kLayoutDict = "1A";
constexpr const char* kModelRecord = "1F";
constexpr const char* kPaperRecord = "1B";
constexpr const char* kModelLayout = "1C";
constexpr const char* kPaperLayout = "1E";

void BeginTable(TDxfOut& d, const char* name, const char* handle, int count) {
  d.Pair(0, "TABLE");
  d.Pair(2, name);
  d.Pair(5, handle);
  d.Pair(330, "0");
  d.Pair(100, "AcDbSymbolTable");
  d.Int(70, count);
}

void BeginRecord(TDxfOut& d, const char* type, const char* table, const char* subclass, int handleCode = 5) {
  d.Pair(0, type);
  d.Pair(handleCode, d.Handle());
  d.Pair(330, table);
  d.Pair(100, "AcDbSymbolTableRecord");
  d.Pair(100, subclass);
}

// The linetypes of acad.lin that a Japanese template loads on demand: name, description, dash lengths.
struct TLinetypeDef {
  const char* Name;
  const char* Description;
  std::vector<double> Dashes;
};

const std::vector<TLinetypeDef>& StandardLinetypes() {
  static const std::vector<TLinetypeDef> defs = {
      {"DASHED", "Dashed __ __ __ __ __ __ __ __ __ __ __ __ __ _", {0.5, -0.25}},
      {"HIDDEN", "Hidden __ __ __ __ __ __ __ __ __ __ __ __ __ __", {0.25, -0.125}},
      {"CENTER", "Center ____ _ ____ _ ____ _ ____ _ ____ _ ____", {1.25, -0.25, 0.25, -0.25}},
      {"PHANTOM", "Phantom ______  __  __  ______  __  __  ______", {1.25, -0.25, 0.25, -0.25, 0.25, -0.25}},
      {"DOT", "Dot . . . . . . . . . . . . . . . . . . . . . . . .", {0.0, -0.25}},
      {"DASHDOT", "Dash dot __ . __ . __ . __ . __ . __ . __ . __", {0.5, -0.25, 0.0, -0.25}},
  };
  return defs;
}

const TLinetypeDef* FindStandardLinetype(const std::string& name) {
  for (const auto& known : StandardLinetypes())
    if (SameName(name, known.Name)) return &known;
  return nullptr;
}

// The layers and linetypes the file lists: "0" and the given ones, then those the current properties and the
// written objects use, each name once (compared as AutoCAD compares them).
struct TTableNames {
  std::vector<TLayer> Layers;
  std::vector<std::string> Linetypes;  // besides ByBlock, ByLayer and Continuous
};

void AddLinetype(TTableNames& t, const std::string& name) {
  if (name.empty() || SameName(name, "ByLayer") || SameName(name, "ByBlock") || SameName(name, "Continuous")) return;
  for (const auto& n : t.Linetypes)
    if (SameName(n, name)) return;
  t.Linetypes.push_back(name);
}

void AddLayer(TTableNames& t, const TLayer& layer) {
  for (const auto& l : t.Layers)
    if (SameName(l.Name, layer.Name)) return;
  t.Layers.push_back(layer);
  AddLinetype(t, layer.Linetype);
}

TTableNames CollectTables(const TDxfTables& tables, const std::vector<TEntity>& entities, const std::vector<int>& which) {
  TTableNames t;
  AddLayer(t, {"0"});
  for (const auto& l : tables.Layers) AddLayer(t, l);
  AddLayer(t, {tables.Current.Layer});
  for (const auto& n : tables.Linetypes) AddLinetype(t, n);
  AddLinetype(t, tables.Current.Linetype);
  for (const int i : which) {
    if (i < 0 || static_cast<std::size_t>(i) >= entities.size()) continue;
    const TEntity& e = entities[static_cast<std::size_t>(i)];
    AddLayer(t, {e.Layer});
    AddLinetype(t, e.Linetype);
  }
  return t;
}

void WriteHeader(TDxfOut& d, unsigned handSeed, const TDxfTables& tables) {
  d.Pair(0, "SECTION");
  d.Pair(2, "HEADER");
  d.Pair(9, "$ACADVER");
  d.Pair(1, "AC1015");
  d.Pair(9, "$ACADMAINTVER");
  d.Int(70, 6);
  d.Pair(9, "$DWGCODEPAGE");
  d.Pair(3, "ANSI_932");
  d.Pair(9, "$INSBASE");
  d.Point(10, {});
  d.Pair(9, "$ELEVATION");
  d.Real(40, tables.Elevation);
  d.Pair(9, "$THICKNESS");
  d.Real(40, tables.Current.Thickness);
  d.Pair(9, "$TEXTSTYLE");
  d.Pair(7, "Standard");
  d.Pair(9, "$CLAYER");
  d.Pair(8, d.Encode(tables.Current.Layer));
  d.Pair(9, "$CELTYPE");
  d.Pair(6, d.Encode(tables.Current.Linetype));
  d.Pair(9, "$CECOLOR");
  d.Int(62, tables.Current.Color);
  d.Pair(9, "$CELTSCALE");
  d.Real(40, tables.Current.LinetypeScale);
  d.Pair(9, "$LUPREC");
  d.Int(70, tables.Luprec);
  d.Pair(9, "$UCSORG");
  d.Point(10, tables.Ucs.Origin);
  d.Pair(9, "$UCSXDIR");
  d.Point(10, tables.Ucs.XDir);
  d.Pair(9, "$UCSYDIR");
  d.Point(10, tables.Ucs.YDir);
  d.Pair(9, "$PLINEWID");
  d.Real(40, tables.Plinewid);
  d.Pair(9, "$CELWEIGHT");
  d.Int(370, tables.Current.Lineweight);
  if (tables.Angles.InHeader) {
    d.Pair(9, "$ANGBASE");
    d.Real(50, tables.Angles.BaseRadians);
    d.Pair(9, "$ANGDIR");
    d.Int(70, tables.Angles.Direction);
  }
  d.Pair(9, "$HANDSEED");
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", handSeed);
  d.Pair(5, buf);
  d.Pair(0, "ENDSEC");
  d.Pair(0, "SECTION");
  d.Pair(2, "CLASSES");
  d.Pair(0, "ENDSEC");
}

void WriteTables(TDxfOut& d, const TTableNames& names) {
  d.Pair(0, "SECTION");
  d.Pair(2, "TABLES");

  BeginTable(d, "VPORT", "8", 1);
  BeginRecord(d, "VPORT", "8", "AcDbViewportTableRecord");
  d.Pair(2, "*Active");
  d.Int(70, 0);
  d.Real(10, 0);
  d.Real(20, 0);
  d.Real(11, 1);
  d.Real(21, 1);
  d.Real(12, 0);
  d.Real(22, 0);
  d.Real(40, 100);
  d.Real(41, 1.5);
  d.Pair(0, "ENDTAB");

  BeginTable(d, "LTYPE", "5", static_cast<int>(3 + names.Linetypes.size()));
  for (const char* name : {"ByBlock", "ByLayer", "Continuous"}) {
    BeginRecord(d, "LTYPE", "5", "AcDbLinetypeTableRecord");
    d.Pair(2, name);
    d.Int(70, 0);
    d.Pair(3, std::string_view(name) == "Continuous" ? "Solid line" : "");
    d.Int(72, 65);
    d.Int(73, 0);
    d.Real(40, 0);
  }
  for (const auto& name : names.Linetypes) {
    // A linetype of acad.lin gets its dashes; any other name is written as a pattern without dashes.
    static const TLinetypeDef kNoDashes{"", "", {}};
    const TLinetypeDef* known = FindStandardLinetype(name);
    const TLinetypeDef& def = known ? *known : kNoDashes;
    BeginRecord(d, "LTYPE", "5", "AcDbLinetypeTableRecord");
    d.Pair(2, d.Encode(name));
    d.Int(70, 0);
    d.Pair(3, def.Description);
    d.Int(72, 65);
    d.Int(73, static_cast<int>(def.Dashes.size()));
    double length = 0;
    for (const double dash : def.Dashes) length += std::fabs(dash);
    d.Real(40, length);
    for (const double dash : def.Dashes) {
      d.Real(49, dash);
      d.Int(74, 0);
    }
  }
  d.Pair(0, "ENDTAB");

  BeginTable(d, "LAYER", "2", static_cast<int>(names.Layers.size()));
  for (const auto& layer : names.Layers) {
    BeginRecord(d, "LAYER", "2", "AcDbLayerTableRecord");
    d.Pair(2, d.Encode(layer.Name));
    d.Int(70, 0);
    d.Int(62, layer.On ? layer.Color : -layer.Color);  // a layer that is off has its colour negative
    d.Pair(6, d.Encode(layer.Linetype));
  }
  d.Pair(0, "ENDTAB");

  // The text styles: AutoCAD's Standard and the Japanese big-font style a Japanese template brings.
  BeginTable(d, "STYLE", "3", 2);
  BeginRecord(d, "STYLE", "3", "AcDbTextStyleTableRecord");
  d.Pair(2, "Standard");
  d.Int(70, 0);
  d.Real(40, 0);
  d.Real(41, 1);
  d.Real(50, 0);
  d.Int(71, 0);
  d.Real(42, 2.5);
  d.Pair(3, "txt");
  d.Pair(4, "");
  BeginRecord(d, "STYLE", "3", "AcDbTextStyleTableRecord");
  d.Pair(2, "JIS");
  d.Int(70, 0);
  d.Real(40, 2.5);
  d.Real(41, 1);
  d.Real(50, 0);
  d.Int(71, 0);
  d.Real(42, 2.5);
  d.Pair(3, "txt.shx");
  d.Pair(4, "bigfont.shx");
  d.Pair(0, "ENDTAB");

  BeginTable(d, "VIEW", "6", 0);
  d.Pair(0, "ENDTAB");
  BeginTable(d, "UCS", "7", 0);
  d.Pair(0, "ENDTAB");

  BeginTable(d, "APPID", "9", 1);
  BeginRecord(d, "APPID", "9", "AcDbRegAppTableRecord");
  d.Pair(2, "ACAD");
  d.Int(70, 0);
  d.Pair(0, "ENDTAB");

  BeginTable(d, "DIMSTYLE", "A", 1);
  d.Pair(100, "AcDbDimStyleTable");
  BeginRecord(d, "DIMSTYLE", "A", "AcDbDimStyleTableRecord", 105);
  d.Pair(2, "Standard");
  d.Int(70, 0);
  d.Pair(0, "ENDTAB");

  BeginTable(d, "BLOCK_RECORD", "1", 2);
  d.Pair(0, "BLOCK_RECORD");
  d.Pair(5, kModelRecord);
  d.Pair(330, "1");
  d.Pair(100, "AcDbSymbolTableRecord");
  d.Pair(100, "AcDbBlockTableRecord");
  d.Pair(2, "*Model_Space");
  d.Pair(340, kModelLayout);
  d.Pair(0, "BLOCK_RECORD");
  d.Pair(5, kPaperRecord);
  d.Pair(330, "1");
  d.Pair(100, "AcDbSymbolTableRecord");
  d.Pair(100, "AcDbBlockTableRecord");
  d.Pair(2, "*Paper_Space");
  d.Pair(340, kPaperLayout);
  d.Pair(0, "ENDTAB");

  d.Pair(0, "ENDSEC");
}

void WriteBlocks(TDxfOut& d) {
  d.Pair(0, "SECTION");
  d.Pair(2, "BLOCKS");
  for (const auto& [name, record] : {std::pair{"*Model_Space", kModelRecord}, std::pair{"*Paper_Space", kPaperRecord}}) {
    d.Pair(0, "BLOCK");
    d.Pair(5, d.Handle());
    d.Pair(330, record);
    d.Pair(100, "AcDbEntity");
    d.Pair(8, "0");
    d.Pair(100, "AcDbBlockBegin");
    d.Pair(2, name);
    d.Int(70, 0);
    d.Point(10, {});
    d.Pair(3, name);
    d.Pair(1, "");
    d.Pair(0, "ENDBLK");
    d.Pair(5, d.Handle());
    d.Pair(330, record);
    d.Pair(100, "AcDbEntity");
    d.Pair(8, "0");
    d.Pair(100, "AcDbBlockEnd");
  }
  d.Pair(0, "ENDSEC");
}

void BeginEntity(TDxfOut& d, const TEntity& e, const char* type) {
  d.Pair(0, type);
  d.Pair(5, d.Handle());
  d.Pair(330, kModelRecord);
  d.Pair(100, "AcDbEntity");
  d.Pair(8, d.Encode(e.Layer));
  // What is BYLAYER (and a linetype scale of 1) is left out, as AutoCAD leaves it out.
  if (!SameName(e.Linetype, "ByLayer") && !e.Linetype.empty()) d.Pair(6, d.Encode(e.Linetype));
  if (e.Color != kColorByLayer) d.Int(62, e.Color);
  if (e.Lineweight != kLineweightByLayer) d.Int(370, e.Lineweight);
  if (e.LinetypeScale != 1.0) d.Real(48, e.LinetypeScale);
}

bool HasVertexWidths(const TEntity& e) {
  for (std::size_t i = 0; i < e.Vertices.size(); ++i)
    if (StartWidthAt(e, i) != 0 || EndWidthAt(e, i) != 0) return true;
  return false;
}

// The extrusion direction, as AutoCAD writes it: only when it is not the world z axis.
void WriteNormal(TDxfOut& d, const TPoint3D& n) {
  if (n.x != 0 || n.y != 0 || n.z != 1) d.Point(210, n);
}

// A POLYLINE with its VERTEX entities and SEQEND, as AutoCAD writes the 2D, 3D and mesh kinds. A 2D one's vertices
// are OCS points (the header's 30 its elevation), a 3D one's and a mesh's world points.
void WritePolyline(TDxfOut& d, const TEntity& e) {
  const bool mesh = (e.Flags & (16 | 64)) != 0, threeD = (e.Flags & kPolyline3DFlag) != 0;
  const bool planar = !mesh && !threeD;
  char owner[16];  // the handle BeginEntity gives the POLYLINE, which its vertices and SEQEND name as owner
  std::snprintf(owner, sizeof owner, "%X", d.NextHandle);
  BeginEntity(d, e, "POLYLINE");
  d.Pair(100, planar ? "AcDb2dPolyline" : threeD ? "AcDb3dPolyline" : (e.Flags & 64) ? "AcDbPolyFaceMesh" : "AcDbPolygonMesh");
  d.Int(66, 1);
  d.Point(10, {0, 0, planar ? e.Elevation : 0});
  if (e.Thickness != 0) d.Real(39, e.Thickness);
  d.Int(70, e.Flags);
  if (mesh) {
    d.Int(71, static_cast<long long>(e.Vertices.size()));
    d.Int(72, 1);
  }
  if (planar) WriteNormal(d, e.Normal);
  const char* vertexClass = planar ? "AcDb2dVertex" : threeD ? "AcDb3dPolylineVertex" : "AcDbPolygonMeshVertex";
  for (std::size_t i = 0; i < e.Vertices.size(); ++i) {
    d.Pair(0, "VERTEX");
    d.Pair(5, d.Handle());
    d.Pair(330, owner);
    d.Pair(100, "AcDbEntity");
    d.Pair(8, d.Encode(e.Layer));
    d.Pair(100, "AcDbVertex");
    d.Pair(100, vertexClass);
    d.Point(10, planar ? WorldToOcs(e.Vertices[i], e.Normal) : e.Vertices[i]);
    if (planar && BulgeAt(e, i) != 0) d.Real(42, BulgeAt(e, i));
    d.Int(70, i < e.VertexFlags.size() ? e.VertexFlags[i] : 0);
  }
  d.Pair(0, "SEQEND");
  d.Pair(5, d.Handle());
  d.Pair(330, owner);
  d.Pair(100, "AcDbEntity");
  d.Pair(8, d.Encode(e.Layer));
}

void WriteEntity(TDxfOut& d, const TEntity& e) {
  switch (e.Kind) {
    case TEntityKind::Line:
      BeginEntity(d, e, "LINE");
      d.Pair(100, "AcDbLine");
      if (e.Thickness != 0) d.Real(39, e.Thickness);
      d.Point(10, e.Start);
      d.Point(11, e.End);
      break;
    case TEntityKind::LwPolyline:
      BeginEntity(d, e, "LWPOLYLINE");
      d.Pair(100, "AcDbPolyline");
      d.Int(90, static_cast<long long>(e.Vertices.size()));
      d.Int(70, e.Closed ? 1 : 0);
      if (!HasVertexWidths(e)) d.Real(43, e.ConstantWidth);
      if (e.Elevation != 0) d.Real(38, e.Elevation);
      if (e.Thickness != 0) d.Real(39, e.Thickness);
      for (std::size_t i = 0; i < e.Vertices.size(); ++i) {
        const TPoint3D p = WorldToOcs(e.Vertices[i], e.Normal);  // the vertices lie in the object's own system
        d.Real(10, p.x);
        d.Real(20, p.y);
        if (StartWidthAt(e, i) != 0 || EndWidthAt(e, i) != 0) {
          d.Real(40, StartWidthAt(e, i));
          d.Real(41, EndWidthAt(e, i));
        }
        if (BulgeAt(e, i) != 0) d.Real(42, BulgeAt(e, i));
      }
      WriteNormal(d, e.Normal);
      break;
    case TEntityKind::Polyline:
      WritePolyline(d, e);
      break;
    case TEntityKind::Circle:
      BeginEntity(d, e, "CIRCLE");
      d.Pair(100, "AcDbCircle");
      if (e.Thickness != 0) d.Real(39, e.Thickness);
      d.Point(10, e.Center);
      d.Real(40, e.Radius);
      break;
    case TEntityKind::Arc:
      BeginEntity(d, e, "ARC");
      d.Pair(100, "AcDbCircle");
      d.Point(10, e.Center);
      d.Real(40, e.Radius);
      d.Pair(100, "AcDbArc");
      d.Real(50, e.StartAngle);
      d.Real(51, e.EndAngle);
      break;
    case TEntityKind::Text:
      BeginEntity(d, e, "TEXT");
      d.Pair(100, "AcDbText");
      d.Point(10, e.Start);
      d.Real(40, e.Height);
      d.Pair(1, d.Encode(e.Text));
      d.Pair(7, "Standard");
      d.Pair(100, "AcDbText");
      break;
    case TEntityKind::MText:
      BeginEntity(d, e, "MTEXT");
      d.Pair(100, "AcDbMText");
      d.Point(10, e.Start);
      d.Real(40, e.Height);
      d.Real(41, e.Width);
      d.Int(71, 1);
      d.Int(72, 5);
      d.Pair(1, d.Encode(e.Text));
      d.Pair(7, "Standard");
      break;
  }
}

void WriteObjects(TDxfOut& d) {
  d.Pair(0, "SECTION");
  d.Pair(2, "OBJECTS");
  d.Pair(0, "DICTIONARY");
  d.Pair(5, kRootDict);
  d.Pair(330, "0");
  d.Pair(100, "AcDbDictionary");
  d.Int(281, 1);
  d.Pair(3, "ACAD_GROUP");
  d.Pair(350, kGroupDict);
  d.Pair(3, "ACAD_LAYOUT");
  d.Pair(350, kLayoutDict);
  for (const char* h : {kGroupDict, kLayoutDict}) {
    d.Pair(0, "DICTIONARY");
    d.Pair(5, h);
    d.Pair(330, kRootDict);
    d.Pair(100, "AcDbDictionary");
    d.Int(281, 1);
    if (h == kLayoutDict) {
      d.Pair(3, "Model");
      d.Pair(350, kModelLayout);
      d.Pair(3, "Layout1");
      d.Pair(350, kPaperLayout);
    }
  }
  for (const auto& [name, handle, record, order] :
       {std::tuple{"Model", kModelLayout, kModelRecord, 0}, std::tuple{"Layout1", kPaperLayout, kPaperRecord, 1}}) {
    d.Pair(0, "LAYOUT");
    d.Pair(5, handle);
    d.Pair(330, kLayoutDict);
    d.Pair(100, "AcDbPlotSettings");
    d.Pair(1, "");
    d.Pair(2, "none_device");
    d.Pair(4, "");
    d.Pair(6, "");
    d.Real(40, 0);
    d.Real(41, 0);
    d.Real(42, 0);
    d.Real(43, 0);
    d.Real(44, 0);
    d.Real(45, 0);
    d.Real(46, 0);
    d.Real(47, 0);
    d.Real(48, 0);
    d.Real(49, 0);
    d.Real(140, 0);
    d.Real(141, 0);
    d.Real(142, 1);
    d.Real(143, 1);
    d.Int(70, 688);
    d.Int(72, 0);
    d.Int(73, 0);
    d.Int(74, 5);
    d.Pair(7, "");
    d.Int(75, 16);
    d.Real(147, 1);
    d.Real(148, 0);
    d.Real(149, 0);
    d.Pair(100, "AcDbLayout");
    d.Pair(1, name);
    d.Int(70, 1);
    d.Int(71, order);
    d.Real(10, 0);
    d.Real(20, 0);
    d.Real(11, 420);
    d.Real(21, 297);
    d.Point(12, {});
    d.Point(14, {});
    d.Point(15, {});
    d.Real(146, 0);
    d.Point(13, {});
    d.Point(16, {1, 0, 0});
    d.Point(17, {0, 1, 0});
    d.Int(76, 0);
    d.Pair(330, record);
  }
  d.Pair(0, "ENDSEC");
}

}  // namespace

bool IsAcadLinLinetype(const std::string& name) { return FindStandardLinetype(name) != nullptr; }

std::string DxfReal(double v, int decimals) {
  decimals = std::clamp(decimals, 0, 16);
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  std::string s(buf);
  if (s.find('.') == std::string::npos) s += ".0";
  while (s.size() > 2 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
  if (s == "-0.0") s = "0.0";
  return s;
}

void WriteDxf(std::ostream& out, const std::vector<TEntity>& entities, const std::vector<int>& which, int decimals,
              const TTextEncoder& encode, const TDxfTables& tables) {
  // Handles 1 to 1F are the tables', dictionaries' and layouts'; header, blocks and entities count on from 0x20.
  TDxfOut d{out, decimals, encode};
  std::ostringstream body;
  TDxfOut b{body, decimals, encode};
  WriteTables(b, CollectTables(tables, entities, which));
  WriteBlocks(b);
  b.Pair(0, "SECTION");
  b.Pair(2, "ENTITIES");
  for (const int i : which)
    if (i >= 0 && static_cast<std::size_t>(i) < entities.size()) WriteEntity(b, entities[static_cast<std::size_t>(i)]);
  b.Pair(0, "ENDSEC");
  WriteObjects(b);
  b.Pair(0, "EOF");
  WriteHeader(d, b.NextHandle, tables);
  out << body.str();
}

}  // namespace swivex
