#include "ui/shell/dialogs/TfmAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "TalvoVersion.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

QLabel* Line(const QString& text, const char* name) {
    auto* label = NamedLabel(text, name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

TfmAbout::TfmAbout(QWidget* parent) : TShellDialog(QStringLiteral("О программе"), "fmAbout", parent) {
    auto* panel = new QFrame;
    NameControl(panel, "Panel1", QStringLiteral("\"Orbis-Talvo\""));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* name = Line(QStringLiteral("\"Orbis-Talvo\""), "lb_name");
    QFont large = name->font();
    large.setPointSize(large.pointSize() + 6);
    large.setBold(true);
    name->setFont(large);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(name);

    auto* back = NamedButton(QStringLiteral("Вернуться"), "btnReturn");
    back->setDefault(true);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout;
    layout->addWidget(Line(QStringLiteral("Программное обеспечение для управления"), "lb_line1"));
    layout->addWidget(Line(QStringLiteral("калибратором"), "lb_line2"));
    layout->addWidget(Line(QStringLiteral("переменного тока"), "lb_line3"));
    layout->addSpacing(8);
    layout->addWidget(panel);
    layout->addWidget(Line(QStringLiteral("Версия ") + QStringLiteral(TALVO_VERSION), "lb_version"));
    layout->addSpacing(8);
    layout->addLayout(ButtonRow({back}, true));
    SetBody(layout);
}

}  // namespace ui
