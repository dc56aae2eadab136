#!/usr/bin/env python3
"""Sets a three-phase 220 V / 5 A, 50 Hz signal on the calibrator through the
SignalTalvo library and stops it again, as SetSignalExample.c does.

    set_signal_example.py <port number> [<library file>]

Without a library file the module's own lookup finds it (see signaltalvo.py).
"""
import sys

import signaltalvo


def signal_220v_5a():
    p = signaltalvo.TOutSignalParams()  # zero-filled
    p.VoltageOn, p.VoltageRange = 1, 2  # 220 V
    p.CurrentOn, p.CurrentRange = 1, 4  # 5 A
    p.Frequency = 50
    for phase, angle in enumerate((0, -120, 120)):
        voltage, current = p.Voltage[phase], p.Current[phase]
        voltage.MainOn, voltage.Amplitude, voltage.Angle = 1, 220, angle
        current.MainOn, current.Amplitude, current.Angle = 1, 5, 0  # in phase with the voltage
    return p


def main(argv):
    if len(argv) not in (2, 3):
        print("usage: set_signal_example.py <port number> [<library file>]", file=sys.stderr)
        return 2
    port = int(argv[1])
    lib = signaltalvo.SignalTalvo(argv[2] if len(argv) == 3 else None)

    def check(what, code):
        if code == 0:
            print(f"{what}: ok")
            return True
        print(f"{what}: error {code}: {lib.error_text(code)}")
        return False

    print("SignalTalvo %d.%d" % lib.version())
    params = signal_220v_5a()
    if not (check("CheckPort", lib.check_port(port)) and check("CheckSignalData", lib.check_signal_data(params))):
        return 1
    code, full = lib.set_signal(port, params)
    if not check("SetSignal", code):
        return 1
    print(f"generated frequency {full.Frequency:.5f} Hz, phase A: {full.Voltage[0].Rms:.3f} V, "
          f"{full.Current[0].Rms:.3f} A, P = {full.Power[0].P:.1f} W")
    return 0 if check("StopSignal", lib.stop_signal(port)) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
