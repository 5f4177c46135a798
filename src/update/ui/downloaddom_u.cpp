#include "update/ui/downloaddom_u.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

#include "app/mainU.h"
#include "update/TImportCommit.h"
#include "update/TListArchive.h"
#include "update/TListImport.h"
#include "update/qt/TDownloader.h"
#include "update/qt/TUpdateRun.h"
#include "util/qt/TQtText.h"
#include "util/ui/TPrompts.h"

namespace norvale {

namespace {
constexpr const char* kCheckingText = "Checking for connection...";
}

TfrmUpdateB::TfrmUpdateB(TfrmMain* main)
    : QDialog(main, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), main_(main) {
    // No title-bar buttons: while the run goes on only Cancel can act, and it ends the
    // run rather than the window.
    setObjectName(QStringLiteral("frmUpdateB"));
    setModal(true);
    setFixedSize(414, 163);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("HeaderPanel"));
    header->setFixedHeight(51);
    header->setAutoFillBackground(true);
    QPalette palette = header->palette();
    palette.setColor(QPalette::Window, Qt::white);
    header->setPalette(palette);
    auto* headerLayout = new QHBoxLayout(header);
    auto* picture = new QLabel(header);
    picture->setPixmap(style()->standardIcon(QStyle::SP_ArrowDown).pixmap(32, 32));
    picture->setFixedSize(32, 32);
    Heading = new QLabel(header);
    Heading->setObjectName(QStringLiteral("Heading"));
    QFont bold = Heading->font();
    bold.setBold(true);
    Heading->setFont(bold);
    headerLayout->addWidget(picture);
    headerLayout->addWidget(Heading, 1);
    layout->addWidget(header);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 4, 16, 0);
    Label1 = new QLabel(QString::fromLatin1(kCheckingText), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedWidth(381);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    body->addWidget(Label1);
    body->addWidget(ProgressBar1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCancel);
    body->addLayout(buttons);
    layout->addLayout(body);

    IdHTTP1 = new TDownloader(this);
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    connect(IdHTTP1, &TDownloader::WorkBegin, this,
            [this](qint64 size) { IdHTTP1WorkBegin(size); });
    connect(IdHTTP1, &TDownloader::Work, this, [this](qint64 count) { IdHTTP1Work(count); });
    connect(IdHTTP1, &TDownloader::WorkEnd, this, [this] { IdHTTP1WorkEnd(); });

    PrepareUpdate();
}

TfrmUpdateB::~TfrmUpdateB() = default;

void TfrmUpdateB::PrepareUpdate() {
    importPath_.clear();
    setWindowTitle(QStringLiteral("Update Domains"));
    Heading->setText(QStringLiteral("Download expiring domains...."));
    Label1->setText(QString::fromLatin1(kCheckingText));
}

void TfrmUpdateB::PrepareImport(const std::string& path) {
    importPath_ = path;
    setWindowTitle(QStringLiteral("Import List"));
    Heading->setText(QStringLiteral("Import expiring domains...."));
    Label1->setText(QStringLiteral("Loading..."));
}

void TfrmUpdateB::Execute() {
    closing_ = false;
    finalBlockDone_ = false;
    exec();
    if (!finalBlockDone_)
        FinalBlock();
}

void TfrmUpdateB::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
    // The run waits until the dialog is on screen; an offscreen or unfocused dialog may
    // never be activated, so the showing itself asks for the first activation.
    QMetaObject::invokeMethod(
        this, [this] { FormActivate(); }, Qt::QueuedConnection);
}

bool TfrmUpdateB::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void TfrmUpdateB::FormShow() {
    StartedFlag = false;
}

void TfrmUpdateB::FormActivate() {
    if (!isVisible() || closing_)
        return;
    ProgressBar1->setValue(0);
    if (StartedFlag)
        return;
    StartedFlag = true;
    Run();
}

void TfrmUpdateB::FormClose() {
    CancelFlag = false;
    StartedFlag = false;
}

void TfrmUpdateB::btnCancelClick() {
    CancelFlag = true;
    // At once: a stalled transfer sends no progress that could notice the flag.
    IdHTTP1->Abort();
}

