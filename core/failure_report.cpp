#include "core/failure_report.h"

namespace kelvor {
namespace {

// Everything runs on the one GUI thread, one handler at a time.
FailureReport* openReport = nullptr;

}  // namespace

FailureReport::FailureReport() : outer_(openReport) { openReport = this; }

FailureReport::~FailureReport() { openReport = outer_; }

void FailureReport::Add(const QLoggingCategory& category, const QString& line) {
  qCWarning(category, "%s", qUtf8Printable(line));
  if (openReport) openReport->lines_.append(line);
}

}  // namespace kelvor
