#include "kit/validation/ReferenceGraph.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

#include "kit/validation/ReferenceCheck.h"

namespace VoziZazIreValidation {

using VoziZazIreCore::Diagnostic;
using VoziZazIreCore::ReferenceOr;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

namespace {

constexpr std::string_view kSchemaPrefix = "#/components/schemas/";

}  // namespace

template <class V>
std::vector<std::string> collectCompositionReferences(const ReferenceOr<typename V::Schema>& value) {
  using Schema = typename V::Schema;
  std::vector<std::string> refs;
  std::unordered_set<std::string> seen;
  auto add = [&](const std::string& ref) {
    if (seen.insert(ref).second) refs.push_back(ref);
  };
  // Preorder with an explicit stack: a reference counts where it stands, an inline element contributes
  // what it reaches before the elements after it.
  std::vector<const ReferenceOr<Schema>*> pending{&value};
  while (!pending.empty()) {
    const ReferenceOr<Schema>* current = pending.back();
    pending.pop_back();
    if (const auto* reference = current->referenceValue()) {
      add(reference->ref);
      continue;
    }
    const Schema* schema = current->inlineValue();
    const std::size_t mark = pending.size();
    for (const auto* list : {&schema->allOf, &schema->anyOf, &schema->oneOf})
      if (*list)
        for (const auto& element : **list) pending.push_back(&element);
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(mark), pending.end());
  }
  return refs;
}

template <class V>
ReferenceGraph ReferenceGraph::fromComponents(const typename V::Components& components) {
  ReferenceGraph graph;
  if (!components.schemas) return graph;
  for (const auto& [name, entry] : *components.schemas)
    graph.addNode(name, collectCompositionReferences<V>(entry));
  return graph;
}

void ReferenceGraph::addNode(const std::string& name, std::vector<std::string> edges) {
  if (!indexByName_.emplace(name, nodes_.size()).second) return;
  nodes_.push_back(Node{std::string(kSchemaPrefix) + name, std::move(edges)});
}

std::optional<std::size_t> ReferenceGraph::target(const std::string& edge) const {
  std::string_view rest(edge);
  // The plain form "#/components/schemas/<name>" with nothing to undo is looked up as it stands.
  if (rest.starts_with(kSchemaPrefix)) {
    rest.remove_prefix(kSchemaPrefix.size());
    if (!rest.empty() && rest.find_first_of("/~") == std::string_view::npos) {
      auto it = indexByName_.find(rest);
      if (it == indexByName_.end()) return std::nullopt;
      return it->second;
    }
  }
  auto name = referencedSchemaName(edge);
  if (!name) return std::nullopt;
  auto it = indexByName_.find(std::string_view(*name));
  if (it == indexByName_.end()) return std::nullopt;
  return it->second;
}

std::optional<Diagnostic> ReferenceGraph::findCycle() const {
  constexpr std::size_t none = static_cast<std::size_t>(-1);
  // Edges resolved to node indices once, so the search itself is a plain walk over integers.
  std::vector<std::vector<std::size_t>> targets(nodes_.size());
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    targets[i].reserve(nodes_[i].edges.size());
    for (const auto& edge : nodes_[i].edges)
      if (auto next = target(edge)) targets[i].push_back(*next);
  }

  std::vector<uint8_t> visited(nodes_.size(), 0);
  std::vector<uint8_t> onPath(nodes_.size(), 0);
  std::vector<std::size_t> path;
  struct Frame {
    std::size_t node;
    std::size_t nextEdge;
  };
  std::vector<Frame> stack;
  std::size_t closing = none;

  for (std::size_t start = 0; start < nodes_.size() && closing == none; ++start) {
    if (visited[start]) continue;
    path.clear();
    visited[start] = onPath[start] = 1;
    path.push_back(start);
    stack.push_back(Frame{start, 0});
    while (!stack.empty() && closing == none) {
      Frame& frame = stack.back();
      const auto& out = targets[frame.node];
      if (frame.nextEdge == out.size()) {
        onPath[frame.node] = 0;
        path.pop_back();
        stack.pop_back();
        continue;
      }
      const std::size_t next = out[frame.nextEdge++];
      if (!visited[next]) {
        visited[next] = onPath[next] = 1;
        path.push_back(next);
        stack.push_back(Frame{next, 0});
      } else if (onPath[next]) {
        closing = next;
      }
    }
  }
  if (closing == none) return std::nullopt;

  path.push_back(closing);
  std::string chain;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (i) chain += " -> ";
    chain += std::string_view(nodes_[path[i]].key).substr(kSchemaPrefix.size());
  }
  return Diagnostic::error("[REF-003] Circular reference detected in schema composition: " + chain,
                           nodes_[path.front()].key);
}

void detectCircularComposition(const ReferenceGraph& graph, ValidationContext& context) {
  if (auto finding = graph.findCycle()) context.addDiagnostic(std::move(*finding));
}

template std::vector<std::string> collectCompositionReferences<Version30>(const ReferenceOr<Version30::Schema>&);
template std::vector<std::string> collectCompositionReferences<Version31>(const ReferenceOr<Version31::Schema>&);
template ReferenceGraph ReferenceGraph::fromComponents<Version30>(const Version30::Components&);
template ReferenceGraph ReferenceGraph::fromComponents<Version31>(const Version31::Components&);

}  // namespace VoziZazIreValidation
