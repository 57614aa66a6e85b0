#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringList>

namespace kelvor {

// Why something failed, composed once and told twice: each failure the logic meets is one line,
// logged as a warning in its category and added to the report open at the time, which a window
// shows the player beneath its error box.
class FailureReport {
 public:
  // Open from now on until it goes: the failures met meanwhile are its own.
  FailureReport();
  ~FailureReport();
  FailureReport(const FailureReport&) = delete;
  FailureReport& operator=(const FailureReport&) = delete;

  // The failures' lines, in the order they were met.
  QString text() const { return lines_.join(u'\n'); }

  // Logs `line` as a warning in `category`, and adds it to the open report, if there is one.
  static void Add(const QLoggingCategory& category, const QString& line);

 private:
  QStringList lines_;
  FailureReport* outer_;  // the report open before this one, open again once this one goes
};

}  // namespace kelvor
