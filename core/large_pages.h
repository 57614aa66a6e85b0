#pragma once

#include <QtGlobal>

namespace kelvor {

// Asks the system to back a large buffer that has not been touched yet with large memory
// pages. Reading a big file costs less than bringing fresh memory into the process a small
// page at a time, on some machines several times less; this is advice, and where the system
// has no large pages, or the buffer is small, nothing changes.
void AdviseLargePages(void* data, qsizetype size);

}  // namespace kelvor
