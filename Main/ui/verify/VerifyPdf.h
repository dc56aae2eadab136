#pragma once

#include <QByteArray>
#include <string>
#include <vector>

#include "measure/Verify.h"

class QChart;

namespace ui {

// The PDF report of a check, written by Qt's own PDF writer: the title, the
// header lines, the comparison table with every row's verdict (rows out of
// tolerance marked as on screen), then the plots one under another; pages
// are added as the content needs. The charts are taken over and deleted.
QByteArray ReportPdf(const std::vector<std::string>& header, const msr::TVerifyReport& report,
                     const std::vector<QChart*>& charts);

}  // namespace ui
