/*
 * SignalTalvo: validation of a test signal for the "Калибратор Talvo", its
 * full derived parameters, and control of the calibrator over a serial port.
 *
 * Every record is packed little-endian with the offsets asserted below.
 * Records go by value; a function whose result is a code returns 0 on
 * success and one of the library's error codes otherwise (GetErrorText
 * renders any of them). The library keeps nothing between calls and may be
 * called from any thread.
 */
#ifndef SIGNALTALVO_H
#define SIGNALTALVO_H

#include <stddef.h>
#include <stdint.h>

#if defined(__i386__)
#define STALVO_CALL __attribute__((stdcall))
#else
#define STALVO_CALL
#endif

#if defined(__GNUC__)
#define STALVO_API __attribute__((visibility("default")))
#else
#define STALVO_API
#endif

#ifdef __cplusplus
#define STALVO_ASSERT(cond, text) static_assert(cond, text)
extern "C" {
#else
#define STALVO_ASSERT(cond, text) _Static_assert(cond, text)
#endif

#pragma pack(push, 1)

/* One harmonic: coefficient in percent of the fundamental, angle in degrees. */
typedef struct THarmonicParams {
    float Koef;
    float Angle;
} THarmonicParams;

/* Number of harmonics above the fundamental (orders 2 to 40); harmonic n is
 * at index n - 2 of every harmonic array. */
#define STALVO_HARMONICS 39

/* One phase of voltage or current. Voltage angles: the fundamental's absolute
 * angle (phase A's must be 0) and each harmonic's own shift. Current angles:
 * the shift behind the voltage harmonic of the same order and phase. */
typedef struct TPhaseSignalParams {
    float KalibrationKoef; /* percent, -100 to 100 */
    uint8_t MainOn;        /* 0: the fundamental is left out, harmonics stay */
    uint8_t Padding[3];
    float Amplitude; /* RMS of the fundamental, V or A */
    float Angle;     /* degrees */
    THarmonicParams Harmonics[STALVO_HARMONICS];
} TPhaseSignalParams;

/* Per phase of a dip or swell. */
typedef struct TFazaDeviationParams {
    uint8_t IsCollapse; /* 1: dip, 0: swell */
    uint8_t Padding[3];
    float Value; /* dip depth, percent of nominal (0..100), or swell coefficient (0..10) */
} TFazaDeviationParams;

typedef struct TCollapsesOvervoltagesParams {
    int16_t Count; /* 1 to 32767 */
    uint8_t Padding1[2];
    float Duration;      /* seconds, greater than 0, at most 600 */
    float Period;        /* repetition period, seconds, 0 to 600 */
    float StartAngle;    /* degrees */
    uint8_t Synchronize; /* round duration and period to whole half-periods */
    uint8_t Padding2[3];
    TFazaDeviationParams Fazes[3];
} TCollapsesOvervoltagesParams;

/* Voltage range identifiers: 1 = 57.735027 V, 2 = 220 V phase voltage.
 * Current range identifiers: 3 = 1 A, 4 = 5 A. */
typedef struct TOutSignalParams {
    uint8_t VoltageOn;
    uint8_t VoltageRange;
    uint8_t Padding1[2];
    TPhaseSignalParams Voltage[3];
    uint8_t CurrentOn;
    uint8_t CurrentRange;
    uint8_t Padding2[2];
    TPhaseSignalParams Current[3];
    float FrequencyKoef;                     /* percent, -100 to 100 */
    float Frequency;                         /* Hz, 45 to 64 */
    TCollapsesOvervoltagesParams *Collapses; /* 0 when the signal has no dips and swells */
} TOutSignalParams;

/* A phase (A, B, C) or line (AB, BC, CA) voltage. */
typedef struct TVoltageFullParams {
    float Rms1;            /* RMS of the fundamental, V */
    float Deviation;       /* from the nominal, percent */
    float Angle;           /* of the fundamental, degrees */
    float AngleDifference; /* to the next phase or line, degrees */
    float Rms;             /* total RMS, V */
    float HarmonicsKoef;   /* total harmonic coefficient, percent */
    THarmonicParams Harmonics[STALVO_HARMONICS];
} TVoltageFullParams;

typedef struct TCurrentFullParams {
    float Rms1;
    float Deviation;
    float Angle; /* shift behind the voltage, degrees */
    float Rms;
    float HarmonicsKoef;
    THarmonicParams Harmonics[STALVO_HARMONICS];
} TCurrentFullParams;

/* Powers of one phase; zero unless both voltage and current are on. */
typedef struct TPowerFullParams {
    float CosFi1;
    float P1;
    float Pn[STALVO_HARMONICS];
    float P;
    float P2; /* P again */
    float Q1;
    float Qn[STALVO_HARMONICS];
    float Q;
    float N; /* non-active power, sign of sin fi1 */
    float S1;
    float Sn[STALVO_HARMONICS];
    float SumS; /* S1 plus the harmonic apparent powers */
    float S;    /* U * I of the total RMS values */
} TPowerFullParams;

/* Order of the harmonic angle pairs of TFullSignalParams.HarmonicAngles. */
enum {
    STALVO_PAIR_UA_UB,
    STALVO_PAIR_UB_UC,
    STALVO_PAIR_UC_UA,
    STALVO_PAIR_UAB_UBC,
    STALVO_PAIR_UBC_UCA,
    STALVO_PAIR_UCA_UAB,
    STALVO_PAIR_IA_IB,
    STALVO_PAIR_IB_IC,
    STALVO_PAIR_IC_IA,
    STALVO_PAIRS
};

typedef struct TFullSignalParams {
    float FrequencyKoef;
    float Frequency;          /* actually generated, Hz */
    float FrequencyDeviation; /* generated - 50, Hz */
    uint8_t VoltageRange;
    uint8_t Padding1[3];
    TVoltageFullParams Voltage[6]; /* A, B, C, AB, BC, CA */
    float U0;
    float U0Angle;
    float U1;
    float U1Deviation;
    float U2;
    float U2Angle;
    float K0U; /* zero-sequence unbalance, percent */
    float K2U; /* negative-sequence unbalance, percent */
    float VoltageKoefs[3];
    uint8_t CurrentRange;
    uint8_t Padding2[3];
    TCurrentFullParams Current[3];
    float I0;
    float I0Angle;
    float I1;
    float I1Angle;
    float I2;
    float I2Angle;
    float CurrentKoefs[3];
    float HarmonicAngles[STALVO_PAIRS][STALVO_HARMONICS];
    TPowerFullParams Power[3];
    float TotalP1;
    float TotalP;
    float TotalP2;
    float TotalQ1;
    float TotalQ;
    float TotalN;
    float TotalS1;
    float TotalSumS;
    float TotalS;
    float TotalEnergy; /* TotalP / 3600: W*h per second */
    uint8_t CollapsesOn;
    uint8_t Padding3[3];
    TCollapsesOvervoltagesParams Collapses; /* as accepted; zero when CollapsesOn is 0 */
} TFullSignalParams;

#pragma pack(pop)

STALVO_API int16_t STALVO_CALL CheckPort(uint16_t port);
STALVO_API int16_t STALVO_CALL CheckSignalData(TOutSignalParams params);
STALVO_API int16_t STALVO_CALL SetSignal(uint16_t port, TOutSignalParams params, TFullSignalParams *full);
STALVO_API int16_t STALVO_CALL GetOutSignalData(TOutSignalParams params, TFullSignalParams *full);
STALVO_API int16_t STALVO_CALL StopSignal(uint16_t port);
STALVO_API int16_t STALVO_CALL StopCollapsesOvervoltages(uint16_t port);
/* Copies the Windows-1251 text of a code with a terminating zero; the buffer
 * must hold 88 bytes. Returns 0 when the buffer is 0, otherwise 1. */
STALVO_API uint8_t STALVO_CALL GetErrorText(int16_t code, char *buffer);
STALVO_API void STALVO_CALL GetDllVersion(uint16_t *major, uint16_t *minor);

/* Function types for callers that bind the library at run time. */
typedef int16_t(STALVO_CALL *TCheckPortFunc)(uint16_t);
typedef int16_t(STALVO_CALL *TCheckSignalDataFunc)(TOutSignalParams);
typedef int16_t(STALVO_CALL *TSetSignalFunc)(uint16_t, TOutSignalParams, TFullSignalParams *);
typedef int16_t(STALVO_CALL *TGetOutSignalDataFunc)(TOutSignalParams, TFullSignalParams *);
typedef int16_t(STALVO_CALL *TStopSignalFunc)(uint16_t);
typedef int16_t(STALVO_CALL *TStopCollapsesOvervoltagesFunc)(uint16_t);
typedef uint8_t(STALVO_CALL *TGetErrorTextFunc)(int16_t, char *);
typedef void(STALVO_CALL *TGetDllVersionFunc)(uint16_t *, uint16_t *);

/* ---- layout checks ---- */
#define STALVO_AT(rec, field, off) STALVO_ASSERT(offsetof(rec, field) == (off), #rec "." #field " offset")

STALVO_ASSERT(sizeof(THarmonicParams) == 8, "THarmonicParams size");
STALVO_ASSERT(sizeof(TPhaseSignalParams) == 328, "TPhaseSignalParams size");
STALVO_AT(TPhaseSignalParams, KalibrationKoef, 0);
STALVO_AT(TPhaseSignalParams, MainOn, 4);
STALVO_AT(TPhaseSignalParams, Amplitude, 8);
STALVO_AT(TPhaseSignalParams, Angle, 12);
STALVO_AT(TPhaseSignalParams, Harmonics, 16);

STALVO_ASSERT(sizeof(TFazaDeviationParams) == 8, "TFazaDeviationParams size");
STALVO_ASSERT(sizeof(TCollapsesOvervoltagesParams) == 44, "TCollapsesOvervoltagesParams size");
STALVO_AT(TCollapsesOvervoltagesParams, Count, 0);
STALVO_AT(TCollapsesOvervoltagesParams, Duration, 4);
STALVO_AT(TCollapsesOvervoltagesParams, Period, 8);
STALVO_AT(TCollapsesOvervoltagesParams, StartAngle, 12);
STALVO_AT(TCollapsesOvervoltagesParams, Synchronize, 16);
STALVO_AT(TCollapsesOvervoltagesParams, Fazes, 20);
STALVO_AT(TCollapsesOvervoltagesParams, Fazes[1].IsCollapse, 28);
STALVO_AT(TCollapsesOvervoltagesParams, Fazes[2].Value, 40);

/* The dips-and-swells address is a platform pointer: the record is 1988
 * bytes on 32-bit targets and 1992 on 64-bit ones, every offset the same. */
STALVO_ASSERT(sizeof(TOutSignalParams) == 1984 + sizeof(void *), "TOutSignalParams size");
STALVO_AT(TOutSignalParams, VoltageOn, 0);
STALVO_AT(TOutSignalParams, VoltageRange, 1);
STALVO_AT(TOutSignalParams, Voltage, 4);
STALVO_AT(TOutSignalParams, Voltage[1], 332);
STALVO_AT(TOutSignalParams, Voltage[2], 660);
STALVO_AT(TOutSignalParams, CurrentOn, 988);
STALVO_AT(TOutSignalParams, CurrentRange, 989);
STALVO_AT(TOutSignalParams, Current, 992);
STALVO_AT(TOutSignalParams, Current[1], 1320);
STALVO_AT(TOutSignalParams, Current[2], 1648);
STALVO_AT(TOutSignalParams, FrequencyKoef, 1976);
STALVO_AT(TOutSignalParams, Frequency, 1980);
STALVO_AT(TOutSignalParams, Collapses, 1984);

STALVO_ASSERT(sizeof(TVoltageFullParams) == 336, "TVoltageFullParams size");
STALVO_AT(TVoltageFullParams, Deviation, 4);
STALVO_AT(TVoltageFullParams, Angle, 8);
STALVO_AT(TVoltageFullParams, AngleDifference, 12);
STALVO_AT(TVoltageFullParams, Rms, 16);
STALVO_AT(TVoltageFullParams, HarmonicsKoef, 20);
STALVO_AT(TVoltageFullParams, Harmonics, 24);

STALVO_ASSERT(sizeof(TCurrentFullParams) == 332, "TCurrentFullParams size");
STALVO_AT(TCurrentFullParams, Deviation, 4);
STALVO_AT(TCurrentFullParams, Angle, 8);
STALVO_AT(TCurrentFullParams, Rms, 12);
STALVO_AT(TCurrentFullParams, HarmonicsKoef, 16);
STALVO_AT(TCurrentFullParams, Harmonics, 20);

STALVO_ASSERT(sizeof(TPowerFullParams) == 508, "TPowerFullParams size");
STALVO_AT(TPowerFullParams, P1, 4);
STALVO_AT(TPowerFullParams, Pn, 8);
STALVO_AT(TPowerFullParams, P, 164);
STALVO_AT(TPowerFullParams, P2, 168);
STALVO_AT(TPowerFullParams, Q1, 172);
STALVO_AT(TPowerFullParams, Qn, 176);
STALVO_AT(TPowerFullParams, Q, 332);
STALVO_AT(TPowerFullParams, N, 336);
STALVO_AT(TPowerFullParams, S1, 340);
STALVO_AT(TPowerFullParams, Sn, 344);
STALVO_AT(TPowerFullParams, SumS, 500);
STALVO_AT(TPowerFullParams, S, 504);

STALVO_ASSERT(sizeof(TFullSignalParams) == 6128, "TFullSignalParams size");
STALVO_AT(TFullSignalParams, Frequency, 4);
STALVO_AT(TFullSignalParams, FrequencyDeviation, 8);
STALVO_AT(TFullSignalParams, VoltageRange, 12);
STALVO_AT(TFullSignalParams, Voltage, 16);
STALVO_AT(TFullSignalParams, Voltage[3], 1024);
STALVO_AT(TFullSignalParams, Voltage[5], 1696);
STALVO_AT(TFullSignalParams, U0, 2032);
STALVO_AT(TFullSignalParams, U0Angle, 2036);
STALVO_AT(TFullSignalParams, U1, 2040);
STALVO_AT(TFullSignalParams, U1Deviation, 2044);
STALVO_AT(TFullSignalParams, U2, 2048);
STALVO_AT(TFullSignalParams, U2Angle, 2052);
STALVO_AT(TFullSignalParams, K0U, 2056);
STALVO_AT(TFullSignalParams, K2U, 2060);
STALVO_AT(TFullSignalParams, VoltageKoefs, 2064);
STALVO_AT(TFullSignalParams, CurrentRange, 2076);
STALVO_AT(TFullSignalParams, Current, 2080);
STALVO_AT(TFullSignalParams, Current[1], 2412);
STALVO_AT(TFullSignalParams, Current[2], 2744);
STALVO_AT(TFullSignalParams, I0, 3076);
STALVO_AT(TFullSignalParams, I0Angle, 3080);
STALVO_AT(TFullSignalParams, I1, 3084);
STALVO_AT(TFullSignalParams, I1Angle, 3088);
STALVO_AT(TFullSignalParams, I2, 3092);
STALVO_AT(TFullSignalParams, I2Angle, 3096);
STALVO_AT(TFullSignalParams, CurrentKoefs, 3100);
STALVO_AT(TFullSignalParams, HarmonicAngles, 3112);
STALVO_AT(TFullSignalParams, HarmonicAngles[STALVO_PAIR_UB_UC], 3268);
STALVO_AT(TFullSignalParams, HarmonicAngles[STALVO_PAIR_UAB_UBC], 3580);
STALVO_AT(TFullSignalParams, HarmonicAngles[STALVO_PAIR_IA_IB], 4048);
STALVO_AT(TFullSignalParams, HarmonicAngles[STALVO_PAIR_IC_IA], 4360);
STALVO_AT(TFullSignalParams, Power, 4516);
STALVO_AT(TFullSignalParams, Power[1], 5024);
STALVO_AT(TFullSignalParams, Power[2], 5532);
STALVO_AT(TFullSignalParams, TotalP1, 6040);
STALVO_AT(TFullSignalParams, TotalP, 6044);
STALVO_AT(TFullSignalParams, TotalP2, 6048);
STALVO_AT(TFullSignalParams, TotalQ1, 6052);
STALVO_AT(TFullSignalParams, TotalQ, 6056);
STALVO_AT(TFullSignalParams, TotalN, 6060);
STALVO_AT(TFullSignalParams, TotalS1, 6064);
STALVO_AT(TFullSignalParams, TotalSumS, 6068);
STALVO_AT(TFullSignalParams, TotalS, 6072);
STALVO_AT(TFullSignalParams, TotalEnergy, 6076);
STALVO_AT(TFullSignalParams, CollapsesOn, 6080);
STALVO_AT(TFullSignalParams, Collapses, 6084);

#undef STALVO_AT

#ifdef __cplusplus
}
#endif

#endif /* SIGNALTALVO_H */
