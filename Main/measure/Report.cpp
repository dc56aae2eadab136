#include "measure/Report.h"

#include <cmath>

#include "CommonUtils/Numbers.h"

namespace msr {
namespace {

std::string Number(double v) { return std::isfinite(v) ? cmn::FormatReal(v) : std::string("нет"); }

// Six significant digits are enough for a reader; the files keep full precision.
std::string Short(double v) {
    if (!std::isfinite(v)) return "нет";
    const double a = std::abs(v);
    const int decimals = a >= 1000 ? 2 : a >= 1 ? 5 : 6;
    return cmn::FormatFixed(v, decimals);
}

std::string Verdict(const TCompareRow& r) { return r.Pass ? "в допуске" : "ВНЕ ДОПУСКА"; }

std::string Csv(const std::string& text) {
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') out += std::string("\\") + static_cast<char>(c);
        else if (c == '\n') out += "\\n";
        else if (c < 0x20) out += "\\u00" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
        else out += static_cast<char>(c);
    }
    return out + "\"";
}

std::string JsonNumber(double v) { return std::isfinite(v) ? cmn::FormatReal(v) : std::string("null"); }

}  // namespace

std::string ActionName(TVerifyAction action) {
    switch (action) {
        case TVerifyAction::Sinus: return "Испытательный сигнал";
        case TVerifyAction::ColOver: return "Провалы и перенапряжения";
        case TVerifyAction::Koleb: return "Колебания напряжения";
    }
    return "";
}

std::string RowLine(const TCompareRow& r) {
    const std::string unit = r.Unit.empty() ? "" : ", " + r.Unit;
    return r.Quantity + unit + ": задано " + Short(r.Set) + ", измерено " + Short(r.Measured) + ", разность " +
           Short(r.Difference) + ", допуск ±" + Short(r.Tolerance) + " (" + r.Rule + ") — " + Verdict(r);
}

std::string ReportCsv(const TVerifyReport& report, const TReportHeader& h) {
    std::string out;
    out += Csv("Сигнал") + ";" + Csv(h.Signal) + "\n";
    out += Csv("Действие") + ";" + Csv(h.Action) + "\n";
    out += Csv("Модификация калибратора") + ";" + Csv(h.Modification) + "\n";
    out += Csv("Время проверки") + ";" + Csv(h.Time) + "\n";
    out += Csv("Итог") + ";" + Csv(report.Passed() ? "все величины в допуске" : "есть величины вне допуска") + "\n";
    for (const std::string& note : report.Notes) out += Csv("Примечание") + ";" + Csv(note) + "\n";
    out += "\n" + Csv("Величина") + ";" + Csv("Единица") + ";" + Csv("Задано") + ";" + Csv("Измерено") + ";" +
           Csv("Разность") + ";" + Csv("Допуск") + ";" + Csv("Правило") + ";" + Csv("Результат") + "\n";
    for (const TCompareRow& r : report.Rows)
        out += Csv(r.Quantity) + ";" + Csv(r.Unit) + ";" + Number(r.Set) + ";" + Number(r.Measured) + ";" +
               Number(r.Difference) + ";" + Number(r.Tolerance) + ";" + Csv(r.Rule) + ";" + Csv(Verdict(r)) + "\n";
    return out;
}

std::string ReportJson(const TVerifyReport& report, const TReportHeader& h) {
    std::string out = "{\n";
    out += "  \"signal\": " + Json(h.Signal) + ",\n";
    out += "  \"action\": " + Json(h.Action) + ",\n";
    out += "  \"modification\": " + Json(h.Modification) + ",\n";
    out += "  \"time\": " + Json(h.Time) + ",\n";
    out += "  \"passed\": " + std::string(report.Passed() ? "true" : "false") + ",\n";
    out += "  \"notes\": [";
    for (std::size_t i = 0; i < report.Notes.size(); ++i) out += (i ? ", " : "") + Json(report.Notes[i]);
    out += "],\n  \"rows\": [\n";
    for (std::size_t i = 0; i < report.Rows.size(); ++i) {
        const TCompareRow& r = report.Rows[i];
        out += "    {\"quantity\": " + Json(r.Quantity) + ", \"unit\": " + Json(r.Unit) +
               ", \"set\": " + JsonNumber(r.Set) + ", \"measured\": " + JsonNumber(r.Measured) +
               ", \"difference\": " + JsonNumber(r.Difference) + ", \"tolerance\": " + JsonNumber(r.Tolerance) +
               ", \"rule\": " + Json(r.Rule) + ", \"pass\": " + (r.Pass ? "true" : "false") + "}" +
               (i + 1 < report.Rows.size() ? ",\n" : "\n");
    }
    out += "  ]\n}\n";
    return out;
}

}  // namespace msr
