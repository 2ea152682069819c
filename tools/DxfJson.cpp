#include "tools/DxfJson.h"

#include <iconv.h>

#include <memory>
#include <vector>

#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "text/NumText.h"

namespace swivex {

namespace {

struct TIconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr int kDigits = 17;                                 // every double reads back the same

std::string Point(const TPoint3D& p) {
  return "[" + JsonNumber(p.x, kDigits) + "," + JsonNumber(p.y, kDigits) + "," + JsonNumber(p.z, kDigits) + "]";
}

std::string Props(const TEntityProps& p) {
  return "{\"color\":" + std::to_string(p.Color) + ",\"linetype\":" + JsonString(p.Linetype.View()) +
         ",\"lineweight\":" + std::to_string(p.Lineweight) +
         ",\"linetype_scale\":" + JsonNumber(p.LinetypeScale, kDigits) +
         ",\"thickness\":" + JsonNumber(p.Thickness, kDigits) + "}";
}

// A point the header gave, or null.
std::string PointOrNull(bool given, const TPoint3D& p) { return given ? Point(p) : "null"; }

template <class T, class Format>
void WriteValues(std::ostream& out, const std::vector<T>& values, Format format) {
  out << "[";
  for (std::size_t k = 0; k < values.size(); ++k) out << (k ? "," : "") << format(values[k]);
  out << "]";
}

std::string Number(double v) { return JsonNumber(v, kDigits); }

template <class Each>
void WriteArray(std::ostream& out, const char* key, std::int32_t count, Each each) {
  out << "\"" << key << "\":[";
  for (std::int32_t i = 0; i < count; ++i) {
    if (i) out << ",";
    each(static_cast<std::size_t>(i));
  }
  out << "]";
}

}  // namespace

std::string SjisToUtf8(std::string_view bytes) {
  std::unique_ptr<void, TIconvCloser> cd(iconv_open("UTF-8", "CP932"));
  if (cd.get() == reinterpret_cast<void*>(-1)) {
    cd.release();
    throw std::runtime_error("iconv knows no CP932");
  }
  std::string out;
  char buffer[256];
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* to = buffer;
    std::size_t toLeft = sizeof buffer;
    const std::size_t rc = iconv(static_cast<iconv_t>(cd.get()), &in, &inLeft, &to, &toLeft);
    out.append(buffer, static_cast<std::size_t>(to - buffer));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // EILSEQ: a byte that maps to nothing; EINVAL: a lead byte cut off at the end.
      out.append(kReplacement);
      ++in;
      --inLeft;
      iconv(static_cast<iconv_t>(cd.get()), nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

std::string JsonString(std::string_view sjisBytes) { return JsonQuoted(SjisToUtf8(sjisBytes)); }

void WriteStoreJson(std::ostream& out, std::int32_t styleCount) {
  out << "{";
  WriteArray(out, "lines", LineCount, [&](std::size_t i) {
    const TLineRec& r = Lines[i];
    out << "{\"start\":" << Point(r.StartPt) << ",\"end\":" << Point(r.EndPt)
        << ",\"layer\":" << JsonString(r.Layer.View()) << ",\"props\":" << Props(r.Props) << "}";
  });
  out << ",";
  WriteArray(out, "polylines", PolylineCount, [&](std::size_t i) {
    const TPolylineRec& r = Polylines[i];
    out << "{\"layer\":" << JsonString(r.Layer.View()) << ",\"flags\":" << r.Flags << ",\"vertices\":";
    WriteValues(out, r.Vertices, [](const TPoint3D& v) { return "[" + Number(v.x) + "," + Number(v.y) + "]"; });
    out << ",\"vertex_flags\":";
    WriteValues(out, r.VertexFlags, [](std::int32_t f) { return std::to_string(f); });
    out << ",\"bulges\":";
    WriteValues(out, r.Bulges, Number);
    out << ",\"start_widths\":";
    WriteValues(out, r.StartWidths, Number);
    out << ",\"end_widths\":";
    WriteValues(out, r.EndWidths, Number);
    out << ",\"constant_width\":" << Number(r.ConstantWidth) << ",\"elevation\":" << Number(r.Elevation)
        << ",\"props\":" << Props(r.Props) << "}";
  });
  out << ",";
  WriteArray(out, "texts", TextCount, [&](std::size_t i) {
    const TTextRec& r = Texts[i];
    out << "{\"insert\":" << Point(r.InsertPt) << ",\"align\":" << Point(r.AlignPt)
        << ",\"text\":" << JsonString(r.Text.View()) << ",\"hjust\":" << r.HJust << ",\"vjust\":" << r.VJust
        << ",\"height\":" << JsonNumber(r.Height, kDigits) << "}";
  });
  out << ",";
  WriteArray(out, "arcs", ArcCount, [&](std::size_t i) {
    const TArcRec& r = Arcs[i];
    out << "{\"center\":" << Point(r.Center) << ",\"radius\":" << JsonNumber(r.Radius, kDigits)
        << ",\"start_angle\":" << JsonNumber(r.StartAngle, kDigits)
        << ",\"end_angle\":" << JsonNumber(r.EndAngle, kDigits)
        << ",\"layer\":" << JsonString(r.Layer.View()) << "}";
  });
  out << ",";
  WriteArray(out, "circles", CircleCount, [&](std::size_t i) {
    const TCircleRec& r = Circles[i];
    out << "{\"center\":" << Point(r.Center) << ",\"radius\":" << JsonNumber(r.Radius, kDigits)
        << ",\"layer\":" << JsonString(r.Layer.View()) << "}";
  });
  out << ",";
  WriteArray(out, "styles", styleCount, [&](std::size_t i) {
    out << "{\"name\":" << JsonString(Styles[i].Name.View()) << ",\"height\":" << JsonNumber(Styles[i].Height, kDigits)
        << "}";
  });
  const TDxfHeader& h = DxfHeader;
  out << ",\"header\":{\"clayer\":" << (h.HasCLayer ? JsonString(h.CLayer.View()) : "null")
      << ",\"cecolor\":" << h.CeColor << ",\"celtype\":" << JsonString(h.CeLtype.View())
      << ",\"celweight\":" << h.CeLweight << ",\"celtscale\":" << Number(h.CeLtScale)
      << ",\"thickness\":" << Number(h.Thickness) << ",\"plinewid\":" << Number(h.PlineWid) << ",\"elevation\":" << Number(h.Elevation) << ",\"ucsorg\":" << PointOrNull(h.HasUcsOrg, h.UcsOrg)
      << ",\"ucsxdir\":" << PointOrNull(h.HasUcsXDir, h.UcsXDir)
      << ",\"ucsydir\":" << PointOrNull(h.HasUcsYDir, h.UcsYDir) << "}";
  out << "}\n";
}

std::string ReadErrorReport(const std::exception& error, std::string_view fileName) {
  const std::string where = SjisToUtf8(fileName) + ":";
  if (const auto* convert = dynamic_cast<const TConvertError*>(&error)) {
    return where + std::to_string(convert->Line()) + ": " +
           ConvertErrorMessageUtf8(convert->Kind(), SjisToUtf8(convert->Text()));
  }
  if (const auto* read = dynamic_cast<const TDxfReadError*>(&error)) {
    if (read->Line() > 0) return where + std::to_string(read->Line()) + ": " + AppendFullStop(read->what());
    return where + " " + AppendFullStop(FileReadErrorMessageUtf8(SjisToUtf8(read->FileName())));
  }
  return {};
}

}  // namespace swivex
