"""The SignalTalvo library from Python, through ctypes.

The records are the packed little-endian records of SignalTalvo.h; every
function returns the library's result code (0 on success) as the C functions
do, and error_text() renders a code as text.

    import signaltalvo
    lib = signaltalvo.SignalTalvo()          # the installed library
    params = signaltalvo.TOutSignalParams()
    ...
    code, full = lib.set_signal(2, params)   # port COM2
    if code:
        print(lib.error_text(code))

The library file is, in this order: the path given to SignalTalvo(), the
file named by $SIGNALTALVO_LIBRARY, libSignalTalvo.so beside this module, in
the library folder of the prefix this module is installed under, and
wherever the dynamic loader finds it.
"""

import ctypes
import os
import sysconfig
from pathlib import Path

__all__ = [
    "HARMONICS", "PAIRS", "LIBRARY_FILE", "SignalTalvo", "THarmonicParams", "TPhaseSignalParams",
    "TFazaDeviationParams", "TCollapsesOvervoltagesParams", "TOutSignalParams", "TVoltageFullParams",
    "TCurrentFullParams", "TPowerFullParams", "TFullSignalParams", "RECORDS", "find_library",
]

HARMONICS = 39  # orders 2 to 40; harmonic n is at index n - 2
PAIRS = 9       # harmonic angle pairs of TFullSignalParams.HarmonicAngles
LIBRARY_FILE = "libSignalTalvo.so"

_f = ctypes.c_float
_u8 = ctypes.c_uint8


class _Record(ctypes.Structure):
    """A packed record: no padding but the fields named Padding."""
    _pack_ = 1
    _layout_ = "ms"  # the packing is that of the C header on every platform


class THarmonicParams(_Record):
    _fields_ = [("Koef", _f), ("Angle", _f)]


class TPhaseSignalParams(_Record):
    _fields_ = [
        ("KalibrationKoef", _f), ("MainOn", _u8), ("Padding", _u8 * 3), ("Amplitude", _f), ("Angle", _f),
        ("Harmonics", THarmonicParams * HARMONICS),
    ]


class TFazaDeviationParams(_Record):
    _fields_ = [("IsCollapse", _u8), ("Padding", _u8 * 3), ("Value", _f)]


class TCollapsesOvervoltagesParams(_Record):
    _fields_ = [
        ("Count", ctypes.c_int16), ("Padding1", _u8 * 2), ("Duration", _f), ("Period", _f), ("StartAngle", _f),
        ("Synchronize", _u8), ("Padding2", _u8 * 3), ("Fazes", TFazaDeviationParams * 3),
    ]


class TOutSignalParams(_Record):
    _fields_ = [
        ("VoltageOn", _u8), ("VoltageRange", _u8), ("Padding1", _u8 * 2), ("Voltage", TPhaseSignalParams * 3),
        ("CurrentOn", _u8), ("CurrentRange", _u8), ("Padding2", _u8 * 2), ("Current", TPhaseSignalParams * 3),
        ("FrequencyKoef", _f), ("Frequency", _f),
        # None when the signal has no dips and swells; the record it points
        # to must live as long as the call (keep a reference to it).
        ("Collapses", ctypes.POINTER(TCollapsesOvervoltagesParams)),
    ]


class TVoltageFullParams(_Record):
    _fields_ = [
        ("Rms1", _f), ("Deviation", _f), ("Angle", _f), ("AngleDifference", _f), ("Rms", _f),
        ("HarmonicsKoef", _f), ("Harmonics", THarmonicParams * HARMONICS),
    ]


class TCurrentFullParams(_Record):
    _fields_ = [
        ("Rms1", _f), ("Deviation", _f), ("Angle", _f), ("Rms", _f), ("HarmonicsKoef", _f),
        ("Harmonics", THarmonicParams * HARMONICS),
    ]


class TPowerFullParams(_Record):
    _fields_ = [
        ("CosFi1", _f), ("P1", _f), ("Pn", _f * HARMONICS), ("P", _f), ("P2", _f),
        ("Q1", _f), ("Qn", _f * HARMONICS), ("Q", _f), ("N", _f),
        ("S1", _f), ("Sn", _f * HARMONICS), ("SumS", _f), ("S", _f),
    ]


