#include "ui/signal/ConverterHarmonics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <tuple>

#include "ui/charts/VectorChart.h"
#include "ui/charts/WaveChart.h"
#include "ui/charts/WindowCharts.h"
#include "ui/common/FieldEdit.h"
#include "ui/common/IndexTextLabel.h"
#include "ui/common/Texts.h"
#include "ui/signal/PageFields.h"
#include "ui/signal/SignalWindow.h"

namespace ui {
namespace {

QSpinBox* Number(const char* name, int first) {
    auto* number = Named(new QSpinBox, name);
    // Out-of-range numbers reach the check and its message.
    number->setRange(0, 99);
    number->setKeyboardTracking(false);
    number->setValue(first);
    return number;
}

QComboBox* Phases(const char* name) {
    auto* phase = Named(new QComboBox, name);
    phase->addItems({QStringLiteral("Ia"), QStringLiteral("Ib"), QStringLiteral("Ic")});
    return phase;
}

}  // namespace

TConverterHarmonics::TConverterHarmonics(TForm2& form, edit::TConverterPageRules& rules, TFieldEdit* coef,
                                         TFieldEdit* angle, THarmonicEditing::TStoredHook stored)
    : form_(form), rules_(rules), stored_(std::move(stored)), views_(Named(new QStackedWidget, "Notebook5")) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    views_->addWidget(HarmonicPage(coef, angle));
    views_->addWidget(Named(Wrapped(form_.Charts().ConverterVectors()), "page_graf"));
    views_->addWidget(Named(Wrapped(form_.Charts().ConverterWaves()), "page_sin"));
    const char* captions[3]{"Гармоники", "Векторная диаграмма", "Осциллограммы"};
    for (int v = 0; v < 3; ++v) {
        auto* button = new QToolButton;
        button->setText(QString::fromUtf8(captions[v]));
        button->setProperty("tag", 18 + v);
        connect(button, &QToolButton::clicked, this, [this, v] {
            views_->setCurrentIndex(v);
            if (v == 1) Q_EMIT Recalculate();
            if (v == 2) form_.Charts().Show_Little_Chart_I_iu();
        });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addWidget(views_, 1);
}

QWidget* TConverterHarmonics::HarmonicPage(TFieldEdit* coef, TFieldEdit* angle) {
    auto* garm = Named(new QWidget, "page_garm");
    auto* grid = new QGridLayout(garm);
    grid->setContentsMargins(0, 0, 0, 0);
    QComboBox* harmonicPhase = Phases("ComboBox4");
    QComboBox* interPhase = Phases("ComboBox3");
    QSpinBox* harmonicNumber = Number("SpinEdit5", edit::kFirstHarmonic);
    QSpinBox* interNumber = Number("SpinEdit6", edit::kFirstInter);
    auto* harmonicList = Named(new QListWidget, "ListBox6");
    auto* interList = Named(new QListWidget, "ListBox7");
    auto* allKoef =
        Named(new QToolButton, "SpeedButton34", QStringLiteral("Копировать значение коэффициента во все гармоники"));
    auto* allAngles =
        Named(new QToolButton, "SpeedButton33", QStringLiteral("Копировать значение фазового угла во все гармоники"));
    // The copy buttons act on the field's text as typed: they take no focus, which would refill it.
    for (QToolButton* copy : {allKoef, allAngles}) {
        copy->setText(QStringLiteral("⇊"));
        copy->setFocusPolicy(Qt::NoFocus);
    }
    interOn_ = Named(new QCheckBox(QStringLiteral("Вкл. интергарм.")), "chBoxOnIntergarm_iu",
                     QStringLiteral("Вкл. интергарм."));
    grid->addWidget(harmonicPhase, 0, 0);
    grid->addWidget(harmonicNumber, 0, 1);
    grid->addWidget(interPhase, 0, 2);
    grid->addWidget(interNumber, 0, 3);
    grid->addWidget(interOn_, 0, 4);
    grid->addWidget(harmonicList, 1, 0, 1, 2);
    grid->addWidget(interList, 1, 2, 1, 3);
    coefficientSymbol_ = Named(new TIndexTextLabel(std::string(edit::FieldByName("Edit30")->Symbol)), "SymbolKoef_iu");
    angleSymbol_ = Named(new TIndexTextLabel(std::string(edit::FieldByName("Edit31")->Symbol)), "SymbolAngle_iu");
    auto* fields = new QHBoxLayout;
    for (QWidget* w :
         {static_cast<QWidget*>(coefficientSymbol_), static_cast<QWidget*>(coef), static_cast<QWidget*>(allKoef),
          static_cast<QWidget*>(angleSymbol_), static_cast<QWidget*>(angle), static_cast<QWidget*>(allAngles)})
        fields->addWidget(w);
    grid->addLayout(fields, 2, 0, 1, 5);

    harmonics_ = new THarmonicEditing(form_, edit::HarmEditor::ConverterHarm, false,
                                      {harmonicPhase, harmonicNumber, harmonicList, coef, angle}, this);
    interharmonics_ = new THarmonicEditing(form_, edit::HarmEditor::ConverterInter, false,
                                           {interPhase, interNumber, interList, coef, angle}, this);
    interharmonics_->SetActive(false);
    for (auto [editing, inter, phase] :
         {std::tuple{harmonics_, false, harmonicPhase}, std::tuple{interharmonics_, true, interPhase}}) {
        editing->SetStoredHook(stored_);
        connect(editing, &THarmonicEditing::Activated, this, [this, inter] { ListChosen(inter); });
        connect(phase, &QComboBox::currentIndexChanged, this, [this, editing] {
            Q_EMIT PhaseChanged();
            editing->Activate();
        });
    }
    connect(allKoef, &QToolButton::clicked, this, [this] { Edited().SetAll(rules_.SetAllButtonFor(false)); });
    connect(allAngles, &QToolButton::clicked, this, [this] { Edited().SetAll(rules_.SetAllButtonFor(true)); });
    connect(interOn_, &QCheckBox::clicked, this, [this](bool on) {
        form_.Signal().Switches.IncludeInterGarm = on;
        Q_EMIT Recalculate();
    });
    return garm;
}

bool TConverterHarmonics::ShowsWaveform() const { return views_->currentIndex() == 2; }

THarmonicEditing& TConverterHarmonics::Edited() const {
    return rules_.State().EditsInterharmonics ? *interharmonics_ : *harmonics_;
}

void TConverterHarmonics::ListChosen(bool interharmonics) {
    const edit::THarmonicViewLook look = rules_.ChooseHarmonicList(interharmonics);
    coefficientSymbol_->SetText(look.CoefSymbol);
    angleSymbol_->SetText(look.AngleSymbol);
    harmonics_->SetActive(!interharmonics);
    interharmonics_->SetActive(interharmonics);
}

void TConverterHarmonics::Show() {
    interOn_->setChecked(form_.Signal().Switches.IncludeInterGarm);
    harmonics_->Show();
    interharmonics_->ShowUnselected();
    Edited().FillFields();
}

}  // namespace ui
