#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <initializer_list>
#include <map>
#include <string_view>

#include "editor/SignalFields.h"
#include "ui/common/Texts.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class QGroupBox;
class QRadioButton;
class QString;
class QWidget;

namespace ui {

class TFieldEdit;
class TForm2;

// The controls of the field table: one per row, named after it, an entry
// field for the editable rows and a result label ("нет" until shown) for
// the computed ones. Entries are handed to `takeOver` with their row.
class TPageFields : public QObject {
    Q_OBJECT
public:
    using TakeOverFn = std::function<void(const edit::TFieldRow&, TFieldEdit&)>;
    using KeyFn = std::function<void(const edit::TFieldRow&, TFieldEdit&)>;

    // `signal` is the window's record; Enter reads it to find the field in use.
    TPageFields(QObject* parent, const sig::TSignalSet& signal, TakeOverFn takeOver, KeyFn escape);

    // The control of a row, made on the first call; the page layouts place it.
    QWidget* Control(std::string_view name);
    // A label that draws the row's quantity symbol.
    QWidget* Symbol(std::string_view name);
    // Every control of the page shows the records; the field being edited
    // keeps the editing form of its text.
    // `phase` is the phase of the single-phase page.
    void Show(std::string_view page, const sig::TSignalSet& s, int phase = 0);

private:
    void Enter(const edit::TFieldRow& row);

    const sig::TSignalSet& signal_;
    TakeOverFn takeOver_;
    KeyFn escape_;
    std::map<std::string_view, QWidget*> controls_;
};

// A framed group of symbol and field pairs, `columns` pairs a row.
QGroupBox* SymbolGrid(const QString& caption, TPageFields& fields, std::initializer_list<std::string_view> names,
                      int columns = 2, int firstRow = 0);

// "Количество учитываемых гармоник:" with the radio buttons 40 and 50
// (named prefix + "_40" and "_50") from grid row `row` on.
std::array<QRadioButton*, 2> AddHarmCountChoice(QGridLayout& grid, int row, const char* prefix,
                                                std::function<void(int)> chosen);

}  // namespace ui

namespace ui {

QToolButton* ToolButton(const QString& caption, const char* name);

// The widget named for tests and automation, with the caption screen readers read.
template <class W>
W* Named(W* widget, const char* name, const QString& caption = {}) {
    NameControl(widget, name, caption);
    return widget;
}

// A read-only value of a page: framed, selectable, "нет" until shown.
QLabel* ResultLabel();
// A read-only value in a line of its own, named.
QLineEdit* ReadOnlyField(const char* name);

// A view of a sub-notebook holding one chart; the view carries the view's name.
QWidget* Wrapped(QWidget& chart);

// A page with charts takes the whole height of its group.
void FillHeight(QWidget& page);

// A range choice: "57.735" and "220.0" for voltages, "1.0" and "5.0" for currents.
QComboBox* RangeBox(const char* name, bool voltage);
// Sets the nominal the box names and recomputes the quantity with the
// window as display; an unknown range is reported and nothing is set.
bool ApplyRange(TForm2& form, const QComboBox& box, bool voltage);

}  // namespace ui
