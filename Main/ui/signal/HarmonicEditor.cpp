#include "ui/signal/HarmonicEditor.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QSpinBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>
#include <map>

#include "CommonUtils/TalvoError.h"
#include "ui/common/FieldEdit.h"
#include "ui/common/IndexTextLabel.h"
#include "ui/common/IndexTextPainter.h"
#include "ui/common/MessageDialog.h"
#include "ui/common/Texts.h"
#include "ui/signal/SignalWindow.h"

namespace ui {
namespace {

using edit::HarmEditor;

// Draws the items of an index combo in indexed text.
class TIndexItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const std::string text = U(item.text);
        item.text.clear();
        item.widget->style()->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        painter->save();
        painter->setFont(option.font);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(
            option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        DrawIndexText(*painter, option.rect.adjusted(4, 0, 0, 0), text, false);
        painter->restore();
    }
};

bool LeftByUser(const QFocusEvent& event) {
    return event.reason() != Qt::PopupFocusReason && event.reason() != Qt::ActiveWindowFocusReason;
}

// A refusal returns the focus to the field with its text selected.
void Refuse(QWidget& field, const std::string& message, bool plain = false) {
    if (plain) ShowPlainMessage(message);
    else MyShowMessage(message, cmn::MessageKind::Warning);
    field.setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(&field)) edit->selectAll();
    if (auto* spin = qobject_cast<QSpinBox*>(&field)) spin->selectAll();
}

int TextWidth(const QFont& font, const char* sample) { return QFontMetrics(font).horizontalAdvance(Q(sample)); }

QSpinBox* NumberEditor(const char* name, int first) {
    auto* spin = new QSpinBox;
    NameControl(spin, name, QStringLiteral("Номер гармоники"));
    // Out-of-range numbers reach the check and its message; the arrows keep to the range.
    spin->setRange(0, 99);
    spin->setKeyboardTracking(false);
    spin->setValue(first);
    spin->setMinimumWidth(52);
    return spin;
}

QListWidget* List(const char* name, const QString& caption) {
    auto* list = new QListWidget;
    NameControl(list, name, caption);
    list->setMinimumWidth(200);
    list->setUniformItemSizes(true);
    return list;
}

// The list's rows anew, keeping the view steady.
void FillList(QListWidget& list, const std::vector<std::string>& rows, int selected) {
    const QSignalBlocker block(&list);
    if (list.count() != static_cast<int>(rows.size())) {
        list.clear();
        for (const std::string& row : rows) list.addItem(Q(row));
    } else {
        for (int i = 0; i < list.count(); ++i) list.item(i)->setText(Q(rows[static_cast<std::size_t>(i)]));
    }
    list.setCurrentRow(selected);
}

struct TLook {
    std::vector<std::string> Items;
    std::vector<std::string> Header;
    const char* CoefCaption;
    const char* AngleCaption;
};

TLook LookOf(const THarmonicEditor::TSetup& setup) {
    const bool inter = edit::IsInter(setup.Editor);
    if (setup.LineView)
        return {{"U~AB~", "U~BC~", "U~СA~"},
                inter ? std::vector<std::string>{"m", "K~Uig(m)~,%", "@f~Uig(m)~"}
                      : std::vector<std::string>{"n", "K~U(n)~, %", "@f~U(n)~"},
                "",
                ""};
    if (edit::IsCurrent(setup.Editor)) {
        if (inter)
            return {
                {" I~A~", " I~B~", " I~С~"}, {"m", "K~Iig(m)~,%", "@f~UIig(m)~"}, "K~I ig(m)~, %", "@f~UI ig(m)~,°"};
        return {{" I~A~", " I~B~", " I~С~"}, {"n", "K~I(n)~, %", "@f~UI(n)~"}, "K~I(n)~, %", "@f~UI(n)~"};
    }
    if (inter)
        return {{"U~A~", "U~B~", "U~С~"}, {"m", "K~Uig(m)~,%", "@f~Uig(m)~"}, "K~U ig(m)~, %", "@f~U ig(m)~      "};
    return {{"U~A~", "U~B~", "U~С~"}, {"n", "K~U(n)~, %", "@f~U(n)~"}, " K~U(n)~, %", "@f~U(n)~"};
}

