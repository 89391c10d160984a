#pragma once
// Paints laid-out report pages into a PDF document held in memory.
#include <QByteArray>
#include <QImage>
#include <vector>

#include "analysis/session_report/report_layout.h"

namespace kv::session_report {

// One PDF page per entry of `pages`, each with `chart` in its chart box.
QByteArray report_pdf(const std::vector<ReportPage>& pages, const QImage& chart);

}  // namespace kv::session_report
