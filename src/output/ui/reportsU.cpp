#include "output/ui/reportsU.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "domains/TDomainTable.h"
#include "output/qt/TReportPainter.h"
#include "util/ui/TPrompts.h"

namespace norvale {

namespace {

class TRealReportDialogs : public IReportDialogs {
public:
    void ExecPreview(QPrintPreviewDialog& dialog) override { dialog.exec(); }
    bool ExecPrinterSetup(QPrintDialog& dialog) override {
        return dialog.exec() == QDialog::Accepted;
    }
};

std::unique_ptr<IReportDialogs>& DialogsSlot() {
    static std::unique_ptr<IReportDialogs> dialogs = std::make_unique<TRealReportDialogs>();
    return dialogs;
}

// The layout measures from the paper's corner and brings its own 10 mm margins.
void SetReportPaper(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
}

}  // namespace

IReportDialogs& TfrmReport::Dialogs() {
    return *DialogsSlot();
}

void TfrmReport::SetDialogs(std::unique_ptr<IReportDialogs> dialogs) {
    DialogsSlot() = dialogs ? std::move(dialogs) : std::make_unique<TRealReportDialogs>();
}

TfrmReport::TfrmReport(TDomainTable& table, QWidget* parent)
    : TfrmReport(table, QStringLiteral("Report"), parent) {}

TfrmReport::TfrmReport(TDomainTable& table, const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Window),
      table_(table),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setWindowTitle(caption);
    setAttribute(Qt::WA_DontShowOnScreen);
    SetReportPaper(*printer_);
    printer_->setPageOrientation(QPageLayout::Portrait);
    printer_->setDocName(QStringLiteral("List of Domains"));
}

TfrmReport::~TfrmReport() = default;

void TfrmReport::TakePrinterSettings(const QPrinter& chosen) {
    if (chosen.outputFormat() == QPrinter::PdfFormat) {
        // "Print to file" is a printer of its own in the dialog.
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(chosen.outputFileName());
    } else {
        printer_->setOutputFileName(QString());
        printer_->setOutputFormat(QPrinter::NativeFormat);
        printer_->setPrinterName(chosen.printerName());
    }
    // A new printer may bring its own paper; the report is designed for A4.
    SetReportPaper(*printer_);
    printer_->setCopyCount(chosen.copyCount());
    printer_->setPageOrientation(chosen.pageLayout().orientation());
}

void TfrmReport::PaintReport(QPrinter* printer, int copies) const {
    TReportPainter::PaintReport(*printer, table_, TReportPainter::CurrentDateText(), copies);
}

void TfrmReport::Preview() {
    QPrintPreviewDialog dialog(printer_.get(), this);
    dialog.setWindowTitle(windowTitle());
    // The preview asks for its pages from inside its own event handling, where no
    // error may escape: report it there and leave the preview open.
    connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [this, &dialog](QPrinter* printer) { RunCommand(&dialog, [&] { PaintReport(printer); }); });
    Dialogs().ExecPreview(dialog);
}

void TfrmReport::Print() {
    // A printer that cannot make copies itself gets the pages as many times over.
    const int copies = printer_->supportsMultipleCopies() ? 1 : printer_->copyCount();
    PaintReport(printer_.get(), copies);
}

}  // namespace norvale
