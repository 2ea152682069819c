#include "dxf/EntityStore.h"

namespace swivex {

std::vector<TLineRec> Lines;
std::vector<TTextRec> Texts;
std::vector<TArcRec> Arcs;
std::vector<TCircleRec> Circles;
std::vector<TPolylineRec> Polylines;
std::int32_t LineCount = 0;
std::int32_t TextCount = 0;
std::int32_t ArcCount = 0;
std::int32_t CircleCount = 0;
std::int32_t PolylineCount = 0;
std::vector<TStyleRec> Styles;
TDxfHeader DxfHeader;

namespace {
template <class T>
void Release(std::vector<T>& slots) {
  std::vector<T>().swap(slots);  // gives the memory back, not only the size
}
}  // namespace

void ReleaseEntityStore() {
  Release(Styles);
  Release(Polylines);
  Release(Circles);
  Release(Arcs);
  Release(Texts);
  Release(Lines);
}

}  // namespace swivex
