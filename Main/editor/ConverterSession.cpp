#include "editor/ConverterSession.h"
#include "editor/EntryMessages.h"

#include <exception>
#include <utility>

#include "CommonUtils/Numbers.h"
#include "DeviceAccess/ConnectionDescription.h"
#include "DeviceAccess/ErrorTexts.h"
#include "DeviceAccess/LCAThread.h"
#include "DeviceAccess/ModBusRTU.h"

namespace edit {

namespace {

constexpr std::uint8_t kDeviceAddress = 1;
constexpr int kAttempts = 2;
constexpr std::uint32_t kBaudRate = 115200;  // the page's rate box is shown only
constexpr std::uint16_t kTestData = 0x1234;
constexpr std::uint16_t kResetRegister = 0x8000;
constexpr std::uint16_t kGainRegister = 0x8001;
constexpr std::uint16_t kBlockLength = 46;
constexpr std::uint16_t kBlockStarts[3] = {2, 48, 94};

bool ValidIndex(int i) { return i >= 1 && i <= sig::kConverterGains; }

}  // namespace

TConverterSession::TConverterSession(TConverterState& state, std::string port)
    : state_(state), port_(std::move(port)) {}

TConverterSession::~TConverterSession() { FreeModBus(); }

bool TConverterSession::CreateModBus() {
    try {
        if (!worker_) worker_ = std::make_shared<da::TLCAThread>();
        const auto description =
            da::SerialDescription(port_, kBaudRate, da::SerialMode::Direct, da::ChannelSettings{kAttempts, 1, 0});
        client_.reset();
        client_ = std::make_unique<da::TModBusRTU>(worker_, kDeviceAddress, true, kAttempts, description);
        if (!client_->HasChannel()) {
            const int code = client_->OpenError();
            client_.reset();
            Report({da::LcaErrorText(code), std::string(kErrorCaption), MessageIcon::Error});
            return false;
        }
        return true;
    } catch (const std::exception&) {
        client_.reset();
        return false;
    }
}

void TConverterSession::FreeModBus() {
    client_.reset();
    worker_.reset();
}

template <class Body>
bool TConverterSession::WithConnection(Body body) {
    if (!CreateModBus()) {
        FreeModBus();
        return false;
    }
    const bool ok = body(*client_);
    FreeModBus();
    return ok;
}

void TConverterSession::ErrorBox() { Report({client_->ErrorText(), std::string(kErrorCaption), MessageIcon::Error}); }

void TConverterSession::Report(TConverterMessage message) {
    if (sink_) sink_(message);
    else messages_.push_back(std::move(message));
}

bool TConverterSession::TestConnectionConverterIU(bool show) {
    return WithConnection([&](da::TModBusRTU& client) {
        std::uint16_t echoed = 0;
        // Any correct response counts; the echoed data is not compared.
        if (!client.Diagnostics(0, kTestData, &echoed)) {
            if (show) ErrorBox();
            return false;
        }
        if (show)
            Report({std::string(kConverterConnected), std::string(kConverterTestCaption), MessageIcon::Information});
        return true;
    });
}

bool TConverterSession::ResetConverterIU() {
    return WithConnection([&](da::TModBusRTU& client) {
        std::uint16_t echoed = 0;
        if (!client.WriteSingleRegister(kResetRegister, 0, &echoed)) {
            ErrorBox();
            return false;
        }
        state_.DeviceGainIndex = 1;
        return true;
    });
}

bool TConverterSession::ReadConverterIUData() {
    return WithConnection([&](da::TModBusRTU& client) {
        std::vector<std::uint16_t> regs;
        if (!client.ReadHoldingRegisters(0, 2, &regs) || regs.size() < 2) {
            ErrorBox();
            return false;
        }
        state_.ModuleNumber = regs[0];
        for (int i = 1; i <= sig::kConverterGains; ++i)
            if (sig::GainCode(i) == regs[1]) {
                state_.DeviceGainIndex = static_cast<std::uint8_t>(i);
                break;
            }
        return true;
    });
}

bool TConverterSession::ReadConverterIUFazaCalibrationCoeff() {
    return WithConnection([&](da::TModBusRTU& client) {
        for (int c = 0; c < 3; ++c) {
            std::vector<std::uint16_t> block;
            if (!client.ReadHoldingRegisters(kBlockStarts[c], kBlockLength, &block) || block.size() < kBlockLength)
                return false;
            for (int k = 1; k <= sig::kConverterGains; ++k)
                state_.CalibrationTable.Delta[c][k] = static_cast<std::int16_t>(block[k]);
        }
        return true;
    });
}

bool TConverterSession::ReadConverterIUAllData(bool show, const std::function<void()>& dataRead) {
    if (!ReadConverterIUData()) return false;
    if (show && dataRead) dataRead();
    if (ReadConverterIUFazaCalibrationCoeff()) state_.CalibrationTable.Read = true;
    return state_.CalibrationTable.Read;
}

bool TConverterSession::WriteCalibrationCoeffToConverterIU() {
    if (!state_.CalibrationTable.Read && ResetConverterIU() && !ReadConverterIUData()) return false;
    // Index 0 has no code: nothing was selected, so nothing is written.
    const auto code = sig::GainCode(state_.CalculatedGainIndex);
    if (!code) return false;
    return WithConnection([&](da::TModBusRTU& client) {
        std::uint16_t echoed = 0;
        if (!client.WriteSingleRegister(kGainRegister, *code, &echoed)) {
            ErrorBox();
            return false;
        }
        state_.DeviceGainIndex = state_.CalculatedGainIndex;
        return true;
    });
}

bool ConnectConverter(TConverterSession& session, const std::function<void(const TConverterState&)>& dataRead) {
    return session.TestConnectionConverterIU(true) && session.ResetConverterIU() &&
           session.ReadConverterIUAllData(true, [&] {
               if (dataRead) dataRead(session.State());
           });
}

TSendPreparation PrepareConverterSend(TConverterSession& session) {
    TSendPreparation prep;
    prep.ConverterAnswered = session.TestConnectionConverterIU(false);
    if (!prep.ConverterAnswered) return prep;
    prep.ResetDone = session.ResetConverterIU();
    prep.DataReady =
        prep.ResetDone && (session.State().CalibrationTablesLoaded() || session.ReadConverterIUAllData(false));
    return prep;
}

bool FinishConverterSend(TConverterSession& session, const TSendPreparation& prep, bool sent) {
    if (!prep.ConverterAnswered || !prep.ResetDone || !sent) return false;
    if (session.WriteCalibrationCoeffToConverterIU()) return true;
    session.Report({std::string(kGainNotWritten), std::string(kGainNotWrittenCaption), MessageIcon::Error});
    return false;
}

std::uint8_t CalcConverter(TConverterState& state, sig::TSignalSet& s, bool automatic,
                           sig::IConverterDisplay* display) {
    const sig::TConverterSwitches switches{{s.Switches.IOnA, s.Switches.IOnB, s.Switches.IOnC},
                                           s.Switches.IncludeInterGarm,
                                           s.Switches.HarmCountI,
                                           s.Switches.InterCountI};
    std::uint8_t error = 0;
    const sig::TConverterCalc calc{s.Current,
                                   s.Converter,
                                   state.CalibrationTable,
                                   switches,
                                   s.Grid.SamplesPerPeriod,
                                   {state.CalculatedGainIndex, state.ManualGainIndex},
                                   error,
                                   display};
    if (automatic) sig::CalcConverterAuto(calc);
    else sig::CalcConverterManual(calc);
    return error;
}

std::optional<std::string> AnalizeErrText(std::uint8_t code) {
    switch (code) {
        case 0: return std::nullopt;
        case 1: return "Превышение амплитуды по фазе A!";
        case 2: return "Превышение амплитуды по фазе B!";
        case 3: return "Превышение амплитуды по фазе C!";
        default: return std::string();  // a refusal without a text of its own
    }
}

std::string FactorText(double value) { return cmn::FormatReal(value); }

std::string GainText(int index, bool withFactors) {
    if (!ValidIndex(index)) return {};
    std::string text =
        "Коэффициент [" + std::to_string(index) + "] = " + FactorText(static_cast<double>(sig::ConverterGain(index)));
    if (!withFactors) return text;
    const auto g = sig::ConverterGainTable(index);
    return text + " (Kpga = " + FactorText(g.Kpga) + ";" + " K1pga = " + FactorText(g.K1pga) + ";" +
           " Kina = " + FactorText(g.Kina) + ")";
}

TGainTexts ShowKoeffPreobrTexts(const TConverterState& state) {
    TGainTexts t;
    t.Device = GainText(state.DeviceGainIndex, true);
    t.Calculated = GainText(state.CalculatedGainIndex, true);
    t.Manual = GainText(state.ManualGainIndex, false);
    if (ValidIndex(state.ManualGainIndex)) t.ManualFactors = sig::ConverterGainTable(state.ManualGainIndex);
    return t;
}

std::string ModuleText(std::int32_t module) { return "№ модуля: " + std::to_string(module); }

std::string ConverterValueText(const TConverterState& state, sig::real millivolts) {
    return state.Volts ? cmn::FormatFixed(millivolts / 1000, 4, 2) : cmn::FormatFixed(millivolts, 3, 2);
}

bool OutputLocked(const TConverterState& state) { return !state.Automatic; }
bool InputLocked(const TConverterState& state) { return state.Automatic; }

TConverterEntry TakeConverterOutput(const TConverterState& state, sig::TSignalSet& s, int phase,
                                    std::string_view text) {
    const auto x = cmn::ParseReal(text);
    if (!x) return {false, std::string(kParseError), false};
    if (*x < 0) return {false, std::string(kVoltageRangeError), false};
    if (!state.Automatic) return {true, std::nullopt, false};
    const sig::real mv = state.Volts ? *x * 1000 : *x;
    s.Converter.*sig::detail::kU[phase] = mv;
    s.Converter.*sig::detail::kDeltaU[phase] = mv * 100 / s.Converter.NominalFaza - 100;
    return {true, std::nullopt, true};
}

TConverterEntry TakeConverterInput(const TConverterState& state, sig::TSignalSet& s, int phase, std::string_view text) {
    if (state.Automatic) return {true, std::nullopt, false};
    const auto x = cmn::ParseReal(text);
    if (!x) return {false, std::string(kParseError), false};
    // No range check: the calculation judges the amplitudes.
    s.Current.*sig::detail::kI[phase] = *x;
    return {true, std::nullopt, true};
}

ConverterCalculation CalculationFor(ConverterEvent event, const TConverterState& state) {
    switch (event) {
        case ConverterEvent::PageSelected:
        case ConverterEvent::Connected:
        case ConverterEvent::AngleTaken:
        case ConverterEvent::Send: return ConverterCalculation::ByMode;
        case ConverterEvent::OutputTaken: return ConverterCalculation::Automatic;
        case ConverterEvent::InputTaken: return ConverterCalculation::Manual;
        case ConverterEvent::GainBoxChanged:
            return state.CalibrationTablesLoaded() ? ConverterCalculation::Manual : ConverterCalculation::None;
        case ConverterEvent::HarmonicEdited: return ConverterCalculation::Automatic;
        case ConverterEvent::NoCalculation: return ConverterCalculation::None;
    }
    return ConverterCalculation::None;
}

std::string ConverterSymmetrySymbol(int sequence, bool volts) {
    constexpr const char* kOrders[3]{"1", "2", "0"};
    return std::string("U~I") + kOrders[sequence] + "~," + (volts ? "В" : "мВ");
}

}  // namespace edit
