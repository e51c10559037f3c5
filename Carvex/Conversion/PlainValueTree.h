#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Carvex {

// The plain value of a converted document (text, number, boolean, null, list, or dictionary with text
// keys), held in flat arrays: one 16-byte node per value, the texts in one buffer, the children of lists
// and dictionaries in one index array. Values are added children first; a list or dictionary is made from
// the indices of its children. Dictionary members keep the order they were given in.
//
// Numbers are 64-bit integers, doubles, or a number kept as its literal text when neither holds it
// exactly (integers beyond 64 bits, magnitudes beyond a double's range).
class PlainValueTree {
public:
    using Index = std::uint32_t;
    enum class Kind : std::uint8_t { null, boolean, integer, real, numberText, text, list, dictionary };

    Index addNull();
    Index addBoolean(bool value);
    Index addInteger(std::int64_t value);
    Index addReal(double value);
    // `literal` must be a number as JSON writes it.
    Index addNumberText(std::string_view literal);
    Index addText(std::string_view value);
    Index addList(std::span<const Index> elements);
    // `keysAndValues` alternates the key (a text node) and the value of each member.
    Index addDictionary(std::span<const Index> keysAndValues);

    void setRoot(Index root) { root_ = root; }
    Index root() const { return root_; }
    bool empty() const { return nodes_.empty(); }
    std::size_t nodeCount() const { return nodes_.size(); }

    Kind kind(Index v) const { return nodes_[v].kind; }
    bool boolean(Index v) const { return nodes_[v].payload != 0; }
    std::int64_t integer(Index v) const;
    double real(Index v) const;
    // A text, or the literal of a number kept as text.
    std::string_view text(Index v) const;
    // Elements of a list, members of a dictionary, 0 for anything else.
    std::size_t count(Index v) const;
    bool isEmptyCollection(Index v) const;
    bool isNonEmptyCollection(Index v) const;
    Index element(Index list, std::size_t i) const;
    std::string_view key(Index dictionary, std::size_t i) const;
    Index value(Index dictionary, std::size_t i) const;

    void reserve(std::size_t nodes, std::size_t textBytes);

private:
    struct Node {
        Kind kind;
        std::uint32_t size;      // bytes of a text, elements or members of a collection
        std::uint64_t payload;   // boolean, integer or double bits, text offset, first child slot
    };
    Index add(Kind kind, std::uint32_t size, std::uint64_t payload);
    std::uint64_t storeText(std::string_view value);

    std::vector<Node> nodes_;
    std::vector<Index> children_;
    std::string texts_;
    Index root_ = 0;
};

}  // namespace Carvex
