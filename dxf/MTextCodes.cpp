// The two text utilities of the reader: the style height lookup and the MTEXT code stripper.
#include "dxf/DxfReader.h"
#include "dxf/EntityStore.h"

namespace swivex {

namespace {

// Deletes every "\<letter>" until none is left, also those that a deletion forms by joining its neighbours.
// Backslash and letter differ, so deleting them pair by pair on a stack ends where repeated
// delete-the-first-one ends, in one pass.
void DeleteTwoCharCode(std::string& w, char letter) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < w.size(); ++i) {
    if (w[i] == letter && out > 0 && w[out - 1] == '\\') {
      --out;
    } else {
      w[out++] = w[i];
    }
  }
  w.resize(out);
}

// Deletes runs from "\<letter>" through the first ";" at or after it, repeatedly from the first "\<letter>" on,
// until none is left or the first one has no ";" after it (it and all that follows then stay).
// The kept part r never holds "\<letter>", so after a deletion the next one can only start at r's last byte.
void DeleteCodeRuns(std::string& w, char letter) {
  const char code[2] = {'\\', letter};
  const std::string_view in(w);
  std::string r;
  r.reserve(w.size());
  std::size_t i = 0;
  while (i < in.size()) {
    std::size_t searchFrom;  // where the ";" may be, in `in`
    bool atJoin = !r.empty() && r.back() == '\\' && in[i] == letter;
    std::size_t found = std::string_view::npos;
    if (atJoin) {
      searchFrom = i + 1;
    } else {
      found = in.find(std::string_view(code, 2), i);
      if (found == std::string_view::npos) break;
      searchFrom = found + 2;
    }
    const std::size_t semicolon = in.find(';', searchFrom);
    if (semicolon == std::string_view::npos) break;
    if (atJoin) r.pop_back();
    else r.append(in.substr(i, found - i));
    i = semicolon + 1;
  }
  r.append(in.substr(i < in.size() ? i : in.size()));
  w = std::move(r);
}

}  // namespace

double StyleHeight(std::string_view name) {
  for (const TStyleRec& style : Styles)
    if (style.Name == name) return style.Height;
  // A name no slot holds gets 0.0: the height AutoCAD writes for a style without a fixed height, so such a text
  // is taken as one whose style fixes nothing. Nothing outside the reader reads text heights.
  return 0.0;
}

std::string StripMTextCodes(std::string_view text) {
  std::string w(text);
  for (char letter : {'P', 'O', 'o', 'L', 'l'}) DeleteTwoCharCode(w, letter);
  DeleteCodeRuns(w, 'T');
  DeleteCodeRuns(w, 'C');
  return w;
}

}  // namespace swivex