void TfrmUpdateB::IdHTTP1WorkBegin(qint64 size) {
    Label1->setText(QStringLiteral("Download domains..."));
    ProgressBar1->setValue(0);
    if (size != 0)
        ProgressBar1->setMaximum(
            static_cast<int>(std::min<qint64>(size, std::numeric_limits<int>::max())));
}

void TfrmUpdateB::IdHTTP1Work(qint64 count) {
    if (CancelFlag) {
        IdHTTP1->Abort();
        return;
    }
    if (QuietFlag)
        return;
    ProcessEvents();
    ProgressBar1->setValue(static_cast<int>(std::min<qint64>(count, ProgressBar1->maximum())));
}

void TfrmUpdateB::IdHTTP1WorkEnd() {
    if (QuietFlag)
        return;
    Label1->setText(QStringLiteral("Download completed."));
    ProgressBar1->setMaximum(1);
    ProgressBar1->setValue(1);
}

void TfrmUpdateB::ProcessEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TfrmUpdateB::ImportProgress(std::size_t lineIndex) {
    Label1->setText(ToQ(LoadingText(lineIndex)));
    Label1->repaint();
    ProcessEvents();
}

void TfrmUpdateB::Run() {
    running_ = true;
    std::string error;
    try {
        // Inside the guarded part: a rule that cannot be built still ends the run with
        // the controls given back and the dialog closed.
        main_->BuildActiveRules();
        ProcessEvents();
        repaint();
        main_->PageControl1->setEnabled(false);
        TImportResult result;
        if (importPath_.empty()) {
            RunDownload(result);
        } else {
            RunImport(result);
        }
        // A Cancel at any point keeps the lists as they were, in memory and on disk.
        if (!result.cancelled && !CancelFlag)
            ReplaceDomainLists(*main_->Lists, std::move(result));
    } catch (const std::exception& e) {
        error = e.what();
    }
    FinalBlock();
    running_ = false;
    if (!error.empty() && !CancelFlag)
        TPrompts::Error(main_, ToQ(error));
}

void TfrmUpdateB::RunDownload(TImportResult& result) {
    TUpdateHooks hooks;
    hooks.status = [this](const std::string& text) {
        Label1->setText(ToQ(text));
        repaint();
    };
    hooks.quiet = [this](bool on) { QuietFlag = on; };
    hooks.resourcesChanged = [this] { main_->BuildResourceMenus(); };
    hooks.processEvents = [this] { ProcessEvents(); };
    hooks.matcher = [this](std::string_view name, std::string_view ext) {
        return main_->LVChecked.MatchesRules(name, ext);
    };
    hooks.progress = [this](std::size_t i) { ImportProgress(i); };
    hooks.cancel = &CancelFlag;
    result = RunUpdate(*IdHTTP1, main_->Folder, *main_->Store, main_->WebAddresses(), hooks);
}

void TfrmUpdateB::RunImport(TImportResult& result) {
    Label1->setText(QStringLiteral("Loading..."));
    Label1->repaint();
    const TListText text = ReadListFile(importPath_);
    ProcessEvents();
    if (CancelFlag) {
        result.cancelled = true;
        return;
    }
    result = ImportListText(
        text.View(),
        [this](std::string_view name, std::string_view ext) {
            return main_->LVChecked.MatchesRules(name, ext);
        },
        [this](std::size_t i) { ImportProgress(i); }, &CancelFlag);
}

void TfrmUpdateB::FinalBlock() {
    finalBlockDone_ = true;
    main_->ShowDomainCount();
    main_->EndLongRun();
    main_->PageControl1->setEnabled(true);
    main_->TB->setEnabled(true);
    if (auto* bInsRule = main_->findChild<QWidget*>(QStringLiteral("bInsRule")))
        bInsRule->setEnabled(true);
    main_->BtnInternet->setEnabled(true);
    // Closes once the run has returned, in place of a posted window message.
    QMetaObject::invokeMethod(
        this,
        [this] {
            closing_ = true;
            if (isVisible())
                done(QDialog::Accepted);
        },
        Qt::QueuedConnection);
}

void TfrmUpdateB::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmUpdateB::reject() {
    if (running_)
        return;  // Escape does not end a run; Cancel does
    QDialog::reject();
}

void TfrmUpdateB::done(int result) {
    if (running_)
        return;
    FormClose();
    QDialog::done(result);
}

}  // namespace norvale
