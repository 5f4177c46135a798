#pragma once

#include "output/ui/reportsU.h"

namespace norvale {

// The report form of the full list (kbmMemTable1): the shared report under its own caption.
class TfrmReportFull : public TfrmReport {
    Q_OBJECT

public:
    explicit TfrmReportFull(TDomainTable& table, QWidget* parent = nullptr);
};

}  // namespace norvale
