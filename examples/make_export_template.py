#!/usr/bin/python3
"""Builds the example export template ExportTemplate.xlsx (needs python3-openpyxl).

Sheet "Сигналы" carries a caption for every row the export writes (rows 3 ... 3075)
and ten signal columns B, F, J, ..., AL, the columns the export dialog proposes
for "Сигнал 1" ... "Сигнал 10". The column right of each signal column checks a few
totals by formulas over the exported values; sheet "Итоги" sums the phase powers.
Usage: make_export_template.py [output.xlsx]
"""
import sys

from openpyxl import Workbook
from openpyxl.styles import Alignment, Font, PatternFill
from openpyxl.utils import get_column_letter

FIRST_ROW = 3
PHASES = ["A", "B", "C"]
SIX = ["A", "B", "C", "AB", "BC", "CA"]
SIGNAL_COLUMNS = [4 * k + 2 for k in range(10)]


def harmonics(prefix):
    return [f"{prefix}, n = {n}" for n in range(2, 51)]


def interharmonics(prefix):
    return [f"{prefix}, m = {m + 0.5}" for m in range(1, 50)]


def captions():
    rows = [f"U{p}(1), В" for p in PHASES]
    rows += [f"U{l}(1), В" for l in SIX[3:]]
    rows += [f"U{p}, В" for p in PHASES] + [f"U{l}, В" for l in SIX[3:]]
    rows += ["U1 прямой последовательности (фазное), В", "U1 прямой последовательности (линейное), В",
             "f, Гц", "K2U, %", "K0U, %"]
    for x in SIX:
        rows += [f"KU {x}, %"] + harmonics(f"KU(n) {x}, %") + interharmonics(f"KUisg(m) {x}, %")
    for pair in ["A-B", "B-C", "C-A"]:
        rows += [f"φU {pair}, °"] + harmonics(f"φU(n) {pair}, °")
    rows += [f"I{p}(1), А" for p in PHASES] + ["IN(1), А"]
    rows += [f"I{p}, А" for p in PHASES] + ["IN, А"]
    for p in PHASES:
        rows += [f"KI {p}, %"] + harmonics(f"KI(n) {p}, %") + interharmonics(f"KIisg(m) {p}, %")
    for p in PHASES:
        rows += [f"φUI {p}, °"] + harmonics(f"φUI(n) {p}, °") + interharmonics(f"φUIisg(m) {p}, °")
    rows += [f"δU {x}, %" for x in SIX] + [f"δU(1) {p}, %" for p in PHASES] + [f"δU(1) {l}, %" for l in SIX[3:]]
    rows += [f"δU(+) {x}, %" for x in SIX] + [f"δU(-) {x}, %" for x in SIX]
    rows += ["δU1, %", "Δf, Гц", "φUI0, °", "φUI1, °", "φUI2, °"]
    rows += [f"φU(1) {pair}, °" for pair in ["AB-BC", "BC-CA", "CA-AB"]]
    rows += ["K0I, %", "K2I, %", "U0 (фазное), В", "U0 (линейное), В", "U2 (фазное), В", "U2 (линейное), В",
             "U среднее, В", "U(1) среднее, В", "I0, А", "I1, А", "I2, А", "I среднее, А", "I(1) среднее, А"]
    for quantity, unit in [("P", "Вт"), ("Q", "вар"), ("S", "В·А")]:
        rows += [f"{quantity} {p}, {unit}" for p in PHASES] + [f"{quantity} сумма, {unit}"]
    for quantity, unit in [("P", "Вт"), ("Q", "вар"), ("S", "В·А")]:
        rows += [f"{quantity}{s}, {unit}" for s in ["0", "1", "2"]]
    rows += [f"KP {p}" for p in PHASES] + ["KP сумма"]
    for quantity, unit in [("P", "Вт"), ("Q", "вар"), ("S", "В·А")]:
        for part in PHASES + ["сумма"]:
            rows += [f"{quantity}(1) {part}, {unit}"] + harmonics(f"{quantity}(n) {part}, {unit}")
    for x in SIX:
        rows += harmonics(f"U(n) {x}, В")
    for x in SIX:
        rows += interharmonics(f"Uisg(m) {x}, В")
    for p in PHASES:
        rows += harmonics(f"I(n) {p}, А")
    for p in PHASES:
        rows += interharmonics(f"Iisg(m) {p}, А")
    for kind, quantities in [("провал", ["δUп, %", "Δtп, с", "Uопорное, В", "Uo, В"]),
                             ("перенапряжение", ["KперU", "Δtпер, с", "Uопорное, В", "Uпер, В"])]:
        for quantity in quantities:
            rows += [f"{quantity} {x} ({kind})" for x in SIX]
    rows += ["P сумма ≥ 0, Вт", "|P сумма| < 0, Вт"]
    rows += [f"|Q(1)| квадрант {q}, вар" for q in range(1, 5)]
    rows += ["|S сумма| при P ≥ 0, В·А", "|S сумма| при P < 0, В·А", "P(1) сумма ≥ 0, Вт", "|P(1) сумма| < 0, Вт",
             "P1 ≥ 0, Вт", "|P1| < 0, Вт"]
    rows += [f"|Q1| квадрант {q}, вар" for q in range(1, 5)]
    rows += [f"|Q| квадрант {q}, вар" for q in range(1, 5)]
    rows += [f"Pst {x}" for x in SIX] + [f"Pst {x} (повтор)" for x in SIX]
    rows += ["Se4, В·А", "Se3, В·А", "KE4", "KE3", "K1"]
    for quantity in ["DI", "DU", "SH", "SN", "PH", "DH"]:
        rows += [f"{quantity} {p}" for p in PHASES]
    rows += ["DeI4", "DeI3", "DeU4", "DeU3", "SeH4", "SeH3", "SeN4", "SeN3", "PH сумма", "DeH4", "DeH3",
             "HP4", "HP3", "LU4", "LU3"]
    rows += [f"KQ {p}" for p in PHASES] + ["KQ сумма", "Время испытания, с", "Энергия P, Вт·ч", "Энергия Q, вар·ч"]
    rows += [f"Количество провалов {x}" for x in SIX] + [f"Количество перенапряжений {x}" for x in SIX]
    rows += [f"Провал / перенапряжение {x}, %" for x in SIX]
    for quantity, unit in [("P", "Вт"), ("Q", "вар"), ("S", "В·А")]:
        rows += [f"3·{quantity}{s}, {unit}" for s in ["0", "1", "2"]]
    rows += ["Q сумма ≥ 0, вар", "|Q сумма| < 0, вар", "Q(1) сумма ≥ 0, вар", "|Q(1) сумма| < 0, вар"]
    assert len(rows) == 3071, len(rows)
    return rows


