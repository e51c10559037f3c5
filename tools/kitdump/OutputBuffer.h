#pragma once
#include <cstdio>
#include <string>
#include <string_view>

namespace Kitdump {

// Buffered writing to a stdio stream, so that large dumps stream out in blocks.
class OutputBuffer {
 public:
  explicit OutputBuffer(std::FILE* stream) : stream_(stream) { buffer_.reserve(kBlock * 2); }
  ~OutputBuffer() { flush(); }
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  OutputBuffer& operator<<(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= kBlock) flush();
    return *this;
  }
  OutputBuffer& operator<<(char c) {
    buffer_.push_back(c);
    if (buffer_.size() >= kBlock) flush();
    return *this;
  }
  void flush() {
    if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), stream_);
    buffer_.clear();
    std::fflush(stream_);
  }

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  std::FILE* stream_;
  std::string buffer_;
};

}  // namespace Kitdump
