#include "ui/signal/PageFields.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "CommonUtils/TalvoError.h"
#include "editor/FundamentalChoices.h"
#include "signal/Nominals.h"
#include "ui/common/MessageDialog.h"
#include "ui/signal/SignalWindow.h"

#include "editor/DipsAndFluctuations.h"
#include "ui/common/FieldEdit.h"
#include "ui/common/IndexTextLabel.h"
#include "ui/common/Texts.h"

namespace ui {

TPageFields::TPageFields(QObject* parent, const sig::TSignalSet& signal, TakeOverFn takeOver, KeyFn escape)
    : QObject(parent), signal_(signal), takeOver_(std::move(takeOver)), escape_(std::move(escape)) {}

QWidget* TPageFields::Control(std::string_view name) {
    if (const auto it = controls_.find(name); it != controls_.end()) return it->second;
    const edit::TFieldRow* row = edit::FieldByName(name);
    Q_ASSERT(row);
    QWidget* control = nullptr;
    if (edit::Editable(*row)) {
        auto* field = new TFieldEdit(row->Angle);
        // A field taken over on Enter is wired by its editor.
        if (!edit::TakenOnEnter(*row)) {
            connect(field, &TFieldEdit::Leaving, this, [this, row, field] { takeOver_(*row, *field); });
            connect(field, &TFieldEdit::EnterPressed, this, [this, row] { Enter(*row); });
            connect(field, &TFieldEdit::EscapePressed, this, [this, row, field] { escape_(*row, *field); });
        }
        control = field;
    } else {
        control = ResultLabel();
    }
    control->setMinimumWidth(70);
    NameControl(control, row->Name.data(), Q(row->Symbol.empty() ? row->Name : row->Symbol));
    controls_.emplace(row->Name, control);
    return control;
}

QWidget* TPageFields::Symbol(std::string_view name) {
    return new TIndexTextLabel(std::string(edit::FieldByName(name)->Symbol));
}

void TPageFields::Show(std::string_view page, const sig::TSignalSet& s, int phase) {
    for (const edit::TFieldRow& row : edit::FieldRows()) {
        if (row.Page != page) continue;
        const auto it = controls_.find(row.Name);
        if (it == controls_.end()) continue;
        const QString text = Q(edit::FieldText(row, s, phase));
        if (auto* field = qobject_cast<TFieldEdit*>(it->second))
            field->setText(field->hasFocus() ? Q(edit::EditingText(row, U(text))) : text);
        else static_cast<QLabel*>(it->second)->setText(text);
    }
}

// Enter only moves on: the field left behind takes its entry over. A chain
// may end in a control that is not a field (a choice box of the page).
void TPageFields::Enter(const edit::TFieldRow& row) {
    const std::string_view name = edit::NextFocus(row, signal_);
    QWidget* next =
        edit::FieldByName(name) ? Control(name) : static_cast<QWidget*>(parent())->findChild<QWidget*>(Q(name));
    if (next) next->setFocus(Qt::TabFocusReason);
}

QGroupBox* SymbolGrid(const QString& caption, TPageFields& fields, std::initializer_list<std::string_view> names,
                      int columns, int firstRow) {
    auto* box = new QGroupBox(caption);
    auto* grid = new QGridLayout(box);
    int i = 0;
    for (std::string_view name : names) {
        grid->addWidget(fields.Symbol(name), firstRow + i / columns, (i % columns) * 2);
        grid->addWidget(fields.Control(name), firstRow + i / columns, (i % columns) * 2 + 1);
        ++i;
    }
    return box;
}

std::array<QRadioButton*, 2> AddHarmCountChoice(QGridLayout& grid, int row, const char* prefix,
                                                std::function<void(int)> chosen) {
    std::array<QRadioButton*, 2> buttons{};
    auto* line = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        const int count = i == 0 ? 40 : 50;
        buttons[i] = new QRadioButton(i == 0 ? QStringLiteral("40") : QStringLiteral("50"));
        const std::string name = std::string(prefix) + (i == 0 ? "_40" : "_50");
        NameControl(buttons[i], name.c_str(), buttons[i]->text());
        QObject::connect(buttons[i], &QRadioButton::clicked, buttons[i], [chosen, count] { chosen(count); });
        line->addWidget(buttons[i]);
    }
    grid.addWidget(new QLabel(QStringLiteral("Количество учитываемых гармоник:")), row, 0, 1, 4);
    grid.addLayout(line, row + 1, 0, 1, 4);
    return buttons;
}

QToolButton* ToolButton(const QString& caption, const char* name) {
    auto* button = new QToolButton;
    button->setText(caption);
    NameControl(button, name, caption);
    return button;
}

QLabel* ResultLabel() {
    auto* label = new QLabel(QStringLiteral("нет"));
    label->setFrameShape(QFrame::StyledPanel);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return label;
}

QLineEdit* ReadOnlyField(const char* name) {
    auto* edit = new QLineEdit;
    edit->setReadOnly(true);
    NameControl(edit, name);
    edit->setMinimumWidth(80);
    return edit;
}

QWidget* Wrapped(QWidget& chart) {
    auto* view = new QWidget;
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&chart);
    return view;
}

void FillHeight(QWidget& page) {
    QSizePolicy policy = page.sizePolicy();
    policy.setVerticalStretch(1);
    page.setSizePolicy(policy);
}

QComboBox* RangeBox(const char* name, bool voltage) {
    auto* box = new QComboBox;
    NameControl(box, name, QStringLiteral("Диапазон"));
    if (voltage)
        for (std::string_view text : sig::kNominalVoltageTexts) box->addItem(Q(text));
    else
        for (std::string_view text : sig::kNominalCurrentTexts) box->addItem(Q(text));
    return box;
}

bool ApplyRange(TForm2& form, const QComboBox& box, bool voltage) {
    const int range = edit::RangeNumber(U(box.currentText()));
    try {
        if (voltage) edit::Set_Naminal_U(form.Signal(), range, &form);
        else edit::Set_Naminal_I(form.Signal(), range, &form);
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
        return false;
    }
    return true;
}

}  // namespace ui
