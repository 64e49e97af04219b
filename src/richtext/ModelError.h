#pragma once
// Errors of the document model; the message is the text the user is shown.
#include <stdexcept>

class EModelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
