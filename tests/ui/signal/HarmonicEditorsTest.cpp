#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "DialogDriver.h"
#include "FieldDriver.h"
#include "SignalWindowFixture.h"
#include "TempFolder.h"
#include "editor/HarmonicRules.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/HarmonicEditor.h"
#include "ui/signal/SignalWindow.h"

using ui::TForm2;
using uitest::FocusName;
using uitest::Press;
using uitest::TypeOver;

namespace {

const QString kParseError = QStringLiteral("Ошибка при вводе значения! Повторите ввод!");

template <class T = QWidget>
T* Find(QWidget& form, const char* name) {
    T* found = form.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s", name);
    return found;
}

// Types into a field and presses Enter there.
void Enter(QWidget& form, const char* field, const QString& text) {
    Find(form, field)->setFocus();
    TypeOver(text);
    Press(Qt::Key_Return);
}

// Types into the grid's in-place editor, which the first key opens.
void TypeIntoGrid(QTableWidget& grid, const QString& text) {
    grid.setFocus();
    QTest::keyClicks(&grid, text.left(1));
    QTest::keyClicks(uitest::WaitForFocus(), text.mid(1));
}

QString Row(QWidget& form, const char* list, int row) { return Find<QListWidget>(form, list)->item(row)->text(); }

}  // namespace

class HarmonicEditorsTest : public uitest::TSignalWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void VoltageEditorTakesEnterOnlyAndMovesOn() {
        TForm2& form = Window("Напряжение");
        const sig::TGarmonik& g = form.Signal().Voltage.Garmonik;
        Enter(form, "Edit15", QStringLiteral("80"));
        QCOMPARE(FocusName(), QStringLiteral("Edit16"));
        QCOMPARE(double(g.a.Koef[2]), 80.0);
        QCOMPARE(Row(form, "ListBox1", 0), QStringLiteral("2      80.000        0.000°"));
        QVERIFY(form.Signal().Voltage.KU[sig::fzA] > 79);  // recomputed
        TypeOver(QStringLiteral("190"));
        Press(Qt::Key_Return);
        QCOMPARE(double(g.a.Angle[2]), -170.0);
        QCOMPARE(FocusName(), QStringLiteral("Edit15"));
        QCOMPARE(Find<QSpinBox>(form, "SpinEdit1")->value(), 3);
        QCOMPARE(Find<QListWidget>(form, "ListBox1")->currentRow(), 1);
        QCOMPARE(Row(form, "ListBox1", 0), QStringLiteral("2      80.000        -170.000°"));

        // Typing without Enter is discarded when the field is left.
        TypeOver(QStringLiteral("7"));
        Find(form, "Edit16")->setFocus();
        QCOMPARE(Find<QLineEdit>(form, "Edit15")->text(), QStringLiteral("0.000"));
        QCOMPARE(double(g.a.Koef[3]), 0.0);

