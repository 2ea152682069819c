// The silent abort: ends the user's action without any message (a clipboard another program holds, say).
#pragma once

#include <stdexcept>

namespace swivex {

class TSilentAbort : public std::runtime_error {
 public:
  TSilentAbort() : std::runtime_error("silent abort") {}
};

}  // namespace swivex
