#pragma once

#include <QWidget>
#include <array>

#include "editor/PowerPages.h"
#include "signal/SignalSet.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QTimer;
class QToolButton;

namespace ui {

class TFieldEdit;
class TForm2;
class TPageFields;

// The contents of page_u_i_3: the three voltages and currents, the power
// table in its three modes with the energy counting, the sequence powers
// and the energy over the energy interval.
class TThreePhasePage : public QWidget {
    Q_OBJECT
public:
    TThreePhasePage(TForm2& form, TPageFields& fields);
    edit::PowerMode Mode() const { return mode_; }
    bool FullPowersShown() const { return mode_ == edit::PowerMode::Full; }
    bool Counting() const;
    void Show(const sig::TSignalSet& s);

private:
    QWidget* Values();
    QWidget* PowerTable();
    QWidget* Sequences();
    QWidget* Energy();
    void ModeChosen(edit::PowerMode mode);
    void RangeChosen(QComboBox* box, bool voltage);
    void StartCounting();
    void StopCounting();
    void Tick();
    void TakeInterval();

    TForm2& form_;
    TPageFields& fields_;
    edit::PowerMode mode_ = edit::PowerMode::Fundamental;
    edit::TEnergyCount count_;
    QComboBox* voltageRange_ = nullptr;
    QComboBox* currentRange_ = nullptr;
    QLabel* heading_ = nullptr;
    std::array<QLabel*, 3> columns_{};
    std::array<std::array<QLabel*, 3>, 3> table_{};  // [P, Q, S][phase]
    std::array<QLabel*, 3> sums_{};
    QToolButton* start_ = nullptr;
    QToolButton* stop_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QLabel* elapsedCaption_ = nullptr;
    TFieldEdit* intervalField_ = nullptr;
    QLabel* energyP_ = nullptr;
    QLabel* energyQ_ = nullptr;
    QTimer* timer_ = nullptr;
    bool takingInterval_ = false;
};

}  // namespace ui
