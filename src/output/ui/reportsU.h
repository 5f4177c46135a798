#pragma once

#include <QString>
#include <QWidget>
#include <memory>

class QPrintDialog;
class QPrintPreviewDialog;
class QPrinter;

namespace norvale {

class TDomainTable;

// The two dialogs a report meets, the preview window and the printer-setup dialog.
// Both block while they are open, so GUI tests install their own answers here.
class IReportDialogs {
public:
    virtual ~IReportDialogs() = default;
    // Shows the preview; returns when the user closes it.
    virtual void ExecPreview(QPrintPreviewDialog& dialog) = 0;
    // Shows the printer-setup dialog; true for OK, false for Cancel.
    virtual bool ExecPrinterSetup(QPrintDialog& dialog) = 0;
};

// The report form of the match list, and the report that the full-list and draft
// forms share: it owns the report's printer settings and prints or previews what its
// table yields. Created hidden on first use and kept; never shown itself.
class TfrmReport : public QWidget {
    Q_OBJECT

public:
    explicit TfrmReport(TDomainTable& table, QWidget* parent = nullptr);
    ~TfrmReport() override;

    TDomainTable& Table() const { return table_; }
    // The report's printer settings; A4 portrait until the printer dialog says otherwise.
    QPrinter& Printer() const { return *printer_; }
    // Printer, number of copies and orientation as the printer-setup dialog left them.
    void TakePrinterSettings(const QPrinter& chosen);

    // The preview window over every page; returns when it is closed.
    void Preview();
    // Prints to the report's printer without asking anything.
    void Print();
    // Paints every page of the report on printer, copies times over.
    void PaintReport(QPrinter* printer, int copies = 1) const;

    static IReportDialogs& Dialogs();
    // Replaces the dialogs (tests); nullptr restores the real ones.
    static void SetDialogs(std::unique_ptr<IReportDialogs> dialogs);

protected:
    TfrmReport(TDomainTable& table, const QString& caption, QWidget* parent);

private:
    TDomainTable& table_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace norvale
