#include "export/XmlPart.h"

#include <sstream>

namespace xls {

pugi::xml_document ParseXmlPart(const std::string& content, const std::string& name) {
    pugi::xml_document document;
    const pugi::xml_parse_result result =
        document.load_buffer(content.data(), content.size(), pugi::parse_full | pugi::parse_ws_pcdata);
    if (!result) throw TWorkbookUnreadable(name + ": " + result.description());
    if (!document.document_element()) throw TWorkbookUnreadable(name + ": no root element");
    return document;
}

std::string SaveXmlPart(const pugi::xml_document& document) {
    std::ostringstream out;
    document.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

std::string_view LocalName(const char* name) {
    const std::string_view full(name);
    const std::size_t colon = full.find(':');
    return colon == std::string_view::npos ? full : full.substr(colon + 1);
}

bool IsElement(const pugi::xml_node& node, std::string_view localName) {
    return node.type() == pugi::node_element && LocalName(node.name()) == localName;
}

pugi::xml_node FirstChild(const pugi::xml_node& parent, std::string_view localName) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (IsElement(child, localName)) return child;
    return {};
}

pugi::xml_node NextSibling(const pugi::xml_node& node, std::string_view localName) {
    for (pugi::xml_node next = node.next_sibling(); next; next = next.next_sibling())
        if (IsElement(next, localName)) return next;
    return {};
}

std::string NameLike(const pugi::xml_node& sibling, std::string_view localName) {
    const std::string_view full(sibling.name());
    const std::size_t colon = full.find(':');
    const std::string prefix = colon == std::string_view::npos ? "" : std::string(full.substr(0, colon + 1));
    return prefix + std::string(localName);
}

void SetAttribute(pugi::xml_node node, const char* name, const std::string& value) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) attribute = node.append_attribute(name);
    attribute.set_value(value.c_str());
}

}  // namespace xls
