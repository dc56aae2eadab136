#include "editor/PageSelection.h"

#include "editor/PowerPages.h"
#include "signal/Calculations.h"
#include "signal/Collapses.h"
#include "signal/Ieee1459.h"

namespace edit {
namespace {

void Powers(const TPageContext& c) { CalcPowers(c.Signal, c.FullPowersShown, c.Display); }

void VoltageAndCurrent(const TPageContext& c, sig::ISignalDisplay* display) {
    sig::TSignalSet& s = c.Signal;
    sig::CalcVoltageParams(s.Voltage, s.Switches, display);
    sig::CalcCurrentParams(s.Current, s.Voltage, s.Switches, display);
}

void RunSelection(std::string_view page, const TPageContext& c) {
    sig::TSignalSet& s = c.Signal;
    if (page == "page_u") {
        sig::CalcVoltageParams(s.Voltage, s.Switches, c.Display);
    } else if (page == "page_i") {
        sig::CalcCurrentParams(s.Current, s.Voltage, s.Switches, c.Display);
    } else if (page == "page_u_i") {
        sig::CalcPhaseFundamentalPowers(s.Voltage, s.Current, s.Switches, c.OnePhase, s.FundamentalPowers);
    } else if (page == "page_u_i_3") {
        VoltageAndCurrent(c, c.Display);
        Powers(c);
    } else if (page == "page_phase_angle") {
        sig::CalcHarmonicAngleDiffs(s.Voltage);
        s.Current.Garmonik.DeriveAngleDiffs(s.Voltage.Garmonik);
    } else if (page == "page_in_out") {
        sig::CalcCollapsesParams(s.Voltage, s.Collapses, s.Grid.SamplesPerPeriod, s.Grid.SampleRate, c.Kf, s.Switches);
    } else if (page == "page_IEEE_1459") {
        VoltageAndCurrent(c, nullptr);
        Powers(c);
        sig::CalcIeee1459(s.Voltage, s.Current, s.Switches, s.FundamentalPowers, s.FullPowers, s.Ieee1459);
    }
}

}  // namespace

const TPageRow* SelectPage(std::string_view caption, const TPageContext& context) {
    const TPageRow* row = PageByCaption(caption);
    if (row) RunSelection(row->Page, context);
    return row;
}

std::string_view FocusOnShow(std::string_view page) {
    if (page == "page_garmonics") return "StringGrid1";
    if (page == "page_u_i") return "cb_faza";
    if (page == "page_in_out") return "Edit3";
    if (page == "page_chart_i_u") return "Edit1";
    if (page == "page_vibr") return "EditKolebFreq";
    if (page == "page_protocol") return "ListBox5";
    if (page == "page_u_i_3") return "cb_voltage_three_faza";
    return {};
}

}  // namespace edit
