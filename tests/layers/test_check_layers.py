"""The layer check finds includes against the layer order in a small tree of its own."""
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]
CHECK = SOURCE / "scripts" / "check-layers"


class LayerCheckTest(unittest.TestCase):
    def setUp(self):
        self.root = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.root)
        shutil.copy(SOURCE / "ARCHITECTURE.md", self.root)
        for header in ("Lib/CommonUtils/Format.h", "Main/signal/Records.h", "Main/link/ComPort.h",
                       "Main/export/ExportColumn.h", "Main/ui/common/Painter.h", "SignalLib/SignalTalvo.h",
                       "SignalLib/Loader.h", "tests/files/TempFolder.h"):
            self.write(header, "#pragma once\n")

    def write(self, rel, text):
        path = self.root / rel
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text, encoding="utf-8")

    def check(self):
        run = subprocess.run([sys.executable, str(CHECK), "--root", str(self.root)],
                             capture_output=True, text=True)
        return run.returncode, run.stdout.splitlines()

    def test_includes_along_the_order_pass(self):
        self.write("Main/link/ComPort.cpp",
                   '#include "link/ComPort.h"\n#include "signal/Records.h"\n#include "CommonUtils/Format.h"\n'
                   '#include "SignalLib/SignalTalvo.h"\n#include <vector>\n#include "TalvoVersion.h"\n')
        self.write("Main/ui/common/Painter.cpp", '#include "Painter.h"\n#include <QPainter>\n#include "link/ComPort.h"\n')
        self.write("SignalLib/Loader.cpp", '#include "SignalLib/Loader.h"\n#include "SignalTalvo.h"\n')
        self.write("tests/link/PortTest.cpp", '#include "../files/TempFolder.h"\n#include "link/ComPort.h"\n')
        self.assertEqual(self.check(), (0, []))

    def test_every_planted_violation_is_reported(self):
        self.write("Main/signal/Grid.cpp", '#include "signal/Records.h"\n#include "link/ComPort.h"\n')
        self.write("Main/signal/Near.cpp", '#include "../export/ExportColumn.h"\n')
        self.write("Main/link/Binding.cpp", '#include "SignalLib/Loader.h"\n')
        self.write("Main/Main.cpp", '#include "signal/Records.h"\n')
        self.write("Main/files/Dialog.cpp", '#include <QtWidgets/QDialog>\n')
        self.write("tests/signal/Shot.cpp", '#include <QWidget>\n')
        self.write("Main/editor2/Rules.cpp", '#include "signal/Records.h"\n')
        code, lines = self.check()
        self.assertEqual(code, 1)
        self.assertEqual(lines, [
            "Main/Main.cpp:1: Main/Main.cpp may not include signal/Records.h (Main/signal)",
            "Main/editor2/Rules.cpp: its folder is not in the layer table",
            "Main/files/Dialog.cpp:1: Qt header <QtWidgets/QDialog> outside the window layer",
            "Main/link/Binding.cpp:1: Main/link may not include SignalLib/Loader.h (SignalLib)",
            "Main/signal/Grid.cpp:2: Main/signal may not include link/ComPort.h (Main/link)",
            "Main/signal/Near.cpp:1: Main/signal may not include ../export/ExportColumn.h (Main/export)",
            "tests/signal/Shot.cpp:1: Qt header <QWidget> outside the window layer",
        ])


if __name__ == "__main__":
    unittest.main()
