#!/usr/bin/python3
"""Writes the workbook variants the export tests run on into a folder.

Usage: make_fixtures.py example.xlsx out_folder
  styled.xlsx    the example with content in the export column B (a styled number, a formula,
                 a text, a value below the written rows), a styled column J, a calculation
                 chain and no calculation properties
  handmade.xlsx  parts written by hand: a chart sheet listed first, the first worksheet stored
                 as sheet2.xml, prefixed element names, rows and cells without references,
                 a shared formula over D5:E6 (master D5) and an array formula over G10:H11
  nosheet.xlsx   handmade.xlsx with every worksheet relationship turned into a dialog sheet
  damaged.xlsx   the first half of the example
  old.xls        the signature of a compound file, as .xls workbooks start
"""
import os
import re
import sys
import zipfile

from openpyxl import load_workbook
from openpyxl.styles import Font, PatternFill

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"


def rewrite(source, target, change):
    """Copies a package, passing every part through change(name, bytes) -> bytes or None (drop)."""
    with zipfile.ZipFile(source) as old, zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as new:
        for item in old.infolist():
            data = change(item.filename, old.read(item.filename))
            if data is not None:
                new.writestr(item.filename, data)
        extra = change(None, None)
        for name, data in (extra or {}).items():
            new.writestr(name, data)


def styled(example, folder):
    workbook = load_workbook(example)
    sheet = workbook["Сигналы"]
    sheet["B10"] = 1.5
    sheet["B10"].font = Font(bold=True, color="FF0000")
    sheet["B10"].number_format = "0.000"
    sheet["B20"] = "=A1&\"!\""
    sheet["B30"] = "текст"
    sheet["B31"].fill = PatternFill("solid", fgColor="FFFF00")
    sheet["B3080"] = 42
    sheet["C3"] = "соседняя ячейка"
    for row in range(3, 3076, 500):
        sheet.cell(row=row, column=10).number_format = "0.0000"
    sheet.column_dimensions["J"].number_format = "0.00"
    temporary = os.path.join(folder, "styled-step.xlsx")
    workbook.save(temporary)

    def change(name, data):
        if name is None:
            return {"xl/calcChain.xml": f'<calcChain xmlns="{MAIN}"><c r="C1414" i="1"/></calcChain>'}
        if name == "xl/workbook.xml":
            return re.sub(rb"<calcPr[^>]*/>", b"", data)
        if name == "xl/_rels/workbook.xml.rels":
            return data.replace(b"</Relationships>", (
                f'<Relationship Id="rId99" Type="{REL}/calcChain" Target="calcChain.xml"/></Relationships>').encode())
        if name == "[Content_Types].xml":
            return data.replace(b"</Types>", b'<Override PartName="/xl/calcChain.xml" ContentType="application/'
                                b'vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml"/></Types>')
        return data

    rewrite(temporary, os.path.join(folder, "styled.xlsx"), change)
    os.remove(temporary)


