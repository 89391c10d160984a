#include "analysis/session_report/session_report.h"

#include "analysis/session_report/report_layout.h"
#include "analysis/session_report/report_pdf.h"
#include "common/file_dialog_flow.h"
#include "logdata/log_file.h"
#include "logdata/saved_file.h"

namespace kv::session_report {
namespace {

const SaveDialogTexts kSaveTexts{.title = report_text::kTitle,
                                 .filter = report_text::kFilter,
                                 .extension = report_text::kExtension,
                                 .cancelled = log_file_msg::kSaveCancelled,
                                 .invalid_name = log_file_msg::kSaveInvalidName,
                                 .not_overwritten = log_file_msg::kNotOverwritten};

double aspect_of(const QImage& chart) {
  return chart.isNull() || chart.height() == 0 ? 0.0 : static_cast<double>(chart.width()) / chart.height();
}

}  // namespace

std::string report_document(const std::vector<ReportContent>& contents, const QImage& chart) {
  std::vector<ReportPage> pages;
  pages.reserve(contents.size());
  for (const ReportContent& content : contents) pages.push_back(lay_out_page(content, aspect_of(chart)));
  const QByteArray pdf = report_pdf(pages, chart);
  return {pdf.constData(), static_cast<std::size_t>(pdf.size())};
}

bool save_session_report(const LogState& log, const std::vector<double>& boundaries_metres, const ReportUnits& units,
                         const QImage& chart, DialogDefault& remembered, Ui& ui) {
  const std::vector<ReportContent> contents = report_contents(log, boundaries_metres, units);
  return save_dataset_file(ui, !contents.empty(), remembered, kSaveTexts,
                           [&] { return report_document(contents, chart); });
}

}  // namespace kv::session_report
