#include "kit/parsing/YAMLScalarScanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "kit/core/TextServices.h"
#include "kit/core/WordScan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace VoziZazIreParsing {

namespace {

using namespace VoziZazIreCore::WordScan;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

// The first position at or after p holding a, b or c, or n_; eight bytes are tested at a time.
std::size_t YAMLScalarScanner::findStop(std::size_t p, char a, char b, char c) const noexcept {
  const auto* s = reinterpret_cast<const unsigned char*>(s_);
  while (p + 8 <= n_) {
    std::uint64_t word;
    std::memcpy(&word, s + p, 8);
    if (hasByte(word, static_cast<unsigned char>(a)) || hasByte(word, static_cast<unsigned char>(b)) ||
        hasByte(word, static_cast<unsigned char>(c)))
      break;
    p += 8;
  }
  while (p < n_ && s_[p] != a && s_[p] != b && s_[p] != c) ++p;
  return p;
}

// The first position in [q, le) holding ':' or '#', or le; sixteen bytes are tested at a time where the
// machine can, the last sixteen of the range once more for its rest.
std::size_t YAMLScalarScanner::findColonOrHash(std::size_t q, std::size_t le) const noexcept {
#if defined(__SSE2__)
  const __m128i colon = _mm_set1_epi8(':');
  const __m128i hash = _mm_set1_epi8('#');
  auto matches = [&](std::size_t at) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s_ + at));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, colon), _mm_cmpeq_epi8(bytes, hash))));
  };
  for (; q + 16 <= le; q += 16)
    if (const unsigned m = matches(q)) return q + static_cast<std::size_t>(__builtin_ctz(m));
  if (q < le && le >= 16) {
    const std::size_t base = le - 16;
    const unsigned m = matches(base) & (~0u << (q - base));
    return m ? base + static_cast<std::size_t>(__builtin_ctz(m)) : le;
  }
#endif
  while (q < le && s_[q] != ':' && s_[q] != '#') ++q;
  return q;
}

// A plain scalar in block context, with its continuation lines (indented deeper than n) folded in.
YAMLScalarScanner::ScalarText YAMLScalarScanner::readPlainBlock(int n) {
  const std::size_t start = pos_;
  ScalarText result;
  result.start = loc();

  // The scalar's part on a line: up to the line end or a comment, without trailing blanks.
  auto segmentEnd = [this](std::size_t from, std::size_t& stop) {
    const std::size_t le = contentEnd(from);
    std::size_t e = le;
    for (std::size_t q = from; q < le;) {
      const void* hash = std::memchr(s_ + q, '#', le - q);
      if (!hash) break;
      std::size_t h = static_cast<std::size_t>(static_cast<const char*>(hash) - s_);
      if (h > from && isBlank(s_[h - 1])) {
        e = h;
        break;
      }
      q = h + 1;
    }
    stop = e;
    while (e > from && isBlank(s_[e - 1])) --e;
    return e;
  };

  // The first line's part, in one pass that also refuses a ":" before a blank: the line would be a
  // mapping entry, which cannot begin here.
  std::size_t stop = contentEnd(start);
  {
    const std::size_t le = stop;
    for (std::size_t q = start;;) {
      q = findColonOrHash(q, le);
      if (q >= le) break;
      if (s_[q] == ':') {
        if (blankOrEndAt(q + 1)) fail("Mapping values are not allowed here", q);
      } else if (q > start && isBlank(s_[q - 1])) {
        stop = q;
        break;
      }
      ++q;
    }
  }
  std::size_t e = stop;
  while (e > start && isBlank(s_[e - 1])) --e;
  result.end = loc(e);
  pos_ = e;
  bool multi = false;
  while (lineEndAt(stop) && stop < n_) {
    // Look ahead for a continuation line, past blank lines.
    std::size_t ls = nextLineStart(stop);
    std::size_t breaks = 0;
    std::size_t r = 0;
    bool found = false;
    while (ls < n_) {
      const std::size_t sp = spacesEnd(ls);
      r = blanksEnd(sp);
      if (lineEndAt(r)) {
        if (r >= n_) break;
        ++breaks;
        ls = nextLineStart(r);
        continue;
      }
      const int k = static_cast<int>(sp - ls);
      if (k <= n || s_[r] == '#' || (k == 0 && documentMarkerAt(ls))) break;
      found = true;
      break;
    }
    if (!found) break;
    std::size_t ce = segmentEnd(r, stop);
    for (std::size_t q = r; q < ce; ++q)
      if (s_[q] == ':' && blankOrEndAt(q + 1)) fail("Unexpected ':' in a multi-line plain scalar", q);
    if (!multi) {
      scratch_.assign(s_ + start, e - start);
      multi = true;
    }
    if (breaks == 0) {
      scratch_.push_back(' ');
    } else {
      scratch_.append(breaks, '\n');
    }
    scratch_.append(s_ + r, ce - r);
    moveTo(ce);
    result.end = loc(ce);
  }
  result.text = multi ? std::string_view(scratch_) : text_.substr(start, e - start);
  result.plain = true;
  return result;
}

