// Why AutoCAD could not be used: not found, no prompt, or not answering its messages. Raised by the host link and
// the workflows; the dialog shows a status text for it instead of a modal box.
#pragma once

#include <stdexcept>
#include <string>

namespace swivex {

enum class TAcadFailure { NotFound, NoPrompt, NotAnswering };

class TAcadUnavailable : public std::runtime_error {
 public:
  explicit TAcadUnavailable(TAcadFailure failure, const std::string& what = "AutoCAD unavailable")
      : std::runtime_error(what), failure_(failure) {}
  TAcadFailure Failure() const noexcept { return failure_; }

 private:
  TAcadFailure failure_;
};

}  // namespace swivex
