#pragma once

namespace Carvex {

// The format of a document file: the document's own format (taken from its document type or set
// by conversion), the result of a conversion and the state of a window's Convert control.
enum class FileFormat { json, yaml };

}  // namespace Carvex
