#!/usr/bin/env python3
"""The wiring sheets of make_sheet's known configurations, read back with a real HTML parser.
Usage: sheet_test.py PATH_TO_make_sheet"""

import subprocess
import sys
import tempfile
import unittest
from html.parser import HTMLParser
from pathlib import Path

VOID = {"br", "meta", "link", "img", "hr", "col", "wbr", "input", "source", "embed", "base"}
FETCHING = {"script", "link", "img", "iframe", "object", "embed", "source", "base", "frame"}
DASH = "\u2014"


class Sheet(HTMLParser):
    """Tables by id as rows of (tag, text) cells, list items, the title and the style, and
    every fault of nesting or self-containment."""

    def __init__(self, path):
        super().__init__()
        self.tables, self.items, self.faults, self.open = {}, [], [], []
        self.texts = {"title": "", "style": ""}
        self.cell = self.item = None
        self.feed(path.read_text(encoding="utf-8"))
        self.close()
        if self.open:
            self.faults.append(f"left open: {self.open}")

    def handle_starttag(self, tag, attrs):
        if tag in FETCHING:
            self.faults.append(f"<{tag}>")
        self.faults += [f"{k}= on <{tag}>" for k, _ in attrs
                        if k in ("src", "href", "srcset", "action") or k.startswith("on")]
        if tag not in VOID:
            self.open.append(tag)
        if tag == "table":
            self.rows = self.tables.setdefault(dict(attrs).get("id"), [])
        elif tag == "tr":
            self.rows.append([])
        elif tag in ("th", "td"):
            self.cell = [tag, []]
            self.rows[-1].append(self.cell)
        elif tag == "li":
            self.item = []
            self.items.append(self.item)

    def handle_endtag(self, tag):
        if not self.open or self.open.pop() != tag:
            self.faults.append(f"</{tag}> out of place")
        if tag in ("th", "td"):
            self.cell = None
        elif tag == "li":
            self.item = None

    def handle_data(self, data):
        if self.open and self.open[-1] in self.texts:
            self.texts[self.open[-1]] += data
        for target in (self.cell and self.cell[1], self.item):
            if target is not None:
                target.append(data)


def text(chunks):
    return " ".join(" ".join(chunks).split())


def records(rows):
    """A banded table's cells as records, each begun by a <th>."""
    out = []
    for tag, chunks in (cell for row in rows for cell in row):
        if tag == "th":
            out.append([])
        out[-1].append(text(chunks))
    return out


PINS = dict(zip("ABCDEFGHIJKLMNOPQRSTUVWX", [
    "Col 2", "Col 3", "Col 1", "Row 3", "Input 1", "Input 2", "Input 3", "Col 4", "Input 4",
    "Input 5", "Input 6", "Input 7", "Row 2", "Input 8", "Input 9", "Input 10", "Input 11",
    "Input 12", "Input 13", "Input 14", "Input 15", "Input 16", "Input 17", "Row 1"]))


class SheetTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run([sys.argv[1], folder], check=True)
            cls.raw = (Path(folder) / "panel.html").read_text(encoding="utf-8")
            cls.panel = Sheet(Path(folder) / "panel.html")
            cls.doubled = Sheet(Path(folder) / "doubled.html")

    def test_self_contained_well_formed_and_escaped(self):
        for sheet in (self.panel, self.doubled):
            self.assertEqual(sheet.faults, [])
            self.assertIn("@page", sheet.texts["style"])
            self.assertNotIn("url(", sheet.texts["style"])
            self.assertNotIn("@import", sheet.texts["style"])
        self.assertTrue(self.raw.startswith("<!DOCTYPE html>"))
        self.assertNotIn("<A&B>", self.raw)
        self.assertEqual(self.panel.texts["title"], 'ZQ70 wiring sheet: panel <A&B> "1".zq7')

    def test_every_pin_with_its_wiring(self):
        self.assertEqual(dict(records(self.panel.tables["pins"])), PINS)
        doubled = dict(records(self.doubled.tables["pins"]))
        self.assertEqual((doubled["E"], doubled["W"]), ("Input 1, Input 17", "unused"))

    def test_every_cell_under_its_row_and_column(self):
        rows = [[text(chunks) for _, chunks in row] for row in self.panel.tables["grid"]]
        self.assertEqual(rows, [
            ["", "Col 1 pin C", "Col 2 pin A", "Col 3 pin B", "Col 4 pin H"],
            ["Row 1 pin X", "A", ", <", ". >", "' \""],
            ["Row 2 pin M", "7 &", "Macro 1", DASH, "\\ |"],
            ["Row 3 pin D", "Prt Scn", "Ent (N)", "Key 14", "Code 128"]])

    def test_inputs_macros_and_options(self):
        inputs = {r[0]: r[1:] for r in records(self.panel.tables["inputs"])}
        self.assertEqual(len(inputs), 17)
        self.assertEqual(inputs["Input 1"], ["pin E", "Esc"])
        self.assertEqual(inputs["Input 2"], ["pin F", "Macro 1"])
        self.assertEqual(inputs["Input 17"], ["pin W", DASH])
        self.assertEqual([text(item) for item in self.panel.items], [
            "Macro 1 make: press L Sft, press 7 &, release 7 &, release L Sft; "
            "break: wait 100 ms"])
        options = dict(records(self.panel.tables["options"]))
        self.assertEqual(len(options), 10)
        self.assertEqual((options["Baud Rate Setting"], options["Computer Type"]), ("19200", "XT"))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
