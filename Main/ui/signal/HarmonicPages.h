#pragma once

#include <QTableWidget>
#include <QWidget>
#include <string>

#include "editor/HarmonicRules.h"

class QCheckBox;
class QStackedWidget;

class QBoxLayout;

namespace ui {

class TForm2;
class THarmonicEditor;

// The harmonic views beside the values of page_u (phase and line voltage
// editors) or page_i (phase current editor): a sub-notebook whose first
// view holds the editors; the vector diagram and waveform views follow.
class THarmonicViews : public QWidget {
    Q_OBJECT
public:
    // `vectors` and `waves` are the vector diagram and waveform views.
    THarmonicViews(TForm2& form, bool current, QWidget& vectors, QWidget& waves, QWidget* parent = nullptr);
    void Show();

private:
    std::vector<THarmonicEditor*> editors_;
};

// The column beside a voltage or current page's values: the harmonic
// editors with the vector and waveform views above the harmonic chart.
THarmonicViews* AddHarmonicColumn(QBoxLayout& page, TForm2& form, bool current);

// A grid whose header cells are quantity symbols in indexed text.
class TIndexGrid : public QTableWidget {
    Q_OBJECT
public:
    TIndexGrid(const char* name, int columns, std::string_view (*header)(int column), QWidget* parent = nullptr);
};

// page_garmonics: every harmonic of every phase and line in one grid.
class THarmonicGrid : public TIndexGrid {
    Q_OBJECT
public:
    explicit THarmonicGrid(TForm2& form, QWidget* parent = nullptr);
    // Fills the grid from the records; then checks cell [1,1] and puts the
    // cursor there, or reports it and leaves the cursor.
    void Select();
    void Fill();
    // What leaving the cell does with the text of its in-place editor.
    void Commit(int row, int column, const QString& text);
    // Esc: the cell gets back the text it had when entered.
    void Revert();
    // Enter and Tab: one row down, then on to the next column.
    void MoveNext();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TForm2& form_;
    QString remembered_;
    bool stay_ = false;
};

// page_phase_angle: the angles between the n-th harmonics, read only.
class TAngleGrid : public TIndexGrid {
    Q_OBJECT
public:
    explicit TAngleGrid(TForm2& form, QWidget* parent = nullptr);
    void Fill();

private:
    TForm2& form_;
};

// page_intergarm: the interharmonic editors of the phase voltages, the line
// voltages (view only) and the phase currents, and the interharmonics switch.
class TIntergarmPage : public QWidget {
    Q_OBJECT
public:
    explicit TIntergarmPage(TForm2& form, QWidget* parent = nullptr);
    void Show();

private:
    TForm2& form_;
    THarmonicEditor* voltage_;
    THarmonicEditor* line_;
    THarmonicEditor* current_;
    QCheckBox* include_;
};

}  // namespace ui
