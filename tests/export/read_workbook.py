#!/usr/bin/python3
"""Prints a workbook as openpyxl reads it, as one JSON object:
{"parts": [zip part names], "overrides": [content-type part names], "workbookRels": [relationship types],
 "fullCalcOnLoad": bool,
 "sheets": [{"title": ..., "cells": {"B3": {"value": ..., "type": ..., "style": [...]}}}]}
Usage: read_workbook.py workbook.xlsx
"""
import json
import sys
import xml.etree.ElementTree as ET
import zipfile

from openpyxl import load_workbook


def style(cell):
    font, fill, border = cell.font, cell.fill, cell.border
    return [cell.number_format, bool(font.b), bool(font.i), font.sz and float(font.sz), fill.fill_type,
            fill.fgColor.rgb if fill.fgColor is not None else None, cell.alignment.horizontal,
            border.left.style, cell.protection.locked]


def value(cell):
    v = cell.value
    if isinstance(v, (int, float, str, bool)) or v is None:
        return v
    return str(v)


def main(path):
    with zipfile.ZipFile(path) as package:
        parts = package.namelist()
        types = ET.fromstring(package.read("[Content_Types].xml"))
        overrides = [e.get("PartName") for e in types if e.tag.endswith("}Override")]
        rels = ET.fromstring(package.read("xl/_rels/workbook.xml.rels"))
        relationships = [e.get("Type").rsplit("/", 1)[-1] for e in rels]
    workbook = load_workbook(path, keep_vba=path.endswith(".xlsm"))
    calc = workbook.calculation
    sheets = []
    for sheet in workbook.worksheets:
        cells = {}
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None and not cell.has_style:
                    continue
                cells[cell.coordinate] = {"value": value(cell), "type": cell.data_type, "style": style(cell)}
        sheets.append({"title": sheet.title, "cells": cells})
    print(json.dumps({"parts": parts, "overrides": overrides, "workbookRels": relationships, "fullCalcOnLoad": bool(calc is not None and calc.fullCalcOnLoad),
                      "sheets": sheets}, ensure_ascii=False))


if __name__ == "__main__":
    main(sys.argv[1])
