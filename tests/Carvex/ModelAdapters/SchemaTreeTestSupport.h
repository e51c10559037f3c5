#pragma once
// Models from short YAML texts, and the printed form of schema trees that the tree tests compare.

#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "Carvex/ModelAdapters/SchemaRefResolver.h"
#include "kit/facade/OpenApiParser.h"

#include <algorithm>
#include <string>
#include <vector>

namespace SchemaTreeTestSupport {

// The model of `body` (YAML after the openapi and info lines) in the given version.
inline Carvex::ParsedOpenAPIModel modelOf(const std::string& body, const char* version = "3.0.3")
{
    const std::string text = std::string("openapi: ") + version + "\ninfo: {title: t, version: '1'}\n" + body;
    return Carvex::ParsedOpenAPIModel(
        VoziZazIre::OpenApiParser().parse(text, VoziZazIre::Format::yaml, VoziZazIreCore::ValidationLevel::none).document);
}

inline Carvex::RefOrValue<Carvex::SchemaAdapter> refSlot(const std::string& ref)
{
    return Carvex::RefOrValue<Carvex::SchemaAdapter>::reference(
        VoziZazIreCore::Reference(ref, std::nullopt, std::nullopt, std::nullopt));
}

// One line per node, two blanks of indent per level: "name: type", the format in parentheses, "enum="
// and "default=" texts, then the badges in raw-value order
// in brackets, "<kind>" of a composition, "@" and the last piece of the reference, "circular",
// "external", and "line" with the source line when `lines` is set. Reads (and so makes) every child.
inline void print(const Carvex::SchemaTreeNode& node, std::string& out, int level, bool lines)
{
    out.append(std::size_t(level) * 2, ' ');
    out += node.name().toStdString() + ": " + node.typeDescription().toStdString();
    if (node.format())
        out += " (" + node.format()->toStdString() + ")";
    if (node.enumValues())
        out += " enum=" + node.enumValues()->join(QLatin1Char('|')).toStdString();
    if (node.defaultValue())
        out += " default=" + node.defaultValue()->toStdString();
    std::vector<std::string> badges;
    for (Carvex::SchemaNodeBadge badge : node.badges().values())
        badges.emplace_back(Carvex::rawValue(badge));
    std::sort(badges.begin(), badges.end());
    if (!badges.empty()) {
        out += " [";
        for (std::size_t i = 0; i < badges.size(); ++i)
            out += (i ? "," : "") + badges[i];
        out += "]";
    }
    if (node.compositionType())
        out += " <" + std::string(Carvex::rawValue(*node.compositionType())) + ">";
    if (node.refString())
        out += " @" + Carvex::SchemaRefResolver::lastRefComponent(*node.refString()).toStdString();
    if (node.isCircularRef())
        out += " circular";
    if (node.isExternalRef())
        out += " external";
    if (lines && node.sourceLine())
        out += " line " + std::to_string(*node.sourceLine());
    out += "\n";
    for (const auto& child : node.children())
        print(*child, out, level + 1, lines);
}

inline std::string printed(const Carvex::SchemaTreeNode::Ptr& root, bool lines = false)
{
    std::string out;
    if (root)
        print(*root, out, 0, lines);
    return out;
}

} // namespace SchemaTreeTestSupport
