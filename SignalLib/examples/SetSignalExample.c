/* Sets a three-phase 220 V / 5 A, 50 Hz signal on the calibrator through
 * the SignalTalvo library and stops it again.
 *
 *   signaltalvo_example <library file> <port number>
 *
 * Only SignalTalvo.h is needed; the library is bound at run time. */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "SignalTalvo.h"

static TGetErrorTextFunc getErrorText;

/* Reports a failed call with the library's text (Windows-1251). */
static int Check(const char *what, int16_t code) {
    char text[88];
    if (code == 0) {
        printf("%s: ok\n", what);
        return 1;
    }
    if (!getErrorText(code, text)) strcpy(text, "?");
    printf("%s: error %d: %s\n", what, code, text);
    return 0;
}

static void *Bind(void *library, const char *name) {
    void *function = dlsym(library, name);
    if (function == NULL) fprintf(stderr, "missing export %s\n", name);
    return function;
}

static TOutSignalParams Signal220V5A(void) {
    static const float angles[3] = {0, -120, 120};
    TOutSignalParams p;
    int phase;
    memset(&p, 0, sizeof p);
    p.VoltageOn = 1;
    p.VoltageRange = 2; /* 220 V */
    p.CurrentOn = 1;
    p.CurrentRange = 4; /* 5 A */
    p.Frequency = 50;
    for (phase = 0; phase < 3; ++phase) {
        p.Voltage[phase].MainOn = 1;
        p.Voltage[phase].Amplitude = 220;
        p.Voltage[phase].Angle = angles[phase];
        p.Current[phase].MainOn = 1;
        p.Current[phase].Amplitude = 5;
        p.Current[phase].Angle = 0; /* in phase with the voltage */
    }
    return p;
}

int main(int argc, char **argv) {
    void *library;
    TGetDllVersionFunc getDllVersion;
    TCheckPortFunc checkPort;
    TCheckSignalDataFunc checkSignalData;
    TSetSignalFunc setSignal;
    TStopSignalFunc stopSignal;
    TOutSignalParams params;
    TFullSignalParams full;
    uint16_t major = 0, minor = 0, port;
    int ok;

    if (argc != 3) {
        fprintf(stderr, "usage: signaltalvo_example <library file> <port number>\n");
        return 2;
    }
    port = (uint16_t)atoi(argv[2]);
    library = dlopen(argv[1], RTLD_NOW);
    if (library == NULL) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    getDllVersion = (TGetDllVersionFunc)Bind(library, "GetDllVersion");
    checkPort = (TCheckPortFunc)Bind(library, "CheckPort");
    checkSignalData = (TCheckSignalDataFunc)Bind(library, "CheckSignalData");
    setSignal = (TSetSignalFunc)Bind(library, "SetSignal");
    stopSignal = (TStopSignalFunc)Bind(library, "StopSignal");
    getErrorText = (TGetErrorTextFunc)Bind(library, "GetErrorText");
    if (!getDllVersion || !checkPort || !checkSignalData || !setSignal || !stopSignal || !getErrorText) return 1;

    getDllVersion(&major, &minor);
    printf("SignalTalvo %u.%u\n", major, minor);

    params = Signal220V5A();
    ok = Check("CheckPort", checkPort(port)) && Check("CheckSignalData", checkSignalData(params)) &&
         Check("SetSignal", setSignal(port, params, &full));
    if (ok) {
        printf("generated frequency %.5f Hz, phase A: %.3f V, %.3f A, P = %.1f W\n", full.Frequency,
               full.Voltage[0].Rms, full.Current[0].Rms, full.Power[0].P);
        ok = Check("StopSignal", stopSignal(port));
    }
    dlclose(library);
    return ok ? 0 : 1;
}
