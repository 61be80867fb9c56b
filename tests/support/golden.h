// Paper jobs against their text snapshots under tests/<folder>/golden/.
#pragma once

#include "printing/recordedjob.h"

#include <QList>
#include <QString>

namespace testsupport {

// Empty when jobs describe as the snapshot file (relative to the source
// tree) does: the same text, every number within 0.01 (mm). Otherwise the
// first line that differs. With BRAMA_REGEN_GOLDEN set, the snapshot is
// written first and each job sent to a PDF beside the test program, to be
// looked at before the snapshot is committed.
QString GoldenDifference(const QString& file, const QList<corpo::RecordedJob>& jobs);

} // namespace testsupport