QString MenuName(edit::CopyMenu menu) {
    return menu == edit::CopyMenu::Voltage ? QStringLiteral("pmVoltageGarm") : QStringLiteral("pmCurrentGarm");
}

}  // namespace

// ---------------------------------------------------------------- index combo and header

TIndexCombo::TIndexCombo(const std::vector<std::string>& items, QWidget* parent) : QComboBox(parent) {
    for (const std::string& item : items) addItem(Q(item));
    setItemDelegate(new TIndexItemDelegate(this));
    setMinimumWidth(64);
}

void TIndexCombo::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const std::string text = U(option.currentText);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(palette().color(QPalette::Text));
    DrawIndexText(painter, field.adjusted(2, 0, 0, 0), text, false);
}

TIndexHeader::TIndexHeader(std::vector<TSection> sections, QWidget* parent)
    : QWidget(parent), sections_(std::move(sections)) {
    QStringList names;
    for (const TSection& s : sections_) names << Q(s.Text);
    setAccessibleName(names.join(QStringLiteral(" | ")));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize TIndexHeader::sizeHint() const {
    int width = 0, height = 0;
    for (const TSection& s : sections_) {
        width += s.Width;
        height = std::max(height, MeasureIndexText(font(), s.Text).height());
    }
    return {width, height + 6};
}

void TIndexHeader::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    int x = 0;
    for (const TSection& s : sections_) {
        const QRect cell(x, 0, s.Width, height());
        painter.setBrush(palette().button());
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(QPalette::ButtonText));
        DrawIndexText(painter, cell.adjusted(1, 1 - s.Raise, -1, -1 - s.Raise), s.Text, true);
        x += s.Width;
    }
}

// ---------------------------------------------------------------- harmonic editing

THarmonicEditing::THarmonicEditing(TForm2& form, HarmEditor editor, bool lineView, const TControls& controls,
                                   QObject* parent)
    : QObject(parent), form_(form), editor_(editor), lineView_(lineView), c_(controls), order_(FirstOrder()) {
    connect(c_.Number, &QSpinBox::valueChanged, this, &THarmonicEditing::NumberEntered);
    c_.Number->installEventFilter(this);
    connect(c_.List, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) return;
        order_ = row + FirstOrder();
        const QSignalBlocker block(c_.Number);
        c_.Number->setValue(order_);
        Activate();
    });
    if (!c_.Coef) return;
    for (TFieldEdit* field : {c_.Coef, c_.Angle}) field->installEventFilter(this);
    connect(c_.Coef, &TFieldEdit::EnterPressed, this, [this] { FieldEnter(false); });
    connect(c_.Angle, &TFieldEdit::EnterPressed, this, [this] { FieldEnter(true); });
}

int THarmonicEditing::FirstOrder() const { return edit::IsInter(editor_) ? edit::kFirstInter : edit::kFirstHarmonic; }

int THarmonicEditing::Phase() const { return std::max(0, c_.Phase->currentIndex()); }

std::vector<std::string> THarmonicEditing::Rows() const {
    const sig::TSignalSet& s = form_.Signal();
    if (!lineView_) return edit::EditorRows(editor_, s, Phase());
    const int slot = sig::LineSlot(Phase());
    if (edit::IsInter(editor_)) return edit::MadeList_InterGarm(s.Voltage.InterGarm[slot]);
    return edit::MadeList(s.Voltage.Garmonik.Faza(slot));
}

void THarmonicEditing::Show() {
    FillList(*c_.List, Rows(), order_ - FirstOrder());
    const QSignalBlocker block(c_.Number);
    c_.Number->setValue(order_);
    FillFields();
}

