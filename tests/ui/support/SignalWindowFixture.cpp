#include "SignalWindowFixture.h"

#include <QTest>

#include "DialogDriver.h"

namespace uitest {

ui::TForm2& TSignalWindowFixture::Window(std::string_view tab) {
    main_->show();
    ui::TForm2& form = *main_->NewWindow();
    if (!QTest::qWaitForWindowActive(main_.get())) qWarning("the main window did not become active");
    form.SelectTab(form.FindTab(tab));
    return form;
}

void TSignalWindowFixture::init() {
    FailOnWarnings();
    settings_ = std::make_unique<talvo_test::TempSettings>();
    main_ = std::make_unique<ui::TfmMain>(ui::TMainOptions{});
}

void TSignalWindowFixture::cleanup() {
    main_.reset();
    settings_.reset();
}

}  // namespace uitest
