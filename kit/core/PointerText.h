#pragma once
#include <compare>
#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace VoziZazIreCore {

// The immutable text of a JSON pointer. The text is either copied once into storage of its own or
// borrowed from a larger store that the handle keeps alive (see PointerTextPool); copies of the handle
// share it, so a copy costs a reference count, never a string. Views of a temporary handle are refused
// at compile time, as they would dangle.
class PointerText {
 public:
  PointerText() = default;
  PointerText(std::string_view text);
  PointerText(const std::string& text) : PointerText(std::string_view(text)) {}
  PointerText(const char* text) : PointerText(std::string_view(text)) {}

  // Borrows `text`, which must live as long as `owner`.
  static PointerText shared(std::shared_ptr<const void> owner, std::string_view text) noexcept;

  std::string_view view() const& noexcept { return text_; }
  std::string_view view() const&& = delete;
  operator std::string_view() const& noexcept { return text_; }
  operator std::string_view() const&& = delete;
  std::string str() const { return std::string(text_); }
  const char* data() const noexcept { return text_.data(); }
  std::size_t size() const noexcept { return text_.size(); }
  bool empty() const noexcept { return text_.empty(); }

  friend bool operator==(const PointerText& a, const PointerText& b) noexcept { return a.text_ == b.text_; }
  friend bool operator==(const PointerText& a, std::string_view b) noexcept { return a.text_ == b; }
  friend bool operator==(const PointerText& a, const char* b) noexcept { return a.text_ == b; }
  friend bool operator==(const PointerText& a, const std::string& b) noexcept { return a.text_ == b; }
  friend std::strong_ordering operator<=>(const PointerText& a, const PointerText& b) noexcept {
    return a.text_.compare(b.text_) <=> 0;
  }
  bool starts_with(std::string_view prefix) const noexcept { return text_.starts_with(prefix); }
  char operator[](std::size_t i) const noexcept { return text_[i]; }
  friend std::string operator+(const PointerText& a, std::string_view b) {
    std::string text(a.text_);
    text += b;
    return text;
  }
  friend std::ostream& operator<<(std::ostream& out, const PointerText& text) { return out << text.text_; }

 private:
  std::shared_ptr<const void> owner_;
  std::string_view text_;
};

}  // namespace VoziZazIreCore

template <>
struct std::hash<VoziZazIreCore::PointerText> {
  std::size_t operator()(const VoziZazIreCore::PointerText& text) const noexcept {
    return std::hash<std::string_view>{}(static_cast<std::string_view>(text));
  }
};
