// The windows on a laptop screen of 1366 × 768: the main window maximised,
// a signal window with every page (the converter page too) must lie inside
// the frame with its tab strip in view, and every named control of every
// page must be reachable by scrolling its page.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "TempFolder.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

namespace {

const std::string kExample = std::string(TALVO_SOURCE_DIR) + "/examples/harmonics-dips-flicker.usa";

// The largest size a page may need to show without scroll bars.
constexpr QSize kPageLimit{1340, 600};

QRect InViewport(QWidget* widget, QWidget* viewport) {
    return QRect(widget->mapTo(viewport, QPoint(0, 0)), widget->size());
}

// Named controls of a page: the widgets a user or a script finds by name.
QList<QWidget*> NamedControls(QWidget* page) {
    QList<QWidget*> controls;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith(QStringLiteral("qt_")) && w->isVisibleTo(page)) controls.append(w);
    }
    return controls;
}

}  // namespace

class WindowFitTest : public QObject {
    Q_OBJECT
    std::unique_ptr<talvo_test::TempSettings> settings_;
    std::unique_ptr<ui::TfmMain> main_;

    QMdiArea* Frame() { return main_->findChild<QMdiArea*>(QStringLiteral("MDIClient")); }

private Q_SLOTS:
    void init() {
        settings_ = std::make_unique<talvo_test::TempSettings>();
        main_ = std::make_unique<ui::TfmMain>(ui::TMainOptions{});
        main_->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    }

    void cleanup() {
        main_.reset();
        settings_.reset();
    }

    void TheScreenIsALaptopScreen() { QCOMPARE(QApplication::primaryScreen()->size(), QSize(1366, 768)); }

    void SignalWindowsLieInsideTheFrameWithTheirTabsInView() {
        for (int n = 0; n < 4; ++n) {
            ui::TForm2* form = main_->OpenFile(files::sfAll, kExample);
            form->FillTabs(0, true);
            QApplication::processEvents();
            QMdiSubWindow* sub = Frame()->activeSubWindow();
            const QRect frame = Frame()->viewport()->rect();
            QVERIFY2(frame.contains(sub->geometry()), qPrintable(QStringLiteral("window %1").arg(n)));
            auto* tabs = form->findChild<QTabBar*>(QStringLiteral("Tabs"));
            QVERIFY(tabs->isVisible());
            QVERIFY(frame.contains(InViewport(tabs, Frame()->viewport())));
        }
    }

    void EveryNamedControlCanBeScrolledIntoView() {
        ui::TForm2* form = main_->OpenFile(files::sfAll, kExample);
        form->FillTabs(0, true);
        auto* notebook = form->findChild<QStackedWidget*>(QStringLiteral("Notebook1"));
        QStringList faults;
        for (const std::string& caption : form->TabList()) {
            const QString page = QString::fromStdString(caption);
            form->SelectTab(form->FindTab(caption));
            QApplication::processEvents();
            auto* area = qobject_cast<QScrollArea*>(notebook->currentWidget());
            QVERIFY(area);
            const QSize needs = area->widget()->minimumSizeHint();
            if (needs.width() > kPageLimit.width() || needs.height() > kPageLimit.height())
                faults << QStringLiteral("%1 needs %2 × %3").arg(page).arg(needs.width()).arg(needs.height());
            QWidget* viewport = area->viewport();
            for (QWidget* control : NamedControls(area->widget())) {
                area->ensureWidgetVisible(control, 0, 0);
                const QRect at = InViewport(control, viewport);
                const bool fits = control->width() <= viewport->width() && control->height() <= viewport->height();
                if (!(fits ? viewport->rect().contains(at) : viewport->rect().intersects(at)))
                    faults << page + QStringLiteral(": ") + control->objectName();
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }
};

int main(int argc, char** argv) {
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", (QStringLiteral("offscreen:configfile=") + config).toLocal8Bit());
    QApplication app(argc, argv);
    WindowFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowFitTest.moc"
