#include "ui/signal/ConverterTotals.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "ui/common/IndexTextLabel.h"
#include "ui/common/Texts.h"
#include "ui/signal/PageFields.h"

namespace ui {
namespace {

// Phase A, B, C; the sequences positive, negative, zero.
constexpr const char* kSymmetry[3]{"nessim_iu_1", "nessim_iu_2", "nessim_iu_0"};
constexpr const char* kSymmetryAngles[3]{"nessim_iu_fui_1", "nessim_iu_fui_2", "nessim_iu_fui_0"};
constexpr const char* kSymmetrySymbols[3]{"SymbolSeq1_iu", "SymbolSeq2_iu", "SymbolSeq0_iu"};
constexpr const char* kSymmetryAngleSymbols[3]{"@fU~U~~1~U~I~~1~", "@fU~U~~2~U~I~~2~", "@fU~U~~0~U~I~~0~"};
constexpr const char* kOutputRms[3]{"ui_u_a", "ui_u_b", "ui_u_c"};
constexpr const char* kDistortion[3]{"ki_a", "ki_b", "ki_c"};
constexpr const char* kInputRms[3]{"ui_i_a", "ui_i_b", "ui_i_c"};
constexpr const char* kVoltageSymbols[3]{"U~A~", "U~B~", "U~C~"};
constexpr const char* kDistortionSymbols[3]{"K~IA~", "K~IB~", "K~IC~"};
constexpr const char* kCurrentSymbols[3]{"I~A~", "I~B~", "I~C~"};

QGroupBox* Framed(QGridLayout*& grid) {
    auto* box = new QGroupBox;
    grid = new QGridLayout(box);
    return box;
}

QLabel* Wrapping(const char* caption) {
    auto* label = new QLabel(QString::fromUtf8(caption));
    label->setWordWrap(true);
    return label;
}

}  // namespace

TConverterTotals::TConverterTotals() {
    auto* lower = new QGridLayout(this);
    lower->setContentsMargins(0, 0, 0, 0);
    auto* symmetry = new QGroupBox(QStringLiteral("Несимметрия"));
    auto* sg = new QGridLayout(symmetry);
    QGridLayout *rg, *kg, *ig;
    QGroupBox* rms = Framed(rg);
    QGroupBox* ki = Framed(kg);
    QGroupBox* in = Framed(ig);
    rmsCaption_ = Wrapping("СКЗ. сигналов на выходе преобразователя, мВ");
    rg->addWidget(rmsCaption_, 0, 0, 1, 2);
    QLabel* kiCaption = Wrapping("Коэф. искажения синусоидальности в каналах преобразователя, %");
    // Two lines of the wrapped caption; a grid gives a wrapped label the height of one.
    kiCaption->setMinimumHeight(kiCaption->fontMetrics().lineSpacing() * 2 + 2);
    kg->addWidget(kiCaption, 0, 0, 1, 2);
    ig->addWidget(Wrapping("СКЗ. сигналов на входе преобразователя, А"), 0, 0, 1, 2);
    for (int p = 0; p < 3; ++p) {
        symmetrySymbols_[p] = Named(new TIndexTextLabel(edit::ConverterSymmetrySymbol(p, false)), kSymmetrySymbols[p]);
        sg->addWidget(symmetrySymbols_[p], p, 0);
        sg->addWidget(ReadOnlyField(kSymmetry[p]), p, 1);
        sg->addWidget(new TIndexTextLabel(kSymmetryAngleSymbols[p]), p, 2);
        sg->addWidget(ReadOnlyField(kSymmetryAngles[p]), p, 3);
        rg->addWidget(new TIndexTextLabel(kVoltageSymbols[p]), p + 1, 0);
        rg->addWidget(ReadOnlyField(kOutputRms[p]), p + 1, 1);
        kg->addWidget(new TIndexTextLabel(kDistortionSymbols[p]), p + 1, 0);
        kg->addWidget(ReadOnlyField(kDistortion[p]), p + 1, 1);
        ig->addWidget(new TIndexTextLabel(kCurrentSymbols[p]), p + 1, 0);
        ig->addWidget(ReadOnlyField(kInputRms[p]), p + 1, 1);
    }
    auto* r40 = Named(new QRadioButton(QStringLiteral("40")), "rb40GarmIU", QStringLiteral("40"));
    auto* r50 = Named(new QRadioButton(QStringLiteral("50")), "rb50GarmIU", QStringLiteral("50"));
    r50->setChecked(true);
    auto* counts = new QHBoxLayout;
    counts->addWidget(r40);
    counts->addWidget(r50);
    kg->addLayout(counts, 4, 0, 1, 2);
    for (auto [button, count] : {std::pair{r40, 40}, std::pair{r50, 50}})
        connect(button, &QRadioButton::clicked, this, [this, count] { Q_EMIT HarmCountChosen(count); });
    lower->addWidget(symmetry, 0, 0);
    lower->addWidget(rms, 0, 1);
    lower->addWidget(ki, 1, 0);
    lower->addWidget(in, 1, 1);
}

void TConverterTotals::ShowUnit(const edit::TConverterUnitLook& look) {
    rmsCaption_->setText(Q(look.RmsCaption));
    for (int p = 0; p < 3; ++p) symmetrySymbols_[p]->SetText(look.SymmetrySymbols[p]);
}

}  // namespace ui
