#include "tools/kitdump/FindingLister.h"

#include <string>

#include "kit/core/DiagnosticSeverity.h"

namespace Kitdump {

void FindingLister::write(const std::vector<VoziZazIreCore::Diagnostic>& diagnostics) {
  for (const VoziZazIreCore::Diagnostic& diagnostic : diagnostics) {
    out_ << rawValue(diagnostic.severity()) << "\t";
    if (diagnostic.jsonPointer()) writeEscaped(*diagnostic.jsonPointer());
    out_ << "\t";
    if (diagnostic.range()) {
      out_ << std::to_string(diagnostic.range()->start.line) << ":" << std::to_string(diagnostic.range()->start.column);
    } else {
      out_ << "0:0";
    }
    out_ << "\t";
    writeEscaped(diagnostic.message());
    out_ << "\n";
  }
}

void FindingLister::writeEscaped(std::string_view text) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char* escape = nullptr;
    switch (text[i]) {
      case '\\': escape = "\\\\"; break;
      case '\t': escape = "\\t"; break;
      case '\n': escape = "\\n"; break;
      case '\r': escape = "\\r"; break;
      default: continue;
    }
    out_ << text.substr(plain, i - plain) << escape;
    plain = i + 1;
  }
  out_ << text.substr(plain);
}

}  // namespace Kitdump
