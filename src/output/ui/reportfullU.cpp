#include "output/ui/reportfullU.h"

namespace norvale {

TfrmReportFull::TfrmReportFull(TDomainTable& table, QWidget* parent)
    : TfrmReport(table, QStringLiteral("Report Full"), parent) {}

}  // namespace norvale
