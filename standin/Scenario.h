// The stand-in host's scenario: a text file, one setting or object per line, read at start; the same lines can
// be sent at run time (WM_COPYDATA with dwData 2). The format is described in standin/README.md.
#pragma once

#include <string>
#include <string_view>

#include "standin/StandinHost.h"

namespace swivex {

// Applies one line to the host. Blank lines and lines starting with '#' do nothing. Returns false, with a
// message in `error`, for an unknown keyword or a value that does not read.
bool ApplyScenarioLine(THost& host, std::string_view line, std::string& error);

// Reads a whole scenario (UTF-8, optional BOM, LF or CR LF). Returns false with "line N: message" for the first
// line that fails; the lines before it have been applied.
bool ApplyScenarioText(THost& host, std::string_view text, std::string& error);

// "\r", "\n", "\t", "\\" and "\xHH" (one byte) in a scenario value.
std::string Unescape(std::string_view text);

}  // namespace swivex
