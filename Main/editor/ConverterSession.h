#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "signal/Converter.h"
#include "signal/SignalSet.h"

namespace da {
class TLCAThread;
class TModBusRTU;
}  // namespace da

// The converter link of a signal window without widgets: what the window
// knows about the converter, the operations that talk to it (each on a
// connection of its own that is released before it returns), and the texts
// the page shows and reports. The operations block for their transactions,
// so the window runs them away from its own thread; their messages go to a
// sink that shows each as it arises.
namespace edit {

enum class MessageIcon { Error, Warning, Information };

struct TConverterMessage {
    std::string Text;
    std::string Caption;
    MessageIcon Icon = MessageIcon::Error;
};

struct TConverterState {
    std::int32_t ModuleNumber = 0;
    std::uint8_t DeviceGainIndex = 0;      // 0: unknown
    std::uint8_t CalculatedGainIndex = 0;  // 0: none selected yet
    std::uint8_t ManualGainIndex = 1;
    // Read tells whether the three calibration tables came from the converter.
    sig::TConverterCalibration CalibrationTable;
    bool Automatic = true;
    bool Volts = false;                // output values shown in V instead of mV
    bool EditsInterharmonics = false;  // the harmonic view's fields act on the interharmonic list

    bool CalibrationTablesLoaded() const { return CalibrationTable.Read; }
    // Takes over what an operation learnt of the device (module, gain,
    // tables); the page's own choices stay.
    void TakeDeviceData(const TConverterState& learnt) {
        ModuleNumber = learnt.ModuleNumber;
        DeviceGainIndex = learnt.DeviceGainIndex;
        CalibrationTable = learnt.CalibrationTable;
    }
};

inline constexpr std::string_view kConverterConnected = "Преобразователь подключен.";
inline constexpr std::string_view kConverterTestCaption = "Проверка связи!";
inline constexpr std::string_view kErrorCaption = "Ошибка!";
inline constexpr std::string_view kGainNotWritten = "Не записан коэффициент преобразователя!";
inline constexpr std::string_view kGainNotWrittenCaption = "Ошибка!!!";
inline constexpr std::string_view kNoConverterData = "Нет данных";

// The symbol of the positive (0), negative (1) or zero (2) sequence output
// voltage in the display unit: "U~I1~,мВ" or "U~I1~,В".
std::string ConverterSymmetrySymbol(int sequence, bool volts);

class TConverterSession {
public:
    TConverterSession(TConverterState& state, std::string port);
    ~TConverterSession();
    TConverterSession(const TConverterSession&) = delete;
    TConverterSession& operator=(const TConverterSession&) = delete;

    // Builds the worker and the client on the port; false (with the channel's
    // text when the port could not be opened) otherwise.
    bool CreateModBus();
    void FreeModBus();

    bool TestConnectionConverterIU(bool show);
    bool ResetConverterIU();
    bool ReadConverterIUData();
    bool ReadConverterIUFazaCalibrationCoeff();
    // `dataRead` runs after the module and gain were read, when showing.
    bool ReadConverterIUAllData(bool show, const std::function<void()>& dataRead = {});
    bool WriteCalibrationCoeffToConverterIU();

    // The messages collected by the operations, oldest first.
    const std::vector<TConverterMessage>& Messages() const { return messages_; }
    void Report(TConverterMessage message);
    // Messages go to `sink` as they arise (it may wait until they were
    // answered) instead of being kept in Messages().
    void SetMessageSink(std::function<void(const TConverterMessage&)> sink) { sink_ = std::move(sink); }
    const TConverterState& State() const { return state_; }
    // True while no client exists, i.e. the port is not held.
    bool Released() const { return client_ == nullptr; }

private:
    // Runs one operation on a fresh connection and always frees it.
    template <class Body>
    bool WithConnection(Body body);
    void ErrorBox();

