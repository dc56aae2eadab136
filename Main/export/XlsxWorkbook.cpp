#include "export/XlsxWorkbook.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "CommonUtils/TalvoError.h"
#include "export/SheetColumn.h"
#include "export/XmlPart.h"

namespace xls {
namespace {

using pugi::xml_node;

constexpr const char* kContentTypes = "[Content_Types].xml";

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Lower(x) == Lower(y); });
}

// "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels"; "" -> "_rels/.rels".
std::string RelsNameOf(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
    return folder + "_rels/" + part.substr(folder.size()) + ".rels";
}

// A relationship target as a part name: relative to the source part's
// folder, or from the package root when it starts with "/".
std::string ResolveTarget(const std::string& source, std::string_view target) {
    std::vector<std::string> segments;
    std::string path;
    if (target.empty() || target.front() != '/') path = source.substr(0, source.rfind('/') + 1);
    path += target;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string name;
    for (const std::string& segment : segments) name += (name.empty() ? "" : "/") + segment;
    return name;
}

std::string ReadPart(const TZipPackage& package, const std::string& name) {
    auto content = package.Read(name);
    if (!content) throw TWorkbookUnreadable("missing part " + name);
    return std::move(*content);
}

pugi::xml_document ReadXml(const TZipPackage& package, const std::string& name) {
    return ParseXmlPart(ReadPart(package, name), name);
}

// The internal relationship of a type ("…/officeDocument"), matched by the
// end of its type so that transitional and strict packages both read.
xml_node FindRelationship(const pugi::xml_document& rels, std::string_view typeTail, std::string_view id = {}) {
    const xml_node root = rels.document_element();
    for (xml_node rel = FirstChild(root, "Relationship"); rel; rel = NextSibling(rel, "Relationship")) {
        if (std::string_view(rel.attribute("TargetMode").value()) == "External") continue;
        if (!id.empty() && id != rel.attribute("Id").value()) continue;
        if (EndsWith(rel.attribute("Type").value(), typeTail)) return rel;
    }
    return {};
}

// The relationship id of a sheet entry: the attribute "id" in the
// relationships namespace, whatever its prefix.
std::string_view SheetRelationshipId(const xml_node& sheet) {
    for (const pugi::xml_attribute attribute : sheet.attributes()) {
        const std::string_view name = attribute.name();
        if (name != "id" && LocalName(attribute.name()) == "id") return attribute.value();
    }
    return {};
}

// The first sheet of the workbook that is a worksheet; chart and dialog
// sheets do not count, as they hold no cells.
std::string FirstWorksheet(const pugi::xml_document& workbook, const pugi::xml_document& rels,
                           const std::string& workbookName) {
    const xml_node sheets = FirstChild(workbook.document_element(), "sheets");
    for (xml_node sheet = FirstChild(sheets, "sheet"); sheet; sheet = NextSibling(sheet, "sheet")) {
        const std::string_view id = SheetRelationshipId(sheet);
        if (id.empty()) continue;
        if (const xml_node rel = FindRelationship(rels, "/worksheet", id))
            return ResolveTarget(workbookName, rel.attribute("Target").value());
    }
    throw cmn::TalvoError("В книге шаблона нет ни одного рабочего листа");
}

// Elements that follow calcPr in a workbook part, in their schema order.
bool FollowsCalcPr(const xml_node& node) {
    static constexpr std::string_view later[]{"oleSize",        "customWorkbookViews", "pivotCaches",
                                              "smartTagPr",     "smartTagTypes",       "webPublishing",
                                              "fileRecoveryPr", "webPublishObjects",   "extLst"};
    const std::string_view name = LocalName(node.name());
    return node.type() == pugi::node_element && std::find(std::begin(later), std::end(later), name) != std::end(later);
}

}  // namespace

TXlsxWorkbook::TXlsxWorkbook(std::string bytes) : package_(std::move(bytes)) {
    const pugi::xml_document packageRels = ReadXml(package_, RelsNameOf(""));
    const xml_node main = FindRelationship(packageRels, "/officeDocument");
    if (!main) throw TWorkbookUnreadable("no workbook relationship");
    workbookName_ = ResolveTarget("", main.attribute("Target").value());
    workbook_ = ReadXml(package_, workbookName_);
    if (!IsElement(workbook_.document_element(), "workbook")) throw TWorkbookUnreadable("not a workbook");
    workbookRels_ = ReadXml(package_, RelsNameOf(workbookName_));
    contentTypes_ = ReadXml(package_, kContentTypes);
    sheetName_ = FirstWorksheet(workbook_, workbookRels_, workbookName_);
    sheet_ = ReadXml(package_, sheetName_);
}

void TXlsxWorkbook::WriteColumn(int column, const TExportColumn& cells) {
    WriteSheetColumn(sheet_, column, cells);
    DropCalcChain();
    RequestFullRecalculation();
}

void TXlsxWorkbook::DropCalcChain() {
    std::vector<std::string> parts;
    while (const xml_node rel = FindRelationship(workbookRels_, "/calcChain")) {
        parts.push_back(ResolveTarget(workbookName_, rel.attribute("Target").value()));
        workbookRels_.document_element().remove_child(rel);
        relsChanged_ = true;
    }
    xml_node types = contentTypes_.document_element();
    for (xml_node entry = FirstChild(types, "Override"); entry;) {
        const xml_node next = NextSibling(entry, "Override");
        const std::string_view partName = entry.attribute("PartName").value();
        const bool listed = std::any_of(parts.begin(), parts.end(),
                                        [&](const std::string& part) { return SameName(partName, "/" + part); });
        if (listed || EndsWith(entry.attribute("ContentType").value(), ".calcChain+xml")) {
            if (!listed && !partName.empty()) parts.emplace_back(partName.substr(1));
            types.remove_child(entry);
            typesChanged_ = true;
        }
        entry = next;
    }
    for (const std::string& part : parts) package_.Remove(part);
}

void TXlsxWorkbook::RequestFullRecalculation() {
    xml_node root = workbook_.document_element();
    xml_node calcPr = FirstChild(root, "calcPr");
    if (!calcPr) {
        xml_node before = root.first_child();
        while (before && !FollowsCalcPr(before)) before = before.next_sibling();
        const std::string name = NameLike(root, "calcPr");
        calcPr = before ? root.insert_child_before(name.c_str(), before) : root.append_child(name.c_str());
    }
    SetAttribute(calcPr, "fullCalcOnLoad", "1");
}

std::string TXlsxWorkbook::Save() {
    package_.Write(sheetName_, SaveXmlPart(sheet_));
    package_.Write(workbookName_, SaveXmlPart(workbook_));
    if (relsChanged_) package_.Write(RelsNameOf(workbookName_), SaveXmlPart(workbookRels_));
    if (typesChanged_) package_.Write(kContentTypes, SaveXmlPart(contentTypes_));
    return package_.Save();
}

}  // namespace xls
