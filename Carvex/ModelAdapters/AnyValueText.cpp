#include "Carvex/ModelAdapters/AnyValueText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace Carvex::AnyValueText {

using VoziZazIreCore::AnyValue;

namespace {

// An array or object being written: its elements, or its entries in key order, and the next one.
struct Frame {
    const AnyValue* value = nullptr;
    std::vector<const AnyValue::Object::Entry*> entries; // objects only, sorted by key
    std::size_t next = 0;
    std::size_t count = 0;
};

Frame makeFrame(const AnyValue& value)
{
    Frame frame;
    frame.value = &value;
    if (const AnyValue::Array* array = value.arrayValue()) {
        frame.count = array->size();
    } else if (const AnyValue::Object* object = value.objectValue()) {
        frame.entries.reserve(object->size());
        for (const auto& entry : *object)
            frame.entries.push_back(&entry);
        std::stable_sort(frame.entries.begin(), frame.entries.end(),
                         [](const auto* a, const auto* b) { return a->first < b->first; });
        frame.count = frame.entries.size();
    }
    return frame;
}

bool isContainer(const AnyValue& value)
{
    return value.arrayValue() || value.objectValue();
}

void appendInt(std::string& out, int64_t value)
{
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    out.append(buffer, end);
}

void appendJSONString(std::string& out, const std::string& text)
{
    out += '"';
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static const char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[(c >> 4) & 0xF];
                out += hex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void appendCompactScalar(std::string& out, const AnyValue& value)
{
    switch (value.kind()) {
    case AnyValue::Kind::bool_: out += *value.boolValue() ? "true" : "false"; break;
    case AnyValue::Kind::int_: appendInt(out, *value.intValue()); break;
    case AnyValue::Kind::double_: out += doubleDescription(*value.doubleValue()); break;
    case AnyValue::Kind::string: out += *value.stringValue(); break;
    case AnyValue::Kind::null: out += "null"; break;
    case AnyValue::Kind::array:
    case AnyValue::Kind::object: break;
    }
}

void appendJSONScalar(std::string& out, const AnyValue& value)
{
    switch (value.kind()) {
    case AnyValue::Kind::double_: {
        const double number = *value.doubleValue();
        if (!std::isfinite(number)) {
            out += "null";
        } else if (number == std::trunc(number)) {
            char buffer[400];
            const int length = std::snprintf(buffer, sizeof buffer, "%.1f", number);
            out.append(buffer, static_cast<std::size_t>(std::clamp(length, 0, int(sizeof buffer) - 1)));
        } else {
            out += doubleDescription(number);
        }
        break;
    }
    case AnyValue::Kind::string: appendJSONString(out, *value.stringValue()); break;
    default: appendCompactScalar(out, value);
    }
}

} // namespace

std::string doubleDescription(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    std::string out;
    if (std::signbit(value))
        out += '-';
    const double magnitude = std::fabs(value);
    if (magnitude == 0)
        return out + "0.0";
    // The shortest round-trip digits, read from the scientific form "d.ddde+XX".
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    (void)ec;
    const std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t e = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, e)) {
        if (c != '.')
            digits += c;
    }
    int exponent = 0;
    std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1), scientific.data() + scientific.size(),
                    exponent);
    if (exponent < -4 || exponent >= 16) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += exponent < 0 ? "e-" : "e+";
        const int shown = std::abs(exponent);
        if (shown < 10)
            out += '0';
        appendInt(out, shown);
        return out;
    }
    if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        out += digits;
        out.append(integerDigits - digits.size(), '0');
        out += ".0";
    } else {
        out.append(digits, 0, integerDigits);
        out += '.';
        out.append(digits, integerDigits);
    }
    return out;
}

std::string compactString(const AnyValue& value)
{
    std::string out;
    std::vector<Frame> stack;
    auto begin = [&](const AnyValue& item) {
        if (!isContainer(item)) {
            appendCompactScalar(out, item);
            return;
        }
        Frame frame = makeFrame(item);
        const bool array = item.arrayValue() != nullptr;
        if (frame.count == 0) {
            out += array ? "[]" : "{}";
            return;
        }
        out += array ? '[' : '{';
        stack.push_back(std::move(frame));
    };
    begin(value);
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const bool array = frame.value->arrayValue() != nullptr;
        if (frame.next == frame.count) {
            out += array ? ']' : '}';
            stack.pop_back();
            continue;
        }
        if (frame.next > 0)
            out += ", ";
        const AnyValue* child;
        if (array) {
            child = &(*frame.value->arrayValue())[frame.next];
        } else {
            out += frame.entries[frame.next]->first;
            out += ": ";
            child = &frame.entries[frame.next]->second;
        }
        ++frame.next;
        begin(*child); // may grow the stack: `frame` is not used after this
    }
    return out;
}

std::string prettyJSONString(const AnyValue& value, int indent)
{
    const std::size_t step = static_cast<std::size_t>(std::max(indent, 0));
    std::string out;
    std::vector<Frame> stack;
    auto begin = [&](const AnyValue& item) {
        if (!isContainer(item)) {
            appendJSONScalar(out, item);
            return;
        }
        Frame frame = makeFrame(item);
        const bool array = item.arrayValue() != nullptr;
        if (frame.count == 0) {
            out += array ? "[]" : "{}";
            return;
        }
        out += array ? '[' : '{';
        stack.push_back(std::move(frame));
    };
    begin(value);
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const bool array = frame.value->arrayValue() != nullptr;
        const std::size_t level = (stack.size() - 1) * step;
        if (frame.next == frame.count) {
            out += '\n';
            out.append(level, ' ');
            out += array ? ']' : '}';
            stack.pop_back();
            continue;
        }
        out += frame.next > 0 ? ",\n" : "\n";
        out.append(level + step, ' ');
        const AnyValue* child;
        if (array) {
            child = &(*frame.value->arrayValue())[frame.next];
        } else {
            appendJSONString(out, frame.entries[frame.next]->first);
            out += ": ";
            child = &frame.entries[frame.next]->second;
        }
        ++frame.next;
        begin(*child);
    }
    return out;
}

} // namespace Carvex::AnyValueText