// A plain scalar in a flow collection: it ends at a flow indicator, a ": " or a comment, and may
// continue on following lines.
YAMLScalarScanner::ScalarText YAMLScalarScanner::readPlainFlow(int n) {
  const std::size_t start = pos_;
  // What cannot begin a plain scalar in a flow collection.
  switch (s_[start]) {
    case '-':
    case '?':
      if (blankOrEndAt(start + 1) || isFlowIndicator(s_[start + 1]))
        fail(s_[start] == '-' ? "Block sequence entries are not allowed in a flow collection"
                              : "Mapping keys are not allowed here",
             start);
      break;
    case '#': fail("A comment needs a blank before its '#'", start);
    case '&': fail("A node cannot have two anchors", start);
    case '!': fail("A node cannot have two tags", start);
    case '|': case '>': case '%': case '@': case '`':
      fail(std::string("A plain scalar cannot begin with '") + s_[start] + "'", start);
    default: break;
  }
  ScalarText result;
  result.start = loc();
  auto segmentEnd = [this](std::size_t from, std::size_t& stop) {
    std::size_t q = from;
    while (!lineEndAt(q)) {
      const char c = s_[q];
      if (isFlowIndicator(c)) break;
      if (c == ':' && (blankOrEndAt(q + 1) || isFlowIndicator(s_[q + 1]))) break;
      if (c == '#' && q > from && isBlank(s_[q - 1])) break;
      ++q;
    }
    stop = q;
    while (q > from && isBlank(s_[q - 1])) --q;
    return q;
  };
  std::size_t stop;
  std::size_t e = segmentEnd(start, stop);
  result.end = loc(e);
  pos_ = e;
  bool multi = false;
  while (lineEndAt(stop) && stop < n_) {
    std::size_t ls = nextLineStart(stop);
    std::size_t breaks = 0;
    std::size_t r = 0;
    bool found = false;
    while (ls < n_) {
      r = ls;
      while (r < n_ && isBlank(s_[r])) ++r;
      if (lineEndAt(r)) {
        if (r >= n_) break;
        ++breaks;
        ls = nextLineStart(r);
        continue;
      }
      const char c = s_[r];
      if (isFlowIndicator(c) || c == '#' || (c == ':' && (blankOrEndAt(r + 1) || isFlowIndicator(s_[r + 1]))))
        break;
      checkInnerLine(ls, r, n, "a flow collection");
      found = true;
      break;
    }
    if (!found) break;
    std::size_t ce = segmentEnd(r, stop);
    if (!multi) {
      scratch_.assign(s_ + start, e - start);
      multi = true;
    }
    if (breaks == 0) {
      scratch_.push_back(' ');
    } else {
      scratch_.append(breaks, '\n');
    }
    scratch_.append(s_ + r, ce - r);
    moveTo(ce);
    result.end = loc(ce);
    e = ce;
  }
  result.text = multi ? std::string_view(scratch_) : text_.substr(start, e - start);
  result.plain = true;
  return result;
}

