#pragma once
#include <string>

#include "kit/core/GenericNode.h"
#include "tools/kitdump/OutputBuffer.h"

namespace Kitdump {

// Writes one line per node in document order:
// <json-pointer> TAB <kind> TAB <line>:<column>:<offset> TAB <line>:<column>:<offset>
// Control characters inside pointers are written as \u00XX so that every node stays on one line.
class NodeLister {
 public:
  explicit NodeLister(OutputBuffer& out) : out_(out) {}
  void write(const VoziZazIreCore::GenericNode& root);

 private:
  void line(const VoziZazIreCore::GenericNode& node);
  OutputBuffer& out_;
  std::string scratch_;
  std::string pointer_;
};

}  // namespace Kitdump