void THarmonicEditing::ShowUnselected() { FillList(*c_.List, Rows(), -1); }

void THarmonicEditing::FillFields() {
    if (!c_.Coef || !active_) return;
    const sig::TSignalSet& s = form_.Signal();
    c_.Coef->setText(Q(edit::CoefText(editor_, s, Phase(), order_)));
    const QString angle = Q(edit::AngleText(editor_, s, Phase(), order_));
    c_.Angle->setText(c_.Angle->hasFocus() ? angle.chopped(1) : angle);
    c_.Coef->setModified(false);
    c_.Angle->setModified(false);
}

void THarmonicEditing::Activate() {
    Q_EMIT Activated();
    FillFields();
}

void THarmonicEditing::SelectOrder(int order) {
    order_ = order;
    const QSignalBlocker block(c_.List);
    c_.List->setCurrentRow(order_ - FirstOrder());
    const QSignalBlocker blockSpin(c_.Number);
    c_.Number->setValue(order_);
    Activate();
}

void THarmonicEditing::NumberEntered(int value) {
    if (const auto message = edit::CheckOrder(editor_, value)) {
        Refuse(*c_.Number, *message, true);
        return;
    }
    SelectOrder(std::clamp(value, FirstOrder(), edit::IsInter(editor_) ? edit::kLastInter : edit::kLastHarmonic));
}

bool THarmonicEditing::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && LeftByUser(static_cast<QFocusEvent&>(*event))) {
        // Leaving without Enter discards the typing; a press that hands the
        // focus to a window around the field is not leaving.
        QWidget* to = QApplication::focusWidget();
        if (watched == c_.Number) {
            const QSignalBlocker block(c_.Number);
            c_.Number->setValue(order_);
        } else if ((watched == c_.Coef || watched == c_.Angle) && (!to || !to->isAncestorOf(c_.Coef))) {
            FillFields();
        }
    }
    return QObject::eventFilter(watched, event);
}

bool THarmonicEditing::MovesOn(bool angle, bool all) {
    if (stored_) return stored_(angle, all);
    Q_EMIT Stored();
    return true;
}

// The coefficient goes on to the angle; the angle to the next order's coefficient.
void THarmonicEditing::FieldEnter(bool angle) {
    if (!active_) return;
    TFieldEdit& field = angle ? *c_.Angle : *c_.Coef;
    const auto enter = angle ? edit::EnterAngle : edit::EnterCoef;
    edit::THarmEntry out;
    try {
        out = enter(editor_, form_.Signal(), Phase(), order_, U(field.text()), &form_);
    } catch (const cmn::TalvoError& e) {
        out.Message = e.what();
    }
    if (!out.Accepted) {
        Refuse(field, *out.Message);
        return;
    }
    if (angle) order_ = edit::NextOrder(editor_, order_);
    Show();
    if (MovesOn(angle, false)) (angle ? c_.Coef : c_.Angle)->setFocus(Qt::TabFocusReason);
}

void THarmonicEditing::SetAll(edit::SetAllButton button) {
    const bool angle = edit::IsAngleButton(button);
    TFieldEdit* field = angle ? c_.Angle : c_.Coef;
    const edit::TSetAllCheck check = edit::CheckSetAll(button, U(field->text()), Phase());
    if (check.Message) {
        Refuse(*field, *check.Message);
        return;
    }
    if (!AskUser(check.Question, cmn::MessageKind::Confirmation, cmn::Buttons::YesNo)) {
        FillFields();
        if (edit::DeclineFocusesAngle(button)) c_.Angle->setFocus(Qt::TabFocusReason);
        return;
    }
    try {
        edit::ApplySetAll(button, form_.Signal(), Phase(), check.Value, &form_);
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
    }
    if (angle && !edit::IsInter(editor_)) order_ = edit::NextOrder(editor_, order_);
    Show();
    if (MovesOn(angle, true)) (angle ? c_.Coef : c_.Angle)->setFocus(Qt::TabFocusReason);
}

