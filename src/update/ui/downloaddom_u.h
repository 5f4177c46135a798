#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace norvale {

class TfrmMain;
class TDownloader;
struct TImportResult;

// The update dialog: carries out one update of the list (or, for "Import List...",
// the import of a local file) while it shows what it does, with a Cancel button. It
// is modal; the run starts at its first activation after each showing and the dialog
// closes itself once the run has returned.
class TfrmUpdateB : public QDialog {
    Q_OBJECT

public:
    explicit TfrmUpdateB(TfrmMain* main);
    ~TfrmUpdateB() override;

    QLabel* Label1 = nullptr;  // the status text
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* btnCancel = nullptr;
    QLabel* Heading = nullptr;
    TDownloader* IdHTTP1 = nullptr;

    // The three flags.
    bool CancelFlag = false;
    bool QuietFlag = false;
    bool StartedFlag = false;

    // What the next showing does: the update from the web (the default), or the import
    // of the list file at path (a zip archive holding the list, or the list text).
    void PrepareUpdate();
    void PrepareImport(const std::string& path);
    // Shows the dialog modally; returns once the run has ended and the dialog closed.
    void Execute();

    void FormShow();
    void FormActivate();
    void FormClose();
    void btnCancelClick();
    void IdHTTP1WorkBegin(qint64 size);
    void IdHTTP1Work(qint64 count);
    void IdHTTP1WorkEnd();

    bool Running() const { return running_; }
    // Gives the main window its controls back; every run ends with it, and Execute()
    // runs it itself should a showing end without a run.
    void FinalBlock();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void done(int result) override;

private:
    void Run();
    void RunDownload(TImportResult& result);
    void RunImport(TImportResult& result);
    void ImportProgress(std::size_t lineIndex);
    void ProcessEvents();

    TfrmMain* main_;
    std::string importPath_;  // empty: an update from the web
    bool running_ = false;
    bool closing_ = false;
    bool finalBlockDone_ = false;
};

}  // namespace norvale