def checks(letter):
    """Formulas beside a signal column: row -> formula."""
    r = lambda index: FIRST_ROW + index
    return {
        r(1411): f"=SUM({letter}{r(1408)}:{letter}{r(1410)})",
        r(1415): f"=SUM({letter}{r(1412)}:{letter}{r(1414)})",
        r(1419): f"=SUM({letter}{r(1416)}:{letter}{r(1418)})",
        r(1401): f"=AVERAGE({letter}{r(6)}:{letter}{r(8)})",
        r(1402): f"=AVERAGE({letter}{r(0)}:{letter}{r(2)})",
    }


def build(path):
    workbook = Workbook()
    sheet = workbook.active
    sheet.title = "Сигналы"
    bold = Font(bold=True)
    heading = PatternFill("solid", fgColor="DDEBF7")
    sheet["A1"] = "Параметры испытательного сигнала"
    sheet["A1"].font = Font(bold=True, size=14)
    sheet["A2"] = "Величина"
    sheet.column_dimensions["A"].width = 44
    for row, caption in enumerate(captions(), start=FIRST_ROW):
        sheet.cell(row=row, column=1, value=caption)
    for k, column in enumerate(SIGNAL_COLUMNS, start=1):
        letter = get_column_letter(column)
        head = sheet.cell(row=2, column=column, value=f"Сигнал {k}")
        head.font, head.fill, head.alignment = bold, heading, Alignment(horizontal="center")
        check = sheet.cell(row=2, column=column + 1, value="Проверка")
        check.font = Font(italic=True)
        sheet.column_dimensions[letter].width = 14
        for row, formula in checks(letter).items():
            cell = sheet.cell(row=row, column=column + 1, value=formula)
            cell.number_format = "0.000"
    sheet.freeze_panes = "B3"

    totals = workbook.create_sheet("Итоги")
    totals["A1"] = "Суммы фазных мощностей"
    totals["A1"].font = bold
    names = [("P, Вт", 1408), ("Q, вар", 1412), ("S, В·А", 1416), ("P(1), Вт", 1433), ("Q(1), вар", 1633)]
    totals["A2"] = "Сигнал"
    for i, (name, _) in enumerate(names, start=2):
        totals.cell(row=2, column=i, value=name).font = bold
    for k, column in enumerate(SIGNAL_COLUMNS, start=1):
        letter = get_column_letter(column)
        totals.cell(row=2 + k, column=1, value=f"Сигнал {k}")
        for i, (_, index) in enumerate(names, start=2):
            step = 50 if index in (1433, 1633) else 1
            cells = ",".join(f"Сигналы!{letter}{FIRST_ROW + index + step * p}" for p in range(3))
            totals.cell(row=2 + k, column=i, value=f"=SUM({cells})").number_format = "0.000"
    workbook.save(path)


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else "ExportTemplate.xlsx")