// A single- or double-quoted scalar starting at pos_, possibly over several lines.
YAMLScalarScanner::ScalarText YAMLScalarScanner::readQuoted(int n) {
  const char quote = s_[pos_];
  const std::size_t open = pos_;
  ScalarText result;
  result.plain = false;
  result.start = loc();
  std::size_t p = pos_ + 1;

  // Fast path: no escapes, no doubled quotes, no line break.
  {
    std::size_t q = p;
    if (quote == '\'') {
      q = findStop(q, '\'', '\n', '\n');
      if (q < n_ && s_[q] == '\'' && (q + 1 >= n_ || s_[q + 1] != '\'')) {
        result.text = text_.substr(p, q - p);
        pos_ = q + 1;
        result.end = loc();
        return result;
      }
    } else {
      q = findStop(q, '"', '\\', '\n');
      if (q < n_ && s_[q] == '"') {
        result.text = text_.substr(p, q - p);
        pos_ = q + 1;
        result.end = loc();
        return result;
      }
    }
  }

  scratch_.clear();
  std::size_t blankMark = npos;  // where trailing raw blanks of the current line begin
  auto isBreakAt = [this](std::size_t q) {
    return q < n_ && (s_[q] == '\n' || (s_[q] == '\r' && q + 1 < n_ && s_[q + 1] == '\n'));
  };
  // A further line, from its start ls to its first non-blank at p: no document marker may stand there,
  // and the first line indented no deeper than the parent is remembered.
  auto innerLine = [&](std::size_t ls) {
    if (documentMarkerAt(ls)) fail("Document marker inside a quoted scalar", ls);
    if (result.shallowLine == npos && shallowLine(ls, p, n)) result.shallowLine = p;
  };
  for (;;) {
    if (p >= n_) fail("Unterminated quoted scalar", open);
    const char c = s_[p];
    if (c == quote) {
      if (quote == '\'' && p + 1 < n_ && s_[p + 1] == '\'') {
        scratch_.push_back('\'');
        blankMark = npos;
        p += 2;
        continue;
      }
      ++p;
      break;
    }
    if (c == '\\' && quote == '"') {
      if (p + 1 >= n_) fail("Unterminated quoted scalar", open);
      const char e = s_[p + 1];
      if (isBreakAt(p + 1)) {
        // An escaped line break joins the lines without a space.
        p = nextLineStart(p + 1);
        for (;;) {
          const std::size_t ls = p;
          while (p < n_ && isBlank(s_[p])) ++p;
          innerLine(ls);
          if (!isBreakAt(p)) break;
          scratch_.push_back('\n');
          p = nextLineStart(p);
        }
        blankMark = npos;
        continue;
      }
      const std::size_t at = p;
      p += 2;
      char32_t cp = 0;
      int hexDigits = 0;
      switch (e) {
        case '0': scratch_.push_back('\0'); break;
        case 'a': scratch_.push_back('\a'); break;
        case 'b': scratch_.push_back('\b'); break;
        case 't': case '\t': scratch_.push_back('\t'); break;
        case 'n': scratch_.push_back('\n'); break;
        case 'v': scratch_.push_back('\v'); break;
        case 'f': scratch_.push_back('\f'); break;
        case 'r': scratch_.push_back('\r'); break;
        case 'e': scratch_.push_back('\x1b'); break;
        case ' ': scratch_.push_back(' '); break;
        case '"': scratch_.push_back('"'); break;
        case '/': scratch_.push_back('/'); break;
        case '\\': scratch_.push_back('\\'); break;
        case 'N': VoziZazIreCore::TextServices::appendUtf8(scratch_, 0x85); break;
        case '_': VoziZazIreCore::TextServices::appendUtf8(scratch_, 0xA0); break;
        case 'L': VoziZazIreCore::TextServices::appendUtf8(scratch_, 0x2028); break;
        case 'P': VoziZazIreCore::TextServices::appendUtf8(scratch_, 0x2029); break;
        case 'x': hexDigits = 2; break;
        case 'u': hexDigits = 4; break;
        case 'U': hexDigits = 8; break;
        default: {
          std::size_t q = p - 1;
          VoziZazIreCore::TextServices::decodeUtf8(text_, q);
          fail("Invalid escape sequence: \\" + std::string(text_.substr(p - 1, q - (p - 1))), at);
        }
      }
      if (hexDigits) {
        auto readHex = [&](std::size_t from, int count, char32_t& value) {
          value = 0;
          for (int i = 0; i < count; ++i) {
            int v = from + i < n_ ? hexValue(s_[from + i]) : -1;
            if (v < 0) return false;
            value = value * 16 + static_cast<char32_t>(v);
          }
          return true;
        };
        if (!readHex(p, hexDigits, cp)) fail("Invalid hex digit in escape sequence", at);
        p += static_cast<std::size_t>(hexDigits);
        if (cp >= 0xD800 && cp <= 0xDBFF && hexDigits == 4 && p + 6 <= n_ && s_[p] == '\\' && s_[p + 1] == 'u') {
          char32_t low;
          if (readHex(p + 2, 4, low) && low >= 0xDC00 && low <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            p += 6;
          }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) fail("Invalid unicode escape", at);
        VoziZazIreCore::TextServices::appendUtf8(scratch_, cp);
      }
      blankMark = npos;
      continue;
    }
    if (isBreakAt(p)) {
      // A line break folds: trailing blanks go, one break becomes a space, each further empty line a
      // line feed; leading blanks of the next line go.
      if (blankMark != npos) scratch_.resize(blankMark);
      p = nextLineStart(p);
      std::size_t breaks = 0;
      for (;;) {
        const std::size_t ls = p;
        while (p < n_ && isBlank(s_[p])) ++p;
        innerLine(ls);
        if (!isBreakAt(p)) break;
        ++breaks;
        p = nextLineStart(p);
      }
      if (breaks == 0) {
        scratch_.push_back(' ');
      } else {
        scratch_.append(breaks, '\n');
      }
      blankMark = npos;
      continue;
    }
    if (isBlank(c)) {
      if (blankMark == npos) blankMark = scratch_.size();
    } else {
      blankMark = npos;
    }
    scratch_.push_back(c);
    ++p;
  }
  moveTo(p);
  result.end = loc();
  result.text = scratch_;
  return result;
}

