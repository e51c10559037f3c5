#pragma once
#include <string>
#include <string_view>

#include "kit/core/GenericNode.h"
#include "tools/kitdump/OutputBuffer.h"

namespace Kitdump {

// Writes a node tree as one line of JSON: members in document order, integral numbers as integers,
// other numbers in shortest round-trip form, strings escaped as JSON.
class TreeWriter {
 public:
  explicit TreeWriter(OutputBuffer& out) : out_(out) {}
  void write(const VoziZazIreCore::GenericNode& root);

  // JSON text of a string, quotes included.
  static void appendString(std::string& out, std::string_view value);
  // JSON text of a number. Infinities, which JSON cannot spell, print as 1e999 and -1e999, which read
  // back as them; NaN prints as null.
  static std::string number(double value);

 private:
  void scalar(const VoziZazIreCore::GenericNode& node);
  OutputBuffer& out_;
  std::string scratch_;
};

}  // namespace Kitdump
