#pragma once
// "Save Report": the session report of every loaded set as a PDF, one page a
// set with its lap table, sector times and theoretical best, set-up sheet and
// notes, and the plot as the window draws it. Saved through the dialog
// pattern with the log file's messages, written atomically.
#include <QImage>
#include <string>
#include <vector>

#include "analysis/session_report/report_content.h"
#include "ui/dialog_defaults.h"
#include "ui/ui.h"

namespace kv::session_report {

namespace report_text {
inline constexpr const char* kTitle = "Save Session Report";
inline constexpr const char* kFilter = "PDF files (*.pdf)";
inline constexpr const char* kExtension = ".pdf";
}  // namespace report_text

// The whole document.
std::string report_document(const std::vector<ReportContent>& contents, const QImage& chart);

// Reports "No Valid Data to Save" when no set is decoded; otherwise asks for
// a file on `remembered` and writes the report, with the pattern's messages
// and "File Saved OK" on success. True when the file was written.
bool save_session_report(const LogState& log, const std::vector<double>& boundaries_metres, const ReportUnits& units,
                         const QImage& chart, DialogDefault& remembered, Ui& ui);

}  // namespace kv::session_report
