#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ConverterSession.h"
#include "editor/HarmonicRules.h"
#include "editor/SignalFields.h"

// The converter page's rules without widgets: the page hands each of its
// events to TConverterPageRules, which keeps the converter state, changes
// the records and answers with what the page shows and does next.
namespace edit {

// What the page does after an event, in this order: the current page shown
// anew, the calculation (whose own outcome is applied in turn, its focus
// being the event's field), the converter page shown anew, the coefficient
// labels, the message ("Warning"), the focus back to the event's field.
struct TConverterOutcome {
    bool CurrentsChanged = false;
    ConverterCalculation Calculation = ConverterCalculation::None;
    bool Redisplay = false;
    bool GainTexts = false;
    std::optional<std::string> Message;
    bool Refused = false;  // the entry or the calculation failed: the focus returns
};

// The mode's look: the locked field kind refuses typed characters with
// kConverterReadOnly and is shown silver.
struct TConverterModeLook {
    bool Automatic = true;
    bool OutputsLocked = false;
    bool InputsLocked = true;
};

// The captions and symbols that follow the unit of the output voltages.
struct TConverterUnitLook {
    std::string OutputCaption;
    std::string RmsCaption;
    std::array<std::string, 3> SymmetrySymbols;
};

// One control of the page and the text the records give it (a choice box selects the item).
struct TConverterText {
    std::string_view Name;
    std::string Text;
};

// The harmonic view's symbols beside its coefficient and angle fields.
struct THarmonicViewLook {
    HarmEditor Editor;
    std::string CoefSymbol;
    std::string AngleSymbol;
};

// What follows a store of the harmonic view: the outcome, and whether its
// failure keeps the focus in the field (else the focus moves on to the other
// field whatever the calculation gave).
struct THarmonicStore {
    TConverterOutcome Outcome;
    bool ErrorKeepsFocus = true;
};

class TConverterPageRules {
public:
    TConverterState& State() { return state_; }
    const TConverterState& State() const { return state_; }

    // Angle and frequency fields go to the signal window's own field rule;
    // the page's other fields are taken over here.
    static bool TakenByWindow(const TFieldRow& row);
    // An output value or input current field left with `text`.
    TConverterOutcome TakeEntry(const TFieldRow& row, std::string_view text, sig::TSignalSet& s) const;
    // The window's rule took an angle or a frequency over (or refused it, having said why).
    TConverterOutcome TakenByWindowRule(const TFieldRow& row, bool accepted) const;

    TConverterModeLook ChooseMode(bool automatic);
    TConverterUnitLook ChooseUnit(bool volts);
    // A gain box changed: the factors the three boxes show.
    TConverterOutcome ChooseGain(float kpga, float k1pga, float kina);
    // The list the harmonic view's two fields act on.
    THarmonicViewLook ChooseHarmonicList(bool interharmonics);
    HarmEditor HarmonicEditor() const;
    // SpeedButton34 (coefficients) or SpeedButton33 (angles) for the list in use.
    SetAllButton SetAllButtonFor(bool angle) const;

    // An event that only runs its calculation (page selected, a switch, the vector view ...).
    TConverterOutcome Event(ConverterEvent event) const;
    // A harmonic view store: `angle` for the angle field, `all` for a set-all button.
    THarmonicStore HarmonicStored(bool angle, bool all) const;

    // Runs the calculation; `display` is shown by a calculation that ends well.
    TConverterOutcome Calculate(ConverterCalculation which, sig::TSignalSet& s, sig::IConverterDisplay* display);

    // "Поключение" ended.
    TConverterOutcome Connected(bool ok) const;
    // A send in converter mode ended: what it learnt and calculated is taken over.
    TConverterOutcome SendFinished(const TConverterSendResult& result, sig::TSignalSet& s);

    // Every text ShowAllData_low_iu writes from the records, in the state's unit.
    std::vector<TConverterText> Texts(const sig::TSignalSet& s) const;

private:
    TConverterState state_;
};

}  // namespace edit
