#pragma once

#include <QString>

#include <string>

namespace Carvex {

// Where a converted text is written: UTF-8 pieces collected in a buffer and, when a QString receives
// them, handed on in chunks at line starts, so the whole text never stands twice in memory. A writer
// first runs over a counting output to learn the length, so the QString is sized once and never grows.
class ChunkedTextOutput {
public:
    // Collects the whole text in the buffer.
    ChunkedTextOutput() = default;
    // Hands the text to `sink` in chunks.
    explicit ChunkedTextOutput(QString& sink) : sink_(&sink) {}
    // Only adds the text's length in UTF-16 units to `length`.
    explicit ChunkedTextOutput(qsizetype& length) : length_(&length) {}

    std::string& buffer() { return buffer_; }
    bool empty() const { return buffer_.empty() && !flushed_; }

    // At the start of a line: hands the buffer on when it has grown large.
    void lineBoundary() {
        if ((sink_ || length_) && buffer_.size() >= kChunkBytes) flush();
    }
    // Hands on what is left; the whole text when there is no sink.
    std::string finish() {
        if (sink_ || length_) {
            flush();
            return {};
        }
        return std::move(buffer_);
    }

private:
    static constexpr std::size_t kChunkBytes = 1u << 20;

    void flush() {
        if (sink_) {
            sink_->append(QString::fromUtf8(buffer_.data(), static_cast<qsizetype>(buffer_.size())));
        } else {
            // One unit per character, two for those beyond the basic plane (four-byte sequences).
            for (const char c : buffer_) {
                const auto b = static_cast<unsigned char>(c);
                *length_ += ((b & 0xC0) != 0x80) + (b >= 0xF0);
            }
        }
        buffer_.clear();
        flushed_ = true;
    }

    QString* sink_ = nullptr;
    qsizetype* length_ = nullptr;
    std::string buffer_;
    bool flushed_ = false;
};

}  // namespace Carvex
