// The JSON that dxfdump prints: the valid entries of the entity store with their strings decoded from Shift-JIS
// to UTF-8, and the messages of read errors as the tool would show them. Native only (glibc's iconv).
#pragma once

#include <cstdint>
#include <exception>
#include <ostream>
#include <string>
#include <string_view>

#include "text/JsonText.h"

namespace swivex {

// Shift-JIS (CP932) bytes to UTF-8; a byte that does not decode becomes U+FFFD and decoding goes on after it.
std::string SjisToUtf8(std::string_view bytes);

// A JSON string literal of the decoded bytes.
std::string JsonString(std::string_view sjisBytes);

// Writes {"lines":…, "polylines":…, "texts":…, "arcs":…, "circles":…, "styles":…, "header":…} for entries 0 to
// count - 1 of each array, styles 0 to styleCount - 1, and the header's current-object settings (a layer or
// point the file did not give is null).
void WriteStoreJson(std::ostream& out, std::int32_t styleCount);

// The message of an error a read raised, in UTF-8, with the offending bytes decoded, prefixed by "FILE:LINE: "
// (the line only when the error names one). Empty for an error that is no read error.
std::string ReadErrorReport(const std::exception& error, std::string_view fileName);

}  // namespace swivex