// A literal ("|") or folded (">") block scalar whose header is at pos_; n is the parent's indentation.
YAMLScalarScanner::ScalarText YAMLScalarScanner::readBlockScalar(int n) {
  ScalarText result;
  result.plain = false;
  result.start = loc();
  const bool folded = s_[pos_] == '>';
  ++pos_;
  int chomp = 0;  // -1 strip, 0 clip, +1 keep
  int explicitIndent = 0;
  for (int i = 0; i < 2 && pos_ < n_; ++i) {
    const char c = s_[pos_];
    if ((c == '+' || c == '-') && chomp == 0) {
      chomp = c == '+' ? 1 : -1;
      ++pos_;
    } else if (c >= '1' && c <= '9' && explicitIndent == 0) {
      explicitIndent = c - '0';
      ++pos_;
    }
  }
  if (!blankOrEndAt(pos_)) fail("Invalid block scalar header", pos_);
  result.end = loc();
  skipBlanks();
  if (!atCommentOrLineEnd()) fail("Invalid block scalar header", pos_);

  std::size_t r = nextLineStart(pos_);
  int contentIndent;
  if (explicitIndent) {
    contentIndent = (n >= 0 ? n : 0) + explicitIndent;
  } else {
    int maxBlank = 0;
    std::size_t maxBlankAt = 0;
    int first = -1;
    for (std::size_t q = r; q < n_;) {
      std::size_t t = q;
      while (t < n_ && s_[t] == ' ') ++t;
      const int k = static_cast<int>(t - q);
      if (lineEndAt(t)) {
        if (k > maxBlank) {
          maxBlank = k;
          maxBlankAt = q;
        }
        if (t >= n_) break;
        q = nextLineStart(t);
        continue;
      }
      first = k;
      break;
    }
    // The first content line fixes the indentation; an empty line above it may not reach further.
    if (first > n && maxBlank > first)
      fail("A leading empty line of a block scalar has more spaces than its first content line",
           maxBlankAt + static_cast<std::size_t>(first));
    contentIndent = std::max({first, maxBlank, n + 1});
  }

  std::string& out = scratch_;
  out.clear();
  std::size_t breaks = 0;
  bool first = true;
  bool prevFoldable = false;
  bool lastHadBreak = false;
  while (r < n_) {
    std::size_t t = r;
    while (t < n_ && s_[t] == ' ' && static_cast<int>(t - r) < contentIndent) ++t;
    if (static_cast<int>(t - r) < contentIndent) {
      std::size_t u = t;
      while (u < n_ && isBlank(s_[u])) ++u;
      if (!lineEndAt(u)) break;  // a less indented line ends the scalar
      // Indentation is spaces: a tab before the content's column is neither indentation nor content.
      if (first && u > t) fail("Tabs are not allowed in indentation", t);
      if (u >= n_) {
        // A last line of blanks without a line break still counts as an empty line.
        if (u > r) ++breaks;
        r = n_;
        break;
      }
      ++breaks;
      r = nextLineStart(u);
      continue;
    }
    if (contentIndent == 0 && documentMarkerAt(r)) break;
    if (lineEndAt(t)) {
      if (t >= n_) {
        if (t > r) ++breaks;
        r = n_;
        break;
      }
      ++breaks;
      r = nextLineStart(t);
      continue;
    }
    const std::size_t ce = contentEnd(t);
    const bool foldable = !isBlank(s_[t]);
    if (first) {
      out.append(breaks, '\n');
    } else if (folded && prevFoldable && foldable) {
      if (breaks == 0) {
        out.push_back(' ');
      } else {
        out.append(breaks, '\n');
      }
    } else {
      out.append(breaks + 1, '\n');
    }
    breaks = 0;
    first = false;
    out.append(s_ + t, ce - t);
    prevFoldable = foldable;
    moveTo(ce);
    result.end = loc(ce);
    // The end of the text ends a last line of blanks as a line break would; after other content it
    // leaves the line without one.
    lastHadBreak = ce < n_ || std::all_of(s_ + t, s_ + ce, [](char c) { return isBlank(c); });
    r = nextLineStart(ce);
  }
  if (!first && chomp >= 0 && lastHadBreak) out.push_back('\n');
  if (chomp > 0) out.append(breaks, '\n');
  moveTo(r);
  result.text = out;
  return result;
}

}  // namespace VoziZazIreParsing