// ---------------------------------------------------------------- harmonic editor

THarmonicEditor::THarmonicEditor(TForm2& form, const TSetup& setup, QWidget* parent)
    : QWidget(parent), form_(form), setup_(setup) {
    const TLook look = LookOf(setup);
    const bool inter = edit::IsInter(setup.Editor);
    auto* combo = new TIndexCombo(look.Items);
    NameControl(combo, setup.Combo, QStringLiteral("Фаза"));
    auto* spin = NumberEditor(setup.Spin, inter ? edit::kFirstInter : edit::kFirstHarmonic);
    auto* list = List(setup.List, Q(look.Header[0]));
    TFieldEdit* coef = nullptr;
    TFieldEdit* angle = nullptr;
    if (!setup.LineView) {
        coef = new TFieldEdit(false);
        angle = new TFieldEdit(true);
    }
    editing_ = new THarmonicEditing(form, setup.Editor, setup.LineView, {combo, spin, list, coef, angle}, this);
    connect(editing_, &THarmonicEditing::Stored, this, &THarmonicEditor::Stored);
    connect(combo, &QComboBox::activated, this, [this] { Show(); });
    connect(list, &QListWidget::itemClicked, this, [coef] {
        if (coef) coef->setFocus(Qt::MouseFocusReason);
    });

    const QFont& f = list->font();
    std::vector<TIndexHeader::TSection> sections{{look.Header[0], TextWidth(f, inter ? "1        " : "2      ") + 4},
                                                 {look.Header[1], TextWidth(f, "0.000          ")},
                                                 {look.Header[2], TextWidth(f, "-170.000°   ")}};

    auto* top = new QHBoxLayout;
    top->addWidget(combo);
    top->addWidget(new QLabel(inter ? QStringLiteral("m") : QStringLiteral("n")));
    top->addWidget(spin);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(top);
    if (!setup.LineView) layout->addWidget(Fields(coef, angle));
    auto* header = new TIndexHeader(sections);
    layout->addWidget(header);
    layout->addWidget(list, 1);
    list->setMinimumWidth(header->sizeHint().width() + 24);
}

QWidget* THarmonicEditor::Fields(TFieldEdit* coef, TFieldEdit* angle) {
    const TLook look = LookOf(setup_);
    NameControl(coef, setup_.Coef, Q(look.CoefCaption));
    NameControl(angle, setup_.Angle, Q(look.AngleCaption));
    for (TFieldEdit* field : {coef, angle}) field->setMinimumWidth(70);
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    grid->addWidget(new TIndexTextLabel(look.CoefCaption), 0, 0);
    grid->addWidget(coef, 0, 1);
    grid->addWidget(new TIndexTextLabel(look.AngleCaption), 1, 0);
    grid->addWidget(angle, 1, 1);
    const bool inter = edit::IsInter(setup_.Editor);
    const QString what = inter ? QStringLiteral("интергармоники") : QStringLiteral("гармоники");
    grid->addWidget(
        SetAllButton(setup_.CoefButton, setup_.CoefAll,
                     QStringLiteral("Копировать значение коэффициента во все ") + what + QStringLiteral(" ")),
        0, 2);
    grid->addWidget(SetAllButton(setup_.AngleButton, setup_.AngleAll,
                                 QStringLiteral("Копировать значение фазового угла во все ") + what),
                    1, 2);
    grid->addWidget(CopyButton(), 0, 3, 2, 1, Qt::AlignTop);
    grid->setColumnStretch(4, 1);
    return box;
}

QToolButton* THarmonicEditor::SetAllButton(const char* name, edit::SetAllButton button, const QString& caption) {
    auto* b = new QToolButton;
    b->setText(QStringLiteral("Во все"));
    b->setToolTip(caption);
    NameControl(b, name, caption);
    connect(b, &QToolButton::clicked, this, [this, button] { editing_->SetAll(button); });
    return b;
}

