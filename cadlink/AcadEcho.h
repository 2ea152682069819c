// The CAD host link's reading of what AutoCAD echoes: the last non-empty line of the command history, and the
// three numbers of a UCS variable's echo ("UCSORG = 10.5,-3,0 (読み込み専用)"). Portable; bytes in the ANSI code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geometry/Point3D.h"

namespace swivex {

// Lines end at CR LF, a lone CR or a lone LF; the text ends at its end or at a zero byte; a last line without a
// line break counts, a line break at the very end gives no further line; lines are not trimmed.
std::vector<std::string_view> SplitHistoryLines(std::string_view text);

// The last line that is not empty (a line of blanks is not empty), or "" when there is none.
std::string LastNonEmptyLine(std::string_view text);

// Trims characters 0-32 from both ends of rest, then cuts off the piece before the first ',' (or '('): head gets
// it untrimmed, rest keeps what follows the separator. Without the separator, head gets all and rest is emptied.
void CutAtComma(std::string& rest, std::string& head);
void CutAtParen(std::string& rest, std::string& head);

// Takes x, y, z out of an echo line: everything up to the first '=' goes, then two comma cuts and a parenthesis
// cut. Each coordinate is stored as soon as it converts; a piece that does not convert raises TConvertError
// quoting the piece as cut, leaving the coordinates after it as they were.
void ReadUcsEcho(std::string line, TPoint3D& point);

// Half a unit of the last decimal a number's text shows: how far the exact value may lie from what AutoCAD
// printed after rounding it to its linear precision ("0.8660" 0.00005, "1" 0.5, "8.660E-01" 0.00005).
double HalfLastDecimal(std::string_view number);

// ReadUcsEcho that also gives each coordinate's HalfLastDecimal (set along with the coordinate).
void ReadUcsEcho(std::string line, TPoint3D& point, TPoint3D& rounding);

}  // namespace swivex