class TFullSignalParams(_Record):
    _fields_ = [
        ("FrequencyKoef", _f), ("Frequency", _f), ("FrequencyDeviation", _f),
        ("VoltageRange", _u8), ("Padding1", _u8 * 3), ("Voltage", TVoltageFullParams * 6),
        ("U0", _f), ("U0Angle", _f), ("U1", _f), ("U1Deviation", _f), ("U2", _f), ("U2Angle", _f),
        ("K0U", _f), ("K2U", _f), ("VoltageKoefs", _f * 3),
        ("CurrentRange", _u8), ("Padding2", _u8 * 3), ("Current", TCurrentFullParams * 3),
        ("I0", _f), ("I0Angle", _f), ("I1", _f), ("I1Angle", _f), ("I2", _f), ("I2Angle", _f),
        ("CurrentKoefs", _f * 3), ("HarmonicAngles", (_f * HARMONICS) * PAIRS),
        ("Power", TPowerFullParams * 3),
        ("TotalP1", _f), ("TotalP", _f), ("TotalP2", _f), ("TotalQ1", _f), ("TotalQ", _f), ("TotalN", _f),
        ("TotalS1", _f), ("TotalSumS", _f), ("TotalS", _f), ("TotalEnergy", _f),
        ("CollapsesOn", _u8), ("Padding3", _u8 * 3), ("Collapses", TCollapsesOvervoltagesParams),
    ]


RECORDS = (THarmonicParams, TPhaseSignalParams, TFazaDeviationParams, TCollapsesOvervoltagesParams,
           TOutSignalParams, TVoltageFullParams, TCurrentFullParams, TPowerFullParams, TFullSignalParams)


def _candidates():
    here = Path(__file__).resolve().parent
    yield here / LIBRARY_FILE
    # <prefix>/lib/python3/dist-packages/signaltalvo.py: the prefix is three folders up.
    prefix = here.parents[2] if len(here.parents) > 2 else None
    if prefix is not None:
        multiarch = sysconfig.get_config_var("MULTIARCH")
        for folder in ("lib", "lib/" + multiarch if multiarch else None, "lib64"):
            if folder:
                yield prefix / folder / LIBRARY_FILE


def find_library():
    """The path of the library file this module loads by default."""
    named = os.environ.get("SIGNALTALVO_LIBRARY")
    if named:
        return named
    for candidate in _candidates():
        if candidate.is_file():
            return str(candidate)
    return LIBRARY_FILE  # left to the dynamic loader's search


class SignalTalvo:
    """The eight functions of one loaded library."""

    def __init__(self, path=None):
        self.path = path or find_library()
        lib = ctypes.CDLL(self.path)
        self._lib = lib
        i16, u16 = ctypes.c_int16, ctypes.c_uint16
        full = ctypes.POINTER(TFullSignalParams)
        self._bind("CheckPort", i16, [u16])
        self._bind("CheckSignalData", i16, [TOutSignalParams])
        self._bind("SetSignal", i16, [u16, TOutSignalParams, full])
        self._bind("GetOutSignalData", i16, [TOutSignalParams, full])
        self._bind("StopSignal", i16, [u16])
        self._bind("StopCollapsesOvervoltages", i16, [u16])
        self._bind("GetErrorText", ctypes.c_uint8, [i16, ctypes.c_char_p])
        self._bind("GetDllVersion", None, [ctypes.POINTER(u16), ctypes.POINTER(u16)])

    def _bind(self, name, restype, argtypes):
        function = getattr(self._lib, name)
        function.restype = restype
        function.argtypes = argtypes

    def version(self):
        """(major, minor) of the library."""
        major, minor = ctypes.c_uint16(), ctypes.c_uint16()
        self._lib.GetDllVersion(ctypes.byref(major), ctypes.byref(minor))
        return major.value, minor.value

    def check_port(self, port):
        return self._lib.CheckPort(port)

    def check_signal_data(self, params):
        return self._lib.CheckSignalData(params)

    def set_signal(self, port, params):
        """(code, TFullSignalParams of the signal set)."""
        full = TFullSignalParams()
        return self._lib.SetSignal(port, params, ctypes.byref(full)), full

    def get_out_signal_data(self, params):
        """(code, TFullSignalParams of the signal)."""
        full = TFullSignalParams()
        return self._lib.GetOutSignalData(params, ctypes.byref(full)), full

    def stop_signal(self, port):
        return self._lib.StopSignal(port)

    def stop_collapses_overvoltages(self, port):
        return self._lib.StopCollapsesOvervoltages(port)

    def error_text(self, code):
        """The library's text of a result code (decoded from Windows-1251)."""
        buffer = ctypes.create_string_buffer(88)
        self._lib.GetErrorText(code, buffer)
        return buffer.value.decode("cp1251")