    TConverterState& state_;
    std::string port_;
    std::shared_ptr<da::TLCAThread> worker_;
    std::unique_ptr<da::TModBusRTU> client_;
    std::vector<TConverterMessage> messages_;
    std::function<void(const TConverterMessage&)> sink_;
};

// "Поключение": the connection test with messages, a reset, then module,
// gain and calibration tables with the labels shown (`dataRead` gets the
// state once module and gain are in); each step only after the previous one
// succeeded. True when all three did.
bool ConnectConverter(TConverterSession& session, const std::function<void(const TConverterState&)>& dataRead = {});

// The converter steps before a send: a silent test; when it fails, none of
// the converter steps run and the signal goes unchanged. Then a reset and,
// when it succeeded and the tables are missing, a silent read of all data;
// when either failed the signal is not sent.
struct TSendPreparation {
    bool ConverterAnswered = false;
    bool ResetDone = false;
    bool DataReady = false;  // the tables are there (read now or before)
    // Whether the converter steps let the send go on (before the calculation's check).
    bool MaySend() const { return !ConverterAnswered || (ResetDone && DataReady); }
};
TSendPreparation PrepareConverterSend(TConverterSession& session);
// After the send: the gain write when the reset succeeded and the signal
// went out; a failed write adds "Не записан коэффициент преобразователя!".
// True when the gain was written.
bool FinishConverterSend(TConverterSession& session, const TSendPreparation& prep, bool sent);

// What a test signal sent in converter mode hands back to the window: the
// converter state, the currents and channels the calculation filled in and
// the calculation's error code. The steps' messages were shown meanwhile.
struct TConverterSendResult {
    TConverterState State;
    sig::TSignalParamsI Current;
    sig::TSignalParamsU Converter;
    bool Calculated = false;
    std::uint8_t Error = 0;
};

// The calculation of the state's mode on the window's records.
std::uint8_t CalcConverter(TConverterState& state, sig::TSignalSet& s, bool automatic,
                           sig::IConverterDisplay* display = nullptr);

// The warning of a calculation error code (1, 2, 3 for the phases A, B, C); none for 0.
std::optional<std::string> AnalizeErrText(std::uint8_t code);

// The three coefficient labels and the manual gain boxes' factors.
struct TGainTexts {
    std::string Device;      // lbConverterInfo
    std::string Calculated;  // lbConverterInfoCalc
    std::string Manual;      // lbConverterInfoManual
    std::optional<sig::TConverterGain> ManualFactors;
};
TGainTexts ShowKoeffPreobrTexts(const TConverterState& state);
// "Коэффициент [i] = G (Kpga = ..; K1pga = ..; Kina = ..)"; empty outside 1 ... 44.
std::string GainText(int index, bool withFactors);
// A factor in the shortest form with "." ("0.125", "1.375", "6").
std::string FactorText(double value);
std::string ModuleText(std::int32_t module);

// The page's editing rules.
inline constexpr std::string_view kConverterReadOnly = "Значение поля, доступно только для чтения!";
// An output value field (phase 0 ... 2) left: its text in the state's unit.
struct TConverterEntry {
    bool Accepted = false;
    std::optional<std::string> Message;  // shown ("Warning") before the focus returns
    bool Calculate = false;              // the mode's calculation and AnalizeErr with the field follow
};
TConverterEntry TakeConverterOutput(const TConverterState& state, sig::TSignalSet& s, int phase, std::string_view text);
TConverterEntry TakeConverterInput(const TConverterState& state, sig::TSignalSet& s, int phase, std::string_view text);
// Output values (mV) as shown in the state's unit: "%2.3f" in mV, value / 1000 as "%2.4f" in V.
std::string ConverterValueText(const TConverterState& state, sig::real millivolts);
// Whether a typed character is refused in the field kind for the mode.
bool OutputLocked(const TConverterState& state);
bool InputLocked(const TConverterState& state);

// Which calculation an event of the page runs.
enum class ConverterEvent {
    PageSelected,
    Connected,
    AngleTaken,
    Send,
    OutputTaken,
    InputTaken,
    GainBoxChanged,
    HarmonicEdited,  // coefficient or angle Enter, all coefficients, switches, interharmonics, vector view, file
    NoCalculation,   // all angles, the mode boxes, the unit box, the 40/50 choice
};
enum class ConverterCalculation { None, ByMode, Automatic, Manual };
ConverterCalculation CalculationFor(ConverterEvent event, const TConverterState& state);

}  // namespace edit
