#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

#include "export/WorkbookError.h"

// Reading and writing the XML parts of a workbook package. Element names are
// matched by their local name, so parts written with any namespace prefix
// are understood; new elements take the prefix of their parent.
namespace xls {

// A malformed part raises TWorkbookUnreadable. Whitespace-only text is kept, so that text the parts carry comes back
// unchanged.
pugi::xml_document ParseXmlPart(const std::string& content, const std::string& name);
// Unindented, with the part's own declaration.
std::string SaveXmlPart(const pugi::xml_document& document);

std::string_view LocalName(const char* name);
bool IsElement(const pugi::xml_node& node, std::string_view localName);
pugi::xml_node FirstChild(const pugi::xml_node& parent, std::string_view localName);
pugi::xml_node NextSibling(const pugi::xml_node& node, std::string_view localName);
// The local name with the prefix of `sibling`'s name ("x:row" beside "x:sheetData").
std::string NameLike(const pugi::xml_node& sibling, std::string_view localName);
// Sets an attribute, adding it when missing.
void SetAttribute(pugi::xml_node node, const char* name, const std::string& value);

}  // namespace xls
