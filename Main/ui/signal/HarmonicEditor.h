#pragma once

#include <QComboBox>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "editor/HarmonicRules.h"

class QListWidget;
class QMenu;
class QSpinBox;
class QToolButton;

namespace ui {

class TForm2;
class TFieldEdit;

// A combo box whose items are quantity symbols in indexed text ("U~A~").
class TIndexCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TIndexCombo(const std::vector<std::string>& items, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The header of a list, its sections drawn centred in indexed text.
class TIndexHeader : public QWidget {
    Q_OBJECT
public:
    struct TSection {
        std::string Text;
        int Width;
        int Raise = 0;  // pixels drawn higher than the others
    };
    explicit TIndexHeader(std::vector<TSection> sections, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<TSection> sections_;
};

// The logic of one harmonic or interharmonic editor over controls its owner
// lays out: the number editor and the list follow each other, Enter in the
// coefficient or angle field stores through the editor's rule, a set-all
// button asks and stores, leaving a field or the number editor discards the
// typing. Two editings may share one pair of fields: only the active one
// acts on them and fills them.
class THarmonicEditing : public QObject {
    Q_OBJECT
public:
    struct TControls {
        QComboBox* Phase;
        QSpinBox* Number;
        QListWidget* List;
        TFieldEdit* Coef = nullptr;
        TFieldEdit* Angle = nullptr;
    };
    // After a store: whether the focus moves on to the other field. `angle`
    // names the field stored from, `all` a set-all button. Without a hook
    // Stored() is emitted and the focus moves on.
    using TStoredHook = std::function<bool(bool angle, bool all)>;

    THarmonicEditing(TForm2& form, edit::HarmEditor editor, bool lineView, const TControls& controls, QObject* parent);
    void SetStoredHook(TStoredHook hook) { stored_ = std::move(hook); }
    void SetActive(bool active) { active_ = active; }

    int Phase() const;
    int Order() const { return order_; }
    // The list with the order's row selected, the number and the fields.
    void Show();
    // The list with no row selected.
    void ShowUnselected();
    void FillFields();
    // The editor was chosen (its phase, number or list): Activated(), then the fields.
    void Activate();
    void SetAll(edit::SetAllButton button);

Q_SIGNALS:
    void Activated();
    void Stored();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SelectOrder(int order);
    void NumberEntered(int value);
    void FieldEnter(bool angle);
    bool MovesOn(bool angle, bool all);
    std::vector<std::string> Rows() const;
    int FirstOrder() const;

    TForm2& form_;
    edit::HarmEditor editor_;
    bool lineView_;
    TControls c_;
    int order_;
    bool active_ = true;
    TStoredHook stored_;
};

// One harmonic or interharmonic editor: the phase choice, the number
// editor, the coefficient and angle fields with their set-all buttons, the
// copy and zero menu and the list of the chosen phase. The line voltage
// editors are views: choice, number and list only.
class THarmonicEditor : public QWidget {
    Q_OBJECT
public:
    struct TSetup {
        edit::HarmEditor Editor;
        bool LineView = false;
        const char* Combo;
        const char* Spin;
        const char* Coef = nullptr;
        const char* Angle = nullptr;
        const char* List = nullptr;
        const char* CoefButton = nullptr;
        const char* AngleButton = nullptr;
        edit::SetAllButton CoefAll = edit::SetAllButton::GarmU;
        edit::SetAllButton AngleAll = edit::SetAllButton::UgolU;
    };
    THarmonicEditor(TForm2& form, const TSetup& setup, QWidget* parent = nullptr);

    // The list, the selection and the fields anew from the records.
    void Show() { editing_->Show(); }
    int Phase() const { return editing_->Phase(); }
    int Order() const { return editing_->Order(); }

Q_SIGNALS:
    // A value was stored: the page redisplays what depends on it.
    void Stored();

private:
    QWidget* Fields(TFieldEdit* coef, TFieldEdit* angle);
    QToolButton* SetAllButton(const char* name, edit::SetAllButton button, const QString& caption);
    QToolButton* CopyButton();
    void MenuOpening();
    void MenuChosen(int tag);

    TForm2& form_;
    TSetup setup_;
    THarmonicEditing* editing_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* copyGroup_ = nullptr;
};

// The harmonic editor of the single-phase page for the phase its owner
// chooses: both quantities of n = 2 ... 50 side by side and the
// per-harmonic power table.
class TOnePhaseHarmonics : public QWidget {
    Q_OBJECT
public:
    explicit TOnePhaseHarmonics(TForm2& form, QWidget* parent = nullptr);
    // Turns to phase 0 ... 2 and empties the four fields; the table follows
    // on the next Rebuild.
    void SetPhase(int phase);
    const edit::TPowerTable& Table() const { return table_; }
    // The table anew from the records, the fields kept.
    void Rebuild();

Q_SIGNALS:
    // The table was rebuilt: its series are ready for the chart.
    void TableChanged();

private:
    void RowClicked(int row);
    void FillFields();
    void FieldEnter(int index);
    void NumberEntered(int value);

    TForm2& form_;
    int phase_ = 0;
    int order_ = edit::kFirstHarmonic;
    edit::TPowerTable table_;
    QSpinBox* spin_;
    std::array<TFieldEdit*, 4> fields_{};
    QListWidget* list_;
};

}  // namespace ui
