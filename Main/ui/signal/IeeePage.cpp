#include "ui/signal/IeeePage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include "ui/common/Texts.h"
#include "ui/signal/PageFields.h"

namespace ui {
namespace {

struct TPhaseRow {
    const char* Names[3];
    const char* Hint;  // of the quantity, completed with the phase
};

// clang-format off
constexpr TPhaseRow kPhaseRows[]{
    {{"e_Dia_1459", "e_Dib_1459", "e_Dic_1459"}, "Мощность искажений тока по фазе "},
    {{"e_Dua_1459", "e_Dub_1459", "e_Duc_1459"}, "Мощность искажений напряжения по фазе "},
    {{"e_Sha_1459", "e_Shb_1459", "e_Shc_1459"}, "Полная мощность искажений по фазе "},
    {{"e_Sna_1459", "e_Snb_1459", "e_Snc_1459"}, "Полная мощность гармоник по фазе "},
    {{"e_Pha_1459", "e_Phb_1459", "e_Phc_1459"}, "Активная мощность гармоник по фазе "},
    {{"e_Dha_1459", "e_Dhb_1459", "e_Dhc_1459"}, "Реактивная мощность искажений синусоидальности по фазе "},
};
constexpr const char* kThreePhaseRows[][2]{
    {"e_Se_4p_1459", "e_Se_3p_1459"},   {"e_Dei_4p_1459", "e_Dei_3p_1459"}, {"e_Deu_4p_1459", "e_Deu_3p_1459"},
    {"e_Seh_4p_1459", "e_Seh_3p_1459"}, {"e_Sen_4p_1459", "e_Sen_3p_1459"}, {"e_Deh_4p_1459", "e_Deh_3p_1459"},
    {"e_HP_4p_1459", "e_HP_3p_1459"},   {"e_LU_4p_1459", "e_LU_3p_1459"},   {"e_Ke_4p_1459", "e_Ke_3p_1459"},
};
// clang-format on

QGroupBox* PhaseQuantities(TPageFields& fields) {
    auto* group = new QGroupBox(QStringLiteral("Фазные величины"));
    auto* grid = new QGridLayout(group);
    const char* phases[3]{"A", "B", "C"};
    for (int p = 0; p < 3; ++p)
        grid->addWidget(new QLabel(QStringLiteral("Фаза ") + QLatin1String(phases[p])), 0, p + 1, Qt::AlignCenter);
    int row = 1;
    for (const TPhaseRow& r : kPhaseRows) {
        grid->addWidget(fields.Symbol(r.Names[0]), row, 0);
        for (int p = 0; p < 3; ++p) {
            QWidget* control = fields.Control(r.Names[p]);
            control->setToolTip(QString::fromUtf8(r.Hint) + QLatin1String(phases[p]));
            grid->addWidget(control, row, p + 1);
        }
        ++row;
    }
    return group;
}

QGroupBox* ThreePhaseQuantities(TPageFields& fields) {
    auto* group = new QGroupBox(QStringLiteral("Трехфазные величины"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("3ф-4пр")), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("3ф-3пр")), 0, 2, Qt::AlignCenter);
    int row = 1;
    for (const auto& names : kThreePhaseRows) {
        grid->addWidget(fields.Symbol(names[0]), row, 0);
        grid->addWidget(fields.Control(names[0]), row, 1);
        grid->addWidget(fields.Control(names[1]), row, 2);
        ++row;
    }
    for (const char* name : {"e_K1_1459", "e_Ph_1459"}) {
        grid->addWidget(fields.Symbol(name), row, 0);
        grid->addWidget(fields.Control(name), row, 1);
        ++row;
    }
    return group;
}

}  // namespace

TIeeePage::TIeeePage(TPageFields& fields) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PhaseQuantities(fields), 0, Qt::AlignTop);
    layout->addWidget(ThreePhaseQuantities(fields), 0, Qt::AlignTop);
    layout->addStretch(1);
}

}  // namespace ui
