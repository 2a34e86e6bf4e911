// The two kinds of failure that end a conversion. Neither is handled below the
// driver: a failure leaves every procedure up to the driver.
#pragma once

#include <stdexcept>
#include <string>

namespace korvanel {

// An index passed the upper bound of a fixed list (a net record, a check's
// collection list). The driver reports it with its capacity message.
class CapacityError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Any other failure: a file that cannot be opened, read or written, a byte
// sequence that is not valid in the chosen encoding. The message names the
// file and the cause.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace korvanel
