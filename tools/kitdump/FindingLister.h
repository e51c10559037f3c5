#pragma once
#include <vector>

#include "kit/core/Diagnostic.h"
#include "tools/kitdump/OutputBuffer.h"

namespace Kitdump {

// One line per finding: "<severity>\t<pointer>\t<line>:<column>\t<message>". An absent pointer prints
// empty, an absent range "0:0"; backslash, tab, line feed and carriage return inside the pointer and the
// message print as \\, \t, \n and \r, so that every finding stays on its own line.
class FindingLister {
 public:
  explicit FindingLister(OutputBuffer& out) : out_(out) {}
  void write(const std::vector<VoziZazIreCore::Diagnostic>& diagnostics);

 private:
  void writeEscaped(std::string_view text);
  OutputBuffer& out_;
};

}  // namespace Kitdump
