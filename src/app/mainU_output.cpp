// Printing and print preview on the main window.
#include <QAction>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolButton>

#include "app/mainU.h"
#include "output/ui/repdraftsU.h"
#include "output/ui/reportfullU.h"
#include "output/ui/reportsU.h"
#include "util/ui/TPrompts.h"

namespace norvale {

namespace {

// The grid must not follow the table while a report reads it; released on every path.
class TControlsSuspended {
public:
    explicit TControlsSuspended(TDomainTable& table) : table_(table) { table_.DisableControls(); }
    ~TControlsSuspended() { table_.EnableControls(); }
    TControlsSuspended(const TControlsSuspended&) = delete;
    TControlsSuspended& operator=(const TControlsSuspended&) = delete;

private:
    TDomainTable& table_;
};

}  // namespace

void TfrmMain::WireOutput() {
    connect(BtnPrintPreview, &QToolButton::clicked, this, [this] { BtnPrintPreviewClick(); });
    connect(ProntPreview1, &QAction::triggered, this, [this] { ProntPreview1Click(); });
    connect(BtnPrint, &QToolButton::clicked, this, [this] { BtnPrintClick(); });
    connect(Print1, &QAction::triggered, this, [this] { Print1Click(); });
    for (QObject* command :
         {static_cast<QObject*>(BtnPrintPreview), static_cast<QObject*>(ProntPreview1),
          static_cast<QObject*>(BtnPrint), static_cast<QObject*>(Print1)}) {
        command->setProperty("enabled", true);
        RegisterListCommand(command);
    }
}

TfrmReport& TfrmMain::ReportForm(int tab) {
    switch (tab) {
        case kTabFull:
            if (!frmReportFull)
                frmReportFull = new TfrmReportFull(kbmMemTable1(), this);
            return *frmReportFull;
        case kTabDrafts:
            if (!frmRepDrafts)
                frmRepDrafts = new TfrmRepDrafts(kbmDraft(), this);
            return *frmRepDrafts;
        default:
            if (!frmReport)
                frmReport = new TfrmReport(kbmMain(), this);
            return *frmReport;
    }
}

void TfrmMain::BtnPrintPreviewClick() {
    RunCommand(this, [this] {
        TfrmReport& form = ReportForm(ActiveTab());
        const TControlsSuspended suspended(form.Table());
        form.Preview();
    });
}

void TfrmMain::BtnPrintClick() {
    RunCommand(this, [this] {
        TfrmReport& form = ReportForm(ActiveTab());
        const TControlsSuspended suspended(form.Table());
        if (!PrinterSetupDialog1)
            PrinterSetupDialog1 = new QPrintDialog(this);
        if (!TfrmReport::Dialogs().ExecPrinterSetup(*PrinterSetupDialog1))
            return;
        form.TakePrinterSettings(*PrinterSetupDialog1->printer());
        form.Print();
    });
}

}  // namespace norvale
