#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <string_view>

#include "editor/SignalFields.h"

class QWidget;

namespace ui {

class TFieldEdit;

// The controls of the field table: one per row, named after it, an entry
// field for the editable rows and a result label ("нет" until shown) for
// the computed ones. Entries are handed to `takeOver` with their row.
class TPageFields : public QObject {
    Q_OBJECT
public:
    using TakeOverFn = std::function<void(const edit::TFieldRow&, TFieldEdit&)>;
    using KeyFn = std::function<void(const edit::TFieldRow&, TFieldEdit&)>;

    TPageFields(QObject* parent, TakeOverFn takeOver, KeyFn escape);

    // The control of a row, made on the first call; the page layouts place it.
    QWidget* Control(std::string_view name);
    // A label that draws the row's quantity symbol.
    QWidget* Symbol(std::string_view name);
    // Every control of the page shows the records; the field being edited
    // keeps the editing form of its text.
    void Show(std::string_view page, const sig::TSignalSet& s);

private:
    void Enter(const edit::TFieldRow& row);

    TakeOverFn takeOver_;
    KeyFn escape_;
    std::map<std::string_view, QWidget*> controls_;
};

}  // namespace ui
