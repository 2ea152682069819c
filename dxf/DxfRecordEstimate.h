// A quick look over a DXF file's bytes for how many LINE and polyline records a read of it will start, so that
// the store's arrays can take room for them at once instead of moving their records each time they outgrow
// their memory. Only the room is set aside: the number of slots still follows the store's rules.
#pragma once

#include <cstddef>
#include <string_view>

namespace swivex {

struct TRecordEstimate {
  std::size_t Lines = 0;
  std::size_t Polylines = 0;  // POLYLINE and LWPOLYLINE
  bool EntitiesSeen = false;  // counting starts after the first line ENTITIES
};

// Bytes of a window that the next window of a count in pieces starts with, so that a keyword line and the code
// line before it are whole in one of them.
inline constexpr std::size_t kEstimateOverlap = 64;

namespace record_estimate {

inline bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// True when the text at [start, end) is a whole line: a line end (or the bytes' edge) on both sides.
inline bool IsWholeLine(std::string_view bytes, std::size_t start, std::size_t end) {
  return (start == 0 || IsLineEnd(bytes[start - 1])) && (end == bytes.size() || IsLineEnd(bytes[end]));
}

// True when the line before the one starting at start is blanks and the digit 0.
inline bool FollowsCodeZero(std::string_view bytes, std::size_t start) {
  if (start == 0) return false;
  std::size_t end = start - 1;  // the previous line's end
  if (bytes[end] == '\n' && end > 0 && bytes[end - 1] == '\r') --end;
  if (end == 0 || bytes[end - 1] != '0') return false;
  std::size_t i = end - 1;
  while (i > 0 && bytes[i - 1] == ' ') --i;
  return i == 0 || IsLineEnd(bytes[i - 1]);
}

}  // namespace record_estimate

// Counts in one window of the bytes: the lines LINE, POLYLINE and LWPOLYLINE after a code line of blanks and 0,
// from the first line ENTITIES on, that end at or after newFrom (the window's earlier bytes were counted with the
// window before) and inside the window, or at its end when it is the last. An estimate: it does not follow the
// pairs, so a stray match only sets aside room that goes unused.
inline void EstimateRecordsIn(std::string_view bytes, std::size_t newFrom, bool last, TRecordEstimate& estimate) {
  using namespace record_estimate;
  const auto decided = [&](std::size_t end) { return end < bytes.size() || last; };
  std::size_t pos = 0;
  if (!estimate.EntitiesSeen) {
    constexpr std::string_view kEntities = "ENTITIES";
    while ((pos = bytes.find(kEntities, pos)) != std::string_view::npos &&
           !(decided(pos + kEntities.size()) && IsWholeLine(bytes, pos, pos + kEntities.size())))
      ++pos;
    if (pos == std::string_view::npos) return;
    estimate.EntitiesSeen = true;
  }
  // Every keyword of the three ends in LINE; what comes before it on its line tells them apart.
  while ((pos = bytes.find("LINE", pos)) != std::string_view::npos) {
    const std::size_t end = pos + 4;
    std::size_t start = pos;
    bool polyline = false;
    if (start >= 6 && bytes.substr(start - 6, 6) == "LWPOLY") {
      start -= 6;
      polyline = true;
    } else if (start >= 4 && bytes.substr(start - 4, 4) == "POLY") {
      start -= 4;
      polyline = true;
    }
    if (end >= newFrom && decided(end) && IsWholeLine(bytes, start, end) && FollowsCodeZero(bytes, start))
      ++(polyline ? estimate.Polylines : estimate.Lines);
    pos = end;
  }
}

// The same count over bytes all in memory.
inline TRecordEstimate EstimateRecords(std::string_view bytes) {
  TRecordEstimate estimate;
  EstimateRecordsIn(bytes, 0, true, estimate);
  return estimate;
}

}  // namespace swivex