QToolButton* THarmonicEditor::CopyButton() {
    const edit::CopyMenu which = edit::IsCurrent(setup_.Editor) ? edit::CopyMenu::Current : edit::CopyMenu::Voltage;
    menu_ = new QMenu(this);
    menu_->setObjectName(MenuName(which));
    std::map<std::string_view, QMenu*> groups;
    for (const edit::TCopyItem& item : edit::CopyMenuItems(which)) {
        QMenu*& group = groups[item.Group];
        if (!group) {
            group = menu_->addMenu(Q(item.Group));
            if (item.Tag >= 3 && !copyGroup_) copyGroup_ = group->menuAction();
        }
        QAction* action = group->addAction(Q(item.Caption));
        action->setObjectName(MenuName(which) + QStringLiteral("_") + QString::number(item.Tag));
        action->setData(item.Tag);
        const int tag = item.Tag;
        connect(action, &QAction::triggered, this, [this, tag] { MenuChosen(tag); });
    }
    connect(menu_, &QMenu::aboutToShow, this, &THarmonicEditor::MenuOpening);
    MenuOpening();
    auto* button = new QToolButton;
    button->setText(QStringLiteral("Копировать"));
    button->setPopupMode(QToolButton::InstantPopup);
    button->setMenu(menu_);
    NameControl(button, (std::string("sbCopy") + setup_.List).c_str(), button->text());
    return button;
}

void THarmonicEditor::MenuOpening() {
    copyGroup_->setText(Q(edit::CopyMenuCaption(edit::IsInter(setup_.Editor))));
    const edit::CopyMenu which = edit::IsCurrent(setup_.Editor) ? edit::CopyMenu::Current : edit::CopyMenu::Voltage;
    for (QAction* action : menu_->findChildren<QAction*>())
        if (action->data().isValid()) action->setEnabled(edit::CopyItemEnabled(which, action->data().toInt(), Phase()));
}

void THarmonicEditor::MenuChosen(int tag) {
    const edit::CopyMenu which = edit::IsCurrent(setup_.Editor) ? edit::CopyMenu::Current : edit::CopyMenu::Voltage;
    try {
        edit::ApplyCopyItem(which, edit::IsInter(setup_.Editor), tag, Phase(), form_.Signal(), &form_);
    } catch (const cmn::TalvoError& e) {
        MyShowMessage(e.what(), cmn::MessageKind::Warning);
    }
    Show();
    Q_EMIT Stored();
}

// ---------------------------------------------------------------- single phase

namespace {

constexpr const char* kOnePhaseFields[4]{"e_one_faza_garm_u", "e_one_faza_ugol_u", "e_one_faza_garm_i",
                                         "e_one_faza_ugol_i"};
constexpr const char* kOnePhaseCaptions[4]{" K~U(n)~, %", "@f~U(n)~", "K~I(n)~, %", "@f~UI(n)~"};
constexpr HarmEditor kOnePhaseEditors[4]{HarmEditor::OnePhaseU, HarmEditor::OnePhaseU, HarmEditor::OnePhaseI,
                                         HarmEditor::OnePhaseI};

}  // namespace

