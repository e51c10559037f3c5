#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "kit/core/Diagnostic.h"
#include "kit/core/ReferenceOr.h"
#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// The composition graph of the component schemas: one node per entry of components.schemas, keyed
// "#/components/schemas/<name>" with the name as declared, and as its edges the "$ref" texts that the
// entry reaches through allOf, anyOf and oneOf.
class ReferenceGraph {
 public:
  struct Node {
    std::string key;                 // "#/components/schemas/<name>"
    std::vector<std::string> edges;  // "$ref" texts, each once, in the order first met
  };

  // The graph of a components object's schemas map (empty when there is none).
  template <class V>
  static ReferenceGraph fromComponents(const typename V::Components& components);

  // Adds the node of the component schema `name`; a name added twice keeps its first node.
  void addNode(const std::string& name, std::vector<std::string> edges);

  const std::vector<Node>& nodes() const noexcept { return nodes_; }

  // The REF-003 finding for the first cycle met by a depth-first search from each node in turn (nodes in
  // declaration order, edges in their order), or nothing. The chain runs from the search's starting
  // schema to the schema that closes the cycle: "Pet -> Owner -> Home -> Owner". An edge leads to a node
  // when it is written "#/components/schemas/<name>" (escapes undone); any other edge ends the path.
  // Each node is entered once and the search keeps its own stack, so it is linear and takes no call depth.
  std::optional<VoziZazIreCore::Diagnostic> findCycle() const;

 private:
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>{}(name); }
  };

  // The node an edge leads to, or none.
  std::optional<std::size_t> target(const std::string& edge) const;

  std::vector<Node> nodes_;
  std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> indexByName_;
};

// The "$ref" texts a schema-or-reference reaches through composition: its own text when it is a
// reference; otherwise, over its allOf, then anyOf, then oneOf elements, the text of each reference element
// and, for each inline element, what that element reaches the same way. Each text once, in the order met.
template <class V>
std::vector<std::string> collectCompositionReferences(
    const VoziZazIreCore::ReferenceOr<typename V::Schema>& value);

// Appends the REF-003 finding of the graph, if any, to the context.
void detectCircularComposition(const ReferenceGraph& graph, ValidationContext& context);

}  // namespace VoziZazIreValidation
