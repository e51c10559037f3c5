#include "Carvex/Conversion/PlainValueTree.h"

#include <bit>

namespace Carvex {

PlainValueTree::Index PlainValueTree::add(Kind kind, std::uint32_t size, std::uint64_t payload) {
    nodes_.push_back(Node{kind, size, payload});
    return static_cast<Index>(nodes_.size() - 1);
}

std::uint64_t PlainValueTree::storeText(std::string_view value) {
    const std::uint64_t offset = texts_.size();
    texts_.append(value);
    return offset;
}

PlainValueTree::Index PlainValueTree::addNull() { return add(Kind::null, 0, 0); }

PlainValueTree::Index PlainValueTree::addBoolean(bool value) { return add(Kind::boolean, 0, value ? 1 : 0); }

PlainValueTree::Index PlainValueTree::addInteger(std::int64_t value) {
    return add(Kind::integer, 0, static_cast<std::uint64_t>(value));
}

PlainValueTree::Index PlainValueTree::addReal(double value) {
    return add(Kind::real, 0, std::bit_cast<std::uint64_t>(value));
}

PlainValueTree::Index PlainValueTree::addNumberText(std::string_view literal) {
    return add(Kind::numberText, static_cast<std::uint32_t>(literal.size()), storeText(literal));
}

PlainValueTree::Index PlainValueTree::addText(std::string_view value) {
    return add(Kind::text, static_cast<std::uint32_t>(value.size()), storeText(value));
}

PlainValueTree::Index PlainValueTree::addList(std::span<const Index> elements) {
    const std::uint64_t first = children_.size();
    children_.insert(children_.end(), elements.begin(), elements.end());
    return add(Kind::list, static_cast<std::uint32_t>(elements.size()), first);
}

PlainValueTree::Index PlainValueTree::addDictionary(std::span<const Index> keysAndValues) {
    const std::uint64_t first = children_.size();
    children_.insert(children_.end(), keysAndValues.begin(), keysAndValues.end());
    return add(Kind::dictionary, static_cast<std::uint32_t>(keysAndValues.size() / 2), first);
}

std::int64_t PlainValueTree::integer(Index v) const { return static_cast<std::int64_t>(nodes_[v].payload); }

double PlainValueTree::real(Index v) const { return std::bit_cast<double>(nodes_[v].payload); }

std::string_view PlainValueTree::text(Index v) const {
    const Node& node = nodes_[v];
    return std::string_view(texts_).substr(node.payload, node.size);
}

std::size_t PlainValueTree::count(Index v) const {
    const Node& node = nodes_[v];
    return node.kind == Kind::list || node.kind == Kind::dictionary ? node.size : 0;
}

bool PlainValueTree::isEmptyCollection(Index v) const {
    const Node& node = nodes_[v];
    return (node.kind == Kind::list || node.kind == Kind::dictionary) && node.size == 0;
}

bool PlainValueTree::isNonEmptyCollection(Index v) const {
    const Node& node = nodes_[v];
    return (node.kind == Kind::list || node.kind == Kind::dictionary) && node.size != 0;
}

PlainValueTree::Index PlainValueTree::element(Index list, std::size_t i) const {
    return children_[nodes_[list].payload + i];
}

std::string_view PlainValueTree::key(Index dictionary, std::size_t i) const {
    return text(children_[nodes_[dictionary].payload + 2 * i]);
}

PlainValueTree::Index PlainValueTree::value(Index dictionary, std::size_t i) const {
    return children_[nodes_[dictionary].payload + 2 * i + 1];
}

void PlainValueTree::reserve(std::size_t nodes, std::size_t textBytes) {
    nodes_.reserve(nodes);
    children_.reserve(nodes);
    texts_.reserve(textBytes);
}

}  // namespace Carvex
