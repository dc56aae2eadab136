#include "ui/verify/VerifyPdf.h"

#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsScene>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <memory>

#include "measure/VerifyLook.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

// Column widths of the table as parts of the page's width.
constexpr std::array<double, 7> kColumnParts{0.27, 0.09, 0.10, 0.10, 0.10, 0.22, 0.12};
// The size charts are laid out at before they are scaled onto the page.
constexpr QSizeF kChartSize(720, 310);

QColor Colour(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

class TPages {
public:
    TPages(QPdfWriter& writer, const QPainter& painter) : writer_(writer) {
        width_ = painter.viewport().width();
        height_ = painter.viewport().height();
    }
    double Width() const { return width_; }
    double Y() const { return y_; }
    // A new page when `height` more does not fit on this one.
    bool Reserve(double height) {
        if (y_ + height <= height_ || y_ == 0) return false;
        writer_.newPage();
        y_ = 0;
        return true;
    }
    void Advance(double height) { y_ += height; }

private:
    QPdfWriter& writer_;
    double width_ = 0, height_ = 0, y_ = 0;
};

void Text(QPainter& p, const QRectF& box, const QString& text, int flags = Qt::AlignLeft | Qt::AlignVCenter) {
    p.drawText(box.adjusted(4, 0, -4, 0), flags | Qt::TextWordWrap, text);
}

double ColumnX(double width, std::size_t column) {
    double x = 0;
    for (std::size_t c = 0; c < column; ++c) x += kColumnParts[c] * width;
    return x;
}

void HeaderRow(QPainter& p, TPages& pages, double rowHeight) {
    QFont bold = p.font();
    bold.setBold(true);
    p.save();
    p.setFont(bold);
    p.fillRect(QRectF(0, pages.Y(), pages.Width(), rowHeight), QColor(0xE4, 0xE4, 0xE4));
    for (std::size_t c = 0; c < msr::kCompareColumns.size(); ++c) {
        const QRectF box(ColumnX(pages.Width(), c), pages.Y(), kColumnParts[c] * pages.Width(), rowHeight);
        Text(p, box, Q(msr::kCompareColumns[c]));
    }
    p.restore();
    pages.Advance(rowHeight);
}

void Table(QPainter& p, TPages& pages, const msr::TVerifyReport& report) {
    const double line = p.fontMetrics().lineSpacing();
    const double rowHeight = line * 1.35;
    pages.Reserve(rowHeight * 3);
    HeaderRow(p, pages, rowHeight);
    for (const msr::TCompareRow& row : report.Rows) {
        const auto cells = msr::CompareCells(row);
        // A long quantity or rule wraps: the row is as high as its highest cell.
        double height = rowHeight;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const QRectF room(0, 0, kColumnParts[c] * pages.Width() - 8, 10000);
            height = std::max(height, p.boundingRect(room, Qt::TextWordWrap, Q(cells[c])).height() + line * 0.35);
        }
        if (pages.Reserve(height)) HeaderRow(p, pages, rowHeight);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const msr::TCellLook look = msr::CellLook(row, static_cast<int>(c));
            const QRectF box(ColumnX(pages.Width(), c), pages.Y(), kColumnParts[c] * pages.Width(), height);
            p.fillRect(box, Colour(look.Background));
            QFont font = p.font();
            font.setBold(look.Bold);
            p.save();
            p.setFont(font);
            p.setPen(Colour(look.Foreground));
            Text(p, box, Q(cells[c]), (c >= 1 && c <= 4 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            p.restore();
        }
        p.save();
        p.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 0));
        p.drawLine(QPointF(0, pages.Y() + height), QPointF(pages.Width(), pages.Y() + height));
        p.restore();
        pages.Advance(height);
    }
}

void Chart(QPainter& p, TPages& pages, QChart* chart, QGraphicsScene& scene) {
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), kChartSize));
    // The chart lays its axes and series out when its layout request is handled.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const double height = pages.Width() * kChartSize.height() / kChartSize.width();
    pages.Reserve(height + 20);
    scene.render(&p, QRectF(0, pages.Y() + 10, pages.Width(), height), QRectF(QPointF(0, 0), kChartSize));
    pages.Advance(height + 20);
}

}  // namespace

QByteArray ReportPdf(const std::vector<std::string>& header, const msr::TVerifyReport& report,
                     const std::vector<QChart*>& charts) {
    QGraphicsScene scene;  // owns the charts from here on
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Калибратор Talvo"));
        writer.setTitle(Q(msr::kReportTitle));
        writer.setResolution(150);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                         QPageLayout::Millimeter));
        QPainter painter(&writer);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(8);
        painter.setFont(font);
        TPages pages(writer, painter);

        QFont title = font;
        title.setPointSizeF(13);
        title.setBold(true);
        painter.save();
        painter.setFont(title);
        const double titleHeight = painter.fontMetrics().lineSpacing() * 1.6;
        Text(painter, QRectF(0, 0, pages.Width(), titleHeight), Q(msr::kReportTitle));
        painter.restore();
        pages.Advance(titleHeight);
        const double line = painter.fontMetrics().lineSpacing() * 1.25;
        for (const std::string& text : header) {
            const QRectF box = painter.boundingRect(QRectF(0, 0, pages.Width() - 8, 10000), Qt::TextWordWrap, Q(text));
            Text(painter, QRectF(0, pages.Y(), pages.Width(), std::max(line, box.height() + 4)), Q(text));
            pages.Advance(std::max(line, box.height() + 4));
        }
        pages.Advance(line);
        Table(painter, pages, report);
        for (QChart* chart : charts) Chart(painter, pages, chart, scene);
    }
    return bytes;
}

}  // namespace ui