        uitest::TMessageLog messages;
        Enter(form, "Edit15", QStringLiteral("80.001"));
        QTRY_COMPARE(messages.Texts,
                     QStringList{QStringLiteral("Значение гармоники выходит за заданный диапазон (от 0 до 80%)!")});
        QTRY_COMPARE(FocusName(), QStringLiteral("Edit15"));
        QCOMPARE(Find<QLineEdit>(form, "Edit15")->text(), QStringLiteral("80.001"));
        Enter(form, "Edit15", QStringLiteral("1e999"));
        QTRY_COMPARE(messages.Texts.size(), 2);
        QCOMPARE(messages.Texts[1], QStringLiteral("Неверный формат числа!"));
        Enter(form, "Edit16", QStringLiteral("x"));
        QTRY_COMPARE(messages.Texts.size(), 3);
        QCOMPARE(messages.Texts[2], kParseError);
        QCOMPARE(double(g.a.Koef[3]), 0.0);
        QCOMPARE(double(g.a.Angle[3]), 0.0);
    }

    void NumberEditorAndTheLastHarmonic() {
        TForm2& form = Window("Напряжение");
        auto* spin = Find<QSpinBox>(form, "SpinEdit1");
        uitest::TMessageLog messages;
        for (const char* number : {"1", "51"}) {
            spin->setFocus();
            TypeOver(QString::fromLatin1(number));
            Press(Qt::Key_Return);
        }
        QTRY_COMPARE(messages.Texts.size(), 2);
        for (const QString& text : messages.Texts)
            QCOMPARE(text, QStringLiteral("Заданный номер гармоники превышает возможный диапазон (2..50)"));
        QTRY_COMPARE(FocusName(), QStringLiteral("SpinEdit1"));
        // Leaving puts the number of the selected row back.
        Find(form, "Edit15")->setFocus();
        QCOMPARE(spin->value(), 2);

        spin->setFocus();
        TypeOver(QStringLiteral("50"));
        Press(Qt::Key_Return);
        QCOMPARE(Find<QListWidget>(form, "ListBox1")->currentRow(), 48);
        Enter(form, "Edit16", QStringLiteral("10"));
        QCOMPARE(spin->value(), 50);
        QCOMPARE(Find<QListWidget>(form, "ListBox1")->currentRow(), 48);
        QCOMPARE(double(form.Signal().Voltage.Garmonik.a.Angle[50]), 10.0);

        // A click on a row of the current list fills its fields.
        form.SelectTab(form.FindTab("Ток"));
        form.Signal().Current.Garmonik.a.Koef[9] = 4.5;
        auto* list = Find<QListWidget>(form, "ListBox4");
        form.ShowAllData_i();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(7)).center());
        QCOMPARE(Find<QSpinBox>(form, "SpinEdit2")->value(), 9);
        QCOMPARE(Find<QLineEdit>(form, "Edit32")->text(), QStringLiteral("4.500"));
        QCOMPARE(FocusName(), QStringLiteral("Edit32"));
        Enter(form, "Edit32", QStringLiteral("100"));
        QCOMPARE(double(form.Signal().Current.Garmonik.a.Koef[9]), 100.0);
        QVERIFY(form.Signal().Current.KI[0] > 99);
    }

    void SetAllAsksAndRefusesBeyondItsLimit() {
        TForm2& form = Window("Напряжение");
        const sig::TGarmonik& g = form.Signal().Voltage.Garmonik;
        Find<QComboBox>(form, "ComboBox1")->setCurrentIndex(1);
        {
            uitest::TMessageLog messages;
            Find<QLineEdit>(form, "Edit15")->setText(QStringLiteral("80"));
            Find<QToolButton>(form, "sb_write_all_garm_u")->click();
            QTRY_COMPARE(messages.Texts,
                         QStringList{QStringLiteral("Значение гармоники выходит за заданный диапазон (от 0 до 20%)!")});
        }
        {
            uitest::TMessageLog no("btnCancel");
            Find<QLineEdit>(form, "Edit15")->setText(QStringLiteral("20"));
            Find<QToolButton>(form, "sb_write_all_garm_u")->click();
            QTRY_COMPARE(no.Texts, QStringList{QStringLiteral("Задать модули всех гармоник фазы B равными 20.000 %?")});
            QCOMPARE(double(g.b.Koef[50]), 0.0);
        }
        {
            uitest::TMessageLog yes;
            Find<QLineEdit>(form, "Edit15")->setText(QStringLiteral("20"));
            Find<QToolButton>(form, "sb_write_all_garm_u")->click();
            QTRY_COMPARE(yes.Texts.size(), 1);
            for (int n = 2; n <= 50; ++n) QCOMPARE(double(g.b.Koef[n]), 20.0);
            QCOMPARE(double(g.a.Koef[2]), 0.0);
            QCOMPARE(Row(form, "ListBox1", 48), QStringLiteral("50    20.000        0.000°"));
            Find<QLineEdit>(form, "Edit16")->setText(QStringLiteral("370"));
            Find<QToolButton>(form, "sb_write_all_ugol_u")->click();
            QTRY_COMPARE(yes.Texts.size(), 2);
            QCOMPARE(yes.Texts[1], QStringLiteral("Задать фазовые углы всех гармоник фазы B равными 10.000 градусов?"));
            QCOMPARE(double(g.b.Angle[2]), 10.0);
        }
    }

    void CopyMenusActOnEveryTag() {
        TForm2& form = Window("Напряжение");
        auto* button = Find<QToolButton>(form, "sbCopyListBox1");
        QMenu* menu = button->menu();
        QCOMPARE(menu->objectName(), QStringLiteral("pmVoltageGarm"));
        Find<QComboBox>(form, "ComboBox1")->setCurrentIndex(1);
        Q_EMIT menu->aboutToShow();
        QStringList disabled;
        for (QAction* action : menu->findChildren<QAction*>())
            if (action->data().isValid() && !action->isEnabled()) disabled << action->objectName();
        disabled.sort();
        QCOMPARE(disabled, (QStringList{QStringLiteral("pmVoltageGarm_10"), QStringLiteral("pmVoltageGarm_4"),
                                        QStringLiteral("pmVoltageGarm_7")}));
        QCOMPARE(menu->actions()[1]->text(), QStringLiteral("Копировать параметры гармоник в..."));

        // Every tag of both menus, from phase B, against the rule on a copy of the records.
        sig::TSignalSet start = form.Signal();
        for (int n = 2; n <= 50; ++n) {
            start.Voltage.Garmonik.b.Koef[n] = n;
            start.Voltage.Garmonik.b.Angle[n] = -n;
            start.Current.Garmonik.b.Koef[n] = 2 * n;
            start.Current.Garmonik.b.Angle[n] = n;
        }
        Find<QComboBox>(form, "ComboBox5")->setCurrentIndex(1);
        for (const auto& [list, which] : {std::pair{"sbCopyListBox1", edit::CopyMenu::Voltage},
                                          std::pair{"sbCopyListBox4", edit::CopyMenu::Current}}) {
            QMenu* m = Find<QToolButton>(form, list)->menu();
            for (const edit::TCopyItem& item : edit::CopyMenuItems(which)) {
                form.Signal() = start;
                sig::TSignalSet expected = start;
                edit::ApplyCopyItem(which, false, item.Tag, 1, expected, nullptr);
                const QString name = m->objectName() + QStringLiteral("_") + QString::number(item.Tag);
                Q_EMIT m->aboutToShow();  // as the menu opens
                m->findChild<QAction*>(name)->trigger();
                for (int p = 0; p < 3; ++p)
                    for (int n = 2; n <= 50; ++n) {
                        QCOMPARE(form.Signal().Voltage.Garmonik.Faza(p).Koef[n],
                                 expected.Voltage.Garmonik.Faza(p).Koef[n]);
                        QCOMPARE(form.Signal().Voltage.Garmonik.Faza(p).Angle[n],
                                 expected.Voltage.Garmonik.Faza(p).Angle[n]);
                        QCOMPARE(form.Signal().Current.Garmonik.Faza(p).Koef[n],
                                 expected.Current.Garmonik.Faza(p).Koef[n]);
                        QCOMPARE(form.Signal().Current.Garmonik.Faza(p).Angle[n],
                                 expected.Current.Garmonik.Faza(p).Angle[n]);
                    }
            }
        }
        // Zeroing on the current page shows in its list.
        QCOMPARE(Row(form, "ListBox4", 0).left(12), QStringLiteral("2      4.000"));
    }

    void GridCellsFollowTheirRules() {
        TForm2& form = Window("Гармоники");
        auto* grid = Find<QTableWidget>(form, "StringGrid1");
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->currentColumn(), 1);
        TypeIntoGrid(*grid, QStringLiteral("100"));
        Press(Qt::Key_Return);
        QCOMPARE(double(form.Signal().Voltage.Garmonik.a.Koef[2]), 100.0);
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("100.000"));
        QCOMPARE(grid->currentRow(), 1);

        uitest::TMessageLog messages;
        TypeIntoGrid(*grid, QStringLiteral("z"));
        Press(Qt::Key_Return);
        QTRY_COMPARE(messages.Texts.size(), 1);
        QCOMPARE(messages.Texts[0],
                 QStringLiteral("Ошибка при вводе значения.(Возможно выход за пределы диапазона). Повторите ввод!"));
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("z"));
        QCOMPARE(grid->currentRow(), 2);  // the cursor moved on
        QCOMPARE(double(form.Signal().Voltage.Garmonik.a.Koef[3]), 0.0);

        // An angle of current phase C, folded.
        grid->setCurrentCell(0, 12);
        TypeIntoGrid(*grid, QStringLiteral("190"));
        Press(Qt::Key_Tab);
        QCOMPARE(grid->item(0, 12)->text(), QStringLiteral("-170.000°"));
        QCOMPARE(double(form.Signal().Current.Garmonik.c.Angle[2]), -170.0);
        QCOMPARE(grid->currentRow(), 1);

        // A line voltage cell is read only: the old text comes back, the cursor stays.
        grid->setCurrentCell(3, 13);
        TypeIntoGrid(*grid, QStringLiteral("5"));
        Press(Qt::Key_Return);
        QTRY_COMPARE(messages.Texts.size(), 2);
        QCOMPARE(messages.Texts[1], QStringLiteral("Значение только для чтения!"));
        QTRY_COMPARE(grid->currentRow(), 3);
        QCOMPARE(grid->currentColumn(), 13);
        QCOMPARE(grid->item(3, 13)->text(), QStringLiteral("0.000"));

        // Clicking another cell takes the typing over as well.
        TypeIntoGrid(*grid, QStringLiteral("7.5"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(5, 9)).center());
        QCOMPARE(double(form.Signal().Voltage.Garmonik.bc.Koef[5]), 0.0);
        QTRY_COMPARE(messages.Texts.size(), 3);
        QCOMPARE(grid->item(3, 13)->text(), QStringLiteral("0.000"));
        grid->setCurrentCell(5, 9);
        TypeIntoGrid(*grid, QStringLiteral("7.5"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(2, 3)).center());
        QCOMPARE(double(form.Signal().Voltage.Garmonik.c.Koef[7]), 7.5);
        QCOMPARE(grid->currentRow(), 2);
        QCOMPARE(grid->currentColumn(), 3);

        // Esc puts the text back; from the last row Enter goes to the next column.
        grid->setCurrentCell(48, 4);
        TypeIntoGrid(*grid, QStringLiteral("45"));
        Press(Qt::Key_Escape);
        QCOMPARE(grid->item(48, 4)->text(), QStringLiteral("0.000°"));
        QCOMPARE(double(form.Signal().Current.Garmonik.a.Angle[50]), 0.0);
        Press(Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->currentColumn(), 5);
        QCOMPARE(messages.Texts.size(), 3);
    }

    void InterharmonicsPageEditsAndSwitch() {
        TForm2& form = Window("Интергармоники");
        Enter(form, "EditIntergarmKuf", QStringLiteral("80"));
        QCOMPARE(FocusName(), QStringLiteral("EditIntergarmFiUf"));
        QCOMPARE(double(form.Signal().Voltage.InterGarm[0].Koef[1]), 80.0);
        QCOMPARE(Row(form, "ListBoxIntergarmUf", 0), QStringLiteral("1        80.000        0.000°"));
        // The line voltage AB follows phase A.
        QVERIFY(Row(form, "ListBoxIntergarmUmf", 0) != QStringLiteral("1        0.000          0.000°"));
        TypeOver(QStringLiteral("45"));
        Press(Qt::Key_Return);
        QCOMPARE(Find<QSpinBox>(form, "spedtIntergarmUf")->value(), 2);
        QCOMPARE(FocusName(), QStringLiteral("EditIntergarmKuf"));

        uitest::TMessageLog messages;
        Enter(form, "EditIntergarmKi", QStringLiteral("100.001"));
        QTRY_COMPARE(
            messages.Texts,
            QStringList{QStringLiteral("Значение интергармоники выходит за заданный диапазон (от 0 до 100%)!")});
        Find<QSpinBox>(form, "spedtIntergarmI")->setValue(49);
        Enter(form, "EditIntergarmFiUI", QStringLiteral("-190"));
        QCOMPARE(double(form.Signal().Current.InterGarm[0].Angle[49]), 170.0);
        QCOMPARE(Find<QSpinBox>(form, "spedtIntergarmI")->value(), 49);

        auto* include = Find<QCheckBox>(form, "ChBoxHasIntergarms");
        QCOMPARE(include->text(), QStringLiteral("Включить интергармоники в сигнал"));
        include->click();
        QVERIFY(form.Signal().Switches.IncludeInterGarm);
    }

    void SinglePhaseEditorWrapsAndBuildsItsTable() {
        TForm2& form = Window("Напряжение");
        ui::TOnePhaseHarmonics editor(form);
        editor.resize(700, 400);
        editor.show();
        editor.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        int changes = 0;
        connect(&editor, &ui::TOnePhaseHarmonics::TableChanged, this, [&changes] { ++changes; });
        editor.SetPhase(2);
        editor.Rebuild();
        QVERIFY(!Find(editor, "e_one_faza_garm_u")->isEnabled());
        auto* list = Find<QListWidget>(editor, "ListBox3");
        list->scrollToItem(list->item(48));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(48)).center());
        QCOMPARE(FocusName(&editor), QStringLiteral("e_one_faza_garm_u"));
        uitest::TMessageLog messages;
        TypeOver(QStringLiteral("80.001"));
        Press(Qt::Key_Return);
        QTRY_COMPARE(messages.Texts,
                     QStringList{QStringLiteral("Выход за границы заданного диапазона! Повторите ввод!")});
        for (const char* text : {"10", "0", "20", "90"}) {
            uitest::WaitForFocus()->setFocus();
            TypeOver(QString::fromLatin1(text));
            Press(Qt::Key_Return);
        }
        QCOMPARE(double(form.Signal().Voltage.Garmonik.c.Koef[50]), 10.0);
        QCOMPARE(double(form.Signal().Current.Garmonik.c.Angle[50]), 90.0);
        // After the current angle of 50 the editor is back on harmonic 2.
        QCOMPARE(Find<QSpinBox>(editor, "SpinEdit3")->value(), 2);
        QCOMPARE(FocusName(&editor), QStringLiteral("e_one_faza_garm_u"));
        const sig::real s50 = form.Signal().Voltage.UC * 0.1 * form.Signal().Current.IC * 0.2;
        QVERIFY(std::abs(double(editor.Table().Ks[50]) - 100.0 * s50 / double(editor.Table().SumS)) < 1e-9);
        QVERIFY(list->item(48)->text().startsWith(
            QStringLiteral("50   10.000       0.000°       20.000       90.000°   ")));
        QVERIFY(changes >= 5);
    }

    void EditedStoresSurviveTheFile() {
        TForm2& form = Window("Напряжение");
        Enter(form, "Edit15", QStringLiteral("12.5"));
        Enter(form, "Edit16", QStringLiteral("33"));
        form.Signal().Current.InterGarm[2].Koef[17] = 3.25;
        const std::string path = (settings_->Root() / "h.usa").string();
        form.SaveSignal(files::sfAll, path);
        TForm2& other = *main_->NewWindow();
        QVERIFY(other.LoadSignal(files::sfAll, path));
        QCOMPARE(double(other.Signal().Voltage.Garmonik.a.Koef[2]), 12.5);
        QCOMPARE(double(other.Signal().Voltage.Garmonik.a.Angle[2]), 33.0);
        QCOMPARE(double(other.Signal().Current.InterGarm[2].Koef[17]), 3.25);
    }
};

QTEST_MAIN(HarmonicEditorsTest)
#include "HarmonicEditorsTest.moc"
