#include "ui/shell/dialogs/TfmIdentify.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <string>

#include "editor/DialogRules.h"
#include "link/LibraryBinding.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

constexpr std::array<const char*, 5> kColumns{"Наименование ПО", "Идентификационное наименование ПО",
                                              "Номер версии (идентификационный номер) ПО",
                                              "Цифровой идентификатор ПО (контрольная сумма исполняемого кода)",
                                              "Алгоритм вычисления цифрового идентификатора ПО"};
constexpr int kHeaderHeight = 84;
constexpr int kCellMargin = 16;

using TRow = std::array<std::string, 5>;

// Wide enough for the longest word of a heading, and for two groups of four
// digests' groups a line, so a digest wraps only between its halves.
std::array<int, 5> ColumnWidths(const QFontMetrics& metrics) {
    const auto width = [&metrics](const char* text) { return metrics.horizontalAdvance(QString::fromUtf8(text)); };
    return {width("Программа \"Orbis-Talvo\"") + kCellMargin, width("идентификационное") + kCellMargin,
            width("(идентификационный") + kCellMargin, width("DDDD DDDD DDDD DDDD") + kCellMargin,
            width("идентификатора") + kCellMargin};
}

QTableWidget* Table(const std::array<TRow, 2>& rows) {
    auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(kColumns.size()));
    const std::array<int, 5> widths = ColumnWidths(table->fontMetrics());
    NameControl(table, "sg_identify", QStringLiteral("Идентификация ПО"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setWordWrap(true);
    table->verticalHeader()->hide();
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView* header = table->horizontalHeader();
    header->setDefaultAlignment(Qt::Alignment(int(Qt::AlignCenter) | int(Qt::TextWordWrap)));
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setFixedHeight(kHeaderHeight);
    int width = 0;
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        table->setHorizontalHeaderItem(static_cast<int>(c), new QTableWidgetItem(QString::fromUtf8(kColumns[c])));
        table->setColumnWidth(static_cast<int>(c), widths[c]);
        width += widths[c];
    }
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < kColumns.size(); ++c) {
            auto* item = new QTableWidgetItem(Q(rows[r][c]));
            item->setTextAlignment(Qt::AlignCenter);
            table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    table->resizeRowsToContents();
    int height = kHeaderHeight;
    for (std::size_t r = 0; r < rows.size(); ++r) height += table->rowHeight(static_cast<int>(r));
    const int frame = 2 * table->frameWidth();
    table->setFixedSize(width + frame, height + frame);
    return table;
}

}  // namespace

// The library is identified by the file the program binds and digests.
TfmIdentify::TfmIdentify(std::string_view calibratorDigest, std::string_view libraryDigest, QWidget* parent)
    : TShellDialog(QStringLiteral("Идентификация ПО"), "fmIdentify", parent) {
    const std::array<TRow, 2> rows{{
        {"Программа \"Orbis-Talvo\"", "kalibrator_f4a852.bin", "2.3", edit::GroupDigest(calibratorDigest), "MD5"},
        {"Библиотека управления калибратором переменного тока \"Orbis-Talvo\"", std::string(lnk::kSignalLibraryFile),
         "2.4", edit::GroupDigest(libraryDigest), "MD5"},
    }};
    auto* close = NamedButton(QStringLiteral("Закрыть"), "btnClose");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout;
    layout->addWidget(Table(rows));
    layout->addLayout(ButtonRow({close}));
    SetBody(layout);
}

}  // namespace ui
