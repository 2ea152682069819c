// libFuzzer target: any bytes through the bytes-in DXF reader. A read either ends or raises one of its two
// errors; afterwards the store must be within its slots, and every polyline's per-vertex lists as long as its
// vertex count, whatever the bytes were.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"
#include "text/NumText.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

template <class T>
void CheckCount(const std::vector<T>& slots, std::int32_t count) {
  Check(count >= 0 && static_cast<std::size_t>(count) <= slots.size());
  Check(slots.size() % swivex::kSlotStep == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace swivex;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  bool finished = false;
  try {
    ReadDxfBytes(bytes);
    finished = true;
  } catch (const TConvertError& error) {
    Check(error.Line() >= 1);
  } catch (const TDxfReadError& error) {
    Check(error.Line() >= 1);
  }
  if (finished) Check(Lines.size() == static_cast<std::size_t>(LineCount));
  else CheckCount(Lines, LineCount);
  CheckCount(Texts, TextCount);
  CheckCount(Arcs, ArcCount);
  CheckCount(Circles, CircleCount);
  CheckCount(Polylines, PolylineCount);
  for (std::int32_t i = 0; i < PolylineCount; ++i) {
    const TPolylineRec& p = Polylines[static_cast<std::size_t>(i)];
    Check(p.VertexCount >= 0 && p.VertexCount <= kMaxVertices);
    const auto count = static_cast<std::size_t>(p.VertexCount);
    Check(p.Vertices.size() == count && p.VertexFlags.size() == count && p.Bulges.size() == count &&
          p.StartWidths.size() == count && p.EndWidths.size() == count);
  }
  Check(StripMTextCodes(bytes).size() <= size);
  return 0;
}
