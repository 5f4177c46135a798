#pragma once

#include "output/ui/reportsU.h"

namespace norvale {

// The report form of the draft list (kbmDraft): the shared report under its own caption.
class TfrmRepDrafts : public TfrmReport {
    Q_OBJECT

public:
    explicit TfrmRepDrafts(TDomainTable& table, QWidget* parent = nullptr);
};

}  // namespace norvale