def handmade(folder):
    parts = {
        "[Content_Types].xml": (
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
            '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
            '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
            '<Default Extension="xml" ContentType="application/xml"/>'
            '<Override PartName="/xl/workbook.xml" ContentType="application/'
            'vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
            '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/'
            'vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
            '<Override PartName="/xl/worksheets/sheet2.xml" ContentType="application/'
            'vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
            '<Override PartName="/xl/styles.xml" ContentType="application/'
            'vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/></Types>'),
        "_rels/.rels": (
            f'<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="{PKG}">'
            f'<Relationship Id="rId1" Type="{REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>'),
        "xl/workbook.xml": (
            f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\r\n<x:workbook xmlns:x="{MAIN}" '
            f'xmlns:rel="{REL}"><x:bookViews><x:workbookView/></x:bookViews><x:sheets>'
            '<x:sheet name="Диаграмма" sheetId="3" rel:id="rId3"/>'
            '<x:sheet name="Данные" sheetId="1" rel:id="rId2"/>'
            '<x:sheet name="Второй" sheetId="2" rel:id="rId1"/></x:sheets>'
            '<x:calcPr calcId="191029" fullCalcOnLoad="0"/></x:workbook>'),
        "xl/_rels/workbook.xml.rels": (
            f'<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="{PKG}">'
            f'<Relationship Id="rId1" Type="{REL}/worksheet" Target="worksheets/sheet1.xml"/>'
            f'<Relationship Id="rId2" Type="{REL}/worksheet" Target="./worksheets/../worksheets/sheet2.xml"/>'
            f'<Relationship Id="rId3" Type="{REL}/chartsheet" Target="chartsheets/sheet1.xml"/>'
            f'<Relationship Id="rId4" Type="{REL}/styles" Target="styles.xml"/></Relationships>'),
        "xl/styles.xml": (
            f'<?xml version="1.0" encoding="UTF-8"?><styleSheet xmlns="{MAIN}">'
            '<numFmts count="1"><numFmt numFmtId="164" formatCode="0.000"/></numFmts>'
            '<fonts count="2"><font><sz val="11"/><name val="Calibri"/></font>'
            '<font><b/><sz val="11"/><name val="Calibri"/></font></fonts>'
            '<fills count="2"><fill><patternFill patternType="none"/></fill>'
            '<fill><patternFill patternType="gray125"/></fill></fills>'
            '<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>'
            '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
            '<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
            '<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/>'
            '<xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs>'
            '</styleSheet>'),
        "xl/worksheets/sheet1.xml": (
            f'<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="{MAIN}"><sheetData>'
            '<row r="3"><c r="B3"><v>7</v></c></row></sheetData></worksheet>'),
        "xl/worksheets/sheet2.xml": (
            f'<?xml version="1.0" encoding="UTF-8"?>\n<x:worksheet xmlns:x="{MAIN}">'
            '<x:dimension ref="A1:H11"/><x:cols><x:col min="2" max="2" width="12" style="2"/></x:cols>'
            '<x:sheetData>'
            '<x:row><x:c t="inlineStr"><x:is><x:t>Заголовок</x:t></x:is></x:c></x:row>'
            '<x:row><x:c r="A2" t="inlineStr"><x:is><x:t xml:space="preserve">  с пробелами  </x:t></x:is></x:c>'
            '<x:c s="1"><x:v>2</x:v></x:c></x:row>'
            '<x:row r="5" spans="1:5"><x:c r="A5"><x:v>1</x:v></x:c><x:c r="D5"><x:f t="shared" ref="D5:E6" '
            'si="0">A5*2</x:f><x:v>2</x:v></x:c><x:c r="E5"><x:f t="shared" si="0"/><x:v>0</x:v></x:c></x:row>'
            '<x:row r="6" customFormat="1" s="1"><x:c r="A6"><x:v>3</x:v></x:c>'
            '<x:c r="D6"><x:f t="shared" si="0"/><x:v>6</x:v></x:c><x:c r="E6"><x:f t="shared" si="0"/>'
            '<x:v>0</x:v></x:c></x:row>'
            '<x:row r="10"><x:c r="G10"><x:f t="array" ref="G10:H11">A5:B6*1</x:f><x:v>1</x:v></x:c>'
            '<x:c r="H10"><x:v>2</x:v></x:c></x:row>'
            '<x:row r="11"><x:c r="G11"><x:v>3</x:v></x:c><x:c r="H11"><x:v>0</x:v></x:c></x:row>'
            '</x:sheetData></x:worksheet>'),
        "xl/chartsheets/sheet1.xml": f'<chartsheet xmlns="{MAIN}"><sheetViews><sheetView workbookViewId="0"/>'
                                      '</sheetViews></chartsheet>',
        "xl/chartsheets/_rels/sheet1.xml.rels": f'<Relationships xmlns="{PKG}"/>',
    }
    with zipfile.ZipFile(os.path.join(folder, "handmade.xlsx"), "w", zipfile.ZIP_DEFLATED) as package:
        for name, text in parts.items():
            package.writestr(name, text.encode("utf-8"))


def main(example, folder):
    styled(example, folder)
    handmade(folder)
    rewrite(os.path.join(folder, "handmade.xlsx"), os.path.join(folder, "nosheet.xlsx"),
            lambda name, data: data.replace(b"/worksheet\"", b"/dialogsheet\"") if name else None)
    with open(example, "rb") as source:
        data = source.read()
    with open(os.path.join(folder, "damaged.xlsx"), "wb") as target:
        target.write(data[: len(data) // 2])
    with open(os.path.join(folder, "old.xls"), "wb") as target:
        target.write(bytes.fromhex("D0CF11E0A1B11AE1") + bytes(504))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
