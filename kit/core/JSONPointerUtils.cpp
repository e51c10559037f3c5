#include "kit/core/JSONPointerUtils.h"

namespace VoziZazIreCore::JSONPointerUtils {

namespace {

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    std::size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos) {
      out.append(text.substr(pos));
      return out;
    }
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
}

}  // namespace

std::string escape(std::string_view key) {
  if (key.find_first_of("~/") == std::string_view::npos) return std::string(key);
  return replaceAll(replaceAll(key, "~", "~0"), "/", "~1");
}

std::string unescape(std::string_view token) {
  if (token.find('~') == std::string_view::npos) return std::string(token);
  return replaceAll(replaceAll(token, "~1", "/"), "~0", "~");
}

void appendInPlace(std::string& pointer, std::string_view key) {
  pointer.push_back('/');
  bool plain = true;
  for (char c : key) plain &= (c != '~') & (c != '/');
  if (plain) {
    pointer.append(key);
    return;
  }
  for (char c : key) {
    if (c == '~') {
      pointer.append("~0");
    } else if (c == '/') {
      pointer.append("~1");
    } else {
      pointer.push_back(c);
    }
  }
}

std::string append(std::string_view pointer, std::string_view key) {
  std::string out(pointer);
  appendInPlace(out, key);
  return out;
}

std::string append(std::string_view pointer, int64_t index) {
  std::string out(pointer);
  out.push_back('/');
  out.append(std::to_string(index));
  return out;
}

std::vector<std::string> parse(std::string_view pointer) {
  std::vector<std::string> tokens;
  if (pointer.empty()) return tokens;
  if (pointer.front() != '/') {
    tokens.emplace_back(pointer);
    return tokens;
  }
  std::string_view rest = pointer.substr(1);
  while (true) {
    std::size_t slash = rest.find('/');
    tokens.push_back(unescape(rest.substr(0, slash)));
    if (slash == std::string_view::npos) break;
    rest = rest.substr(slash + 1);
  }
  return tokens;
}

}  // namespace VoziZazIreCore::JSONPointerUtils