TOnePhaseHarmonics::TOnePhaseHarmonics(TForm2& form, QWidget* parent)
    : QWidget(parent),
      form_(form),
      spin_(NumberEditor("SpinEdit3", edit::kFirstHarmonic)),
      list_(List("ListBox3", QStringLiteral("n"))) {
    connect(spin_, &QSpinBox::valueChanged, this, &TOnePhaseHarmonics::NumberEntered);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { RowClicked(list_->row(item)); });
    auto* top = new QGridLayout;
    top->setHorizontalSpacing(4);
    top->addWidget(new QLabel(QStringLiteral("n")), 0, 0);
    top->addWidget(spin_, 1, 0);
    for (int i = 0; i < 4; ++i) {
        fields_[i] = new TFieldEdit(i % 2 == 1);
        NameControl(fields_[i], kOnePhaseFields[i], Q(kOnePhaseCaptions[i]));
        fields_[i]->setEnabled(false);
        fields_[i]->setMinimumWidth(70);
        connect(fields_[i], &TFieldEdit::EnterPressed, this, [this, i] { FieldEnter(i); });
        top->addWidget(new TIndexTextLabel(kOnePhaseCaptions[i]), 0, i + 1);
        top->addWidget(fields_[i], 1, i + 1);
    }
    top->setColumnStretch(5, 1);
    const QFont& f = list_->font();
    const int field = TextWidth(f, "0.000         ");
    auto* header = new TIndexHeader({{"n", TextWidth(f, "2     ") + 2},
                                     {"K~U(n)~, %", field},
                                     {"@f~U(n)~", field, 3},
                                     {"K~I(n)~, %", field},
                                     {"@f~UI(n)~", TextWidth(f, "0.000°     "), 3},
                                     {"P, Вт", TextWidth(f, "0.00000     ")},
                                     {"Q, вар", TextWidth(f, "0.00000     ")},
                                     {"S, ВA", TextWidth(f, "0.00000   ")}});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addWidget(header);
    layout->addWidget(list_, 1);
    list_->setMinimumWidth(header->sizeHint().width() + 24);
}

void TOnePhaseHarmonics::SetPhase(int phase) {
    phase_ = phase;
    for (TFieldEdit* field : fields_) field->clear();
}

void TOnePhaseHarmonics::Rebuild() {
    table_ = edit::MadeList_Power(form_.Signal(), phase_);
    FillList(*list_, table_.Rows, order_ - edit::kFirstHarmonic);
    Q_EMIT TableChanged();
}

void TOnePhaseHarmonics::RowClicked(int row) {
    order_ = row + edit::kFirstHarmonic;
    const QSignalBlocker block(spin_);
    spin_->setValue(order_);
    for (TFieldEdit* field : fields_) field->setEnabled(true);
    FillFields();
    fields_[0]->setFocus(Qt::MouseFocusReason);
}

void TOnePhaseHarmonics::FillFields() {
    const sig::TSignalSet& s = form_.Signal();
    for (int i = 0; i < 4; ++i) {
        const HarmEditor e = kOnePhaseEditors[i];
        fields_[i]->setText(Q(i % 2 ? edit::AngleText(e, s, phase_, order_) : edit::CoefText(e, s, phase_, order_)));
    }
}

void TOnePhaseHarmonics::NumberEntered(int value) {
    if (const auto message = edit::CheckHarmonicNumber(std::to_string(value))) {
        Refuse(*spin_, *message, true);
        return;
    }
    RowClicked(value - edit::kFirstHarmonic);
    spin_->setFocus();
}

void TOnePhaseHarmonics::FieldEnter(int index) {
    TFieldEdit& field = *fields_[index];
    const HarmEditor e = kOnePhaseEditors[index];
    sig::TSignalSet& s = form_.Signal();
    const edit::THarmEntry out = index % 2 ? edit::EnterAngle(e, s, phase_, order_, U(field.text()), nullptr)
                                           : edit::EnterCoef(e, s, phase_, order_, U(field.text()), nullptr);
    if (!out.Accepted) {
        Refuse(field, *out.Message);
        return;
    }
    field.setText(Q(out.Shown));
    if (index == 3) order_ = edit::NextOrder(e, order_);
    Rebuild();
    if (index == 3) {
        const QSignalBlocker block(spin_);
        spin_->setValue(order_);
        FillFields();
    }
    fields_[(index + 1) % 4]->setFocus(Qt::TabFocusReason);
}

}  // namespace ui
