#include "output/ui/repdraftsU.h"

namespace norvale {

TfrmRepDrafts::TfrmRepDrafts(TDomainTable& table, QWidget* parent)
    : TfrmReport(table, QStringLiteral("Drafts"), parent) {}

}  // namespace norvale
