#include "app/mainU.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "util/TPlatform.h"
#include "util/qt/TQtText.h"
#include "util/ui/TPrompts.h"

namespace norvale {

namespace {
std::string ChooseDataFolder(const TMainOptions& options) {
    return options.dataFolder.empty() ? PlatformDataFolder() : options.dataFolder;
}
std::string ChooseSettingsFile(const TMainOptions& options) {
    return options.settingsFile.empty() ? SettingsFilePath() : options.settingsFile;
}

QToolButton* MakeToolButton(QToolBar* bar, const QString& name, const QString& caption, QStyle::StandardPixmap icon) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(bar->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumHeight(40);
    button->setEnabled(false);
    bar->addWidget(button);
    return button;
}

QAction* MakeAction(QMenu* menu, const QString& name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setEnabled(false);
    return action;
}
}  // namespace

TfrmMain::TfrmMain(const TMainOptions& options, QWidget* parent)
    : QMainWindow(parent),
      Folder(ChooseDataFolder(options)),
      Store(std::make_unique<TSettingsStore>(ChooseSettingsFile(options))),
      Lists(std::make_unique<TDomainLists>(Folder)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Norvale v1.0"));
    resize(850, 640);
    setMinimumSize(800, 600);
    QFont font = this->font();
    font.setPointSize(8);
    setFont(font);

    BuildToolbar();
    BuildMenus();
    BuildLayout();
    BuildStatusBar();

    WireRules();
    WireGrids();
    WireUpdate();
    WireSets();
    WireOutput();

    FormCreate();

    // Centred at every start; no position or size is kept between runs.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildToolbar() {
    TB = new QToolBar(QStringLiteral("TB"), this);
    TB->setObjectName(QStringLiteral("TB"));
    TB->setMovable(false);
    TB->setFloatable(false);
    TB->setFixedHeight(52);
    TB->setIconSize(QSize(20, 20));
    TB->setStyleSheet(QStringLiteral(
        "QToolBar#TB { background: rgb(221,221,221); border-top: 2px groove #b0b0b0;"
        " border-bottom: 2px groove #b0b0b0; spacing: 2px; }"));
    addToolBar(Qt::TopToolBarArea, TB);

    BtnInternet = MakeToolButton(TB, "BtnInternet", "Update Domains ", QStyle::SP_ArrowDown);
    TB->addSeparator();
    BtnInsertRecord = MakeToolButton(TB, "BtnInsertRecord", "Insert Rule", QStyle::SP_FileDialogNewFolder);
    BtnDeleteRecord = MakeToolButton(TB, "BtnDeleteRecord", "Delete Rule", QStyle::SP_TrashIcon);
    // Both buttons are hidden; the rule strip carries the ones users press.
    TB->actions().at(TB->actions().size() - 2)->setVisible(false);
    TB->actions().last()->setVisible(false);
    BtnApply = MakeToolButton(TB, "BtnApply", "Apply Rules", QStyle::SP_DialogApplyButton);
    TB->addSeparator();
    BtnPrintPreview = MakeToolButton(TB, "BtnPrintPreview", "Print Preview", QStyle::SP_FileDialogContentsView);
    BtnPrint = MakeToolButton(TB, "BtnPrint", "Print", QStyle::SP_DialogSaveButton);
    TB->addSeparator();
    bCheckUpdates = MakeToolButton(TB, "bCheckUpdates", "Check for updates", QStyle::SP_BrowserReload);
    btnWeb = MakeToolButton(TB, "btnWeb", "Web site", QStyle::SP_DirHomeIcon);
    BtnHelp = MakeToolButton(TB, "BtnHelp", "Help", QStyle::SP_DialogHelpButton);
    btnRes = MakeToolButton(TB, "btnRes", "Resources", QStyle::SP_DirLinkIcon);
    btnRes->setPopupMode(QToolButton::InstantPopup);
    btnExit = MakeToolButton(TB, "btnExit", "Exit", QStyle::SP_DialogCloseButton);
    btnExit->setEnabled(true);
    connect(btnExit, &QToolButton::clicked, this, [this] { close(); });
}

void TfrmMain::BuildMenus() {
    QMenuBar* bar = menuBar();
    File1 = bar->addMenu(QStringLiteral("&File"));
    New1 = MakeAction(File1, "New1", "&Update Domains");
    ImportList1 = MakeAction(File1, "ImportList1", "Import List...");
    EditRule1 = MakeAction(File1, "EditRule1", "&Apply Rule");
    File1->addSeparator();
    OpenSet1 = MakeAction(File1, "OpenSet1", "Open Set");
    SaveSet1 = MakeAction(File1, "SaveSet1", "Save Set");
    DeleteSet1 = MakeAction(File1, "DeleteSet1", "Delete Set");
    File1->addSeparator();
    SaveAs1 = MakeAction(File1, "SaveAs1", "&Export...");
    File1->addSeparator();
    ProntPreview1 = MakeAction(File1, "ProntPreview1", "Print Preview...");
    Print1 = MakeAction(File1, "Print1", "&Print...");
    File1->addSeparator();
    Exit1 = MakeAction(File1, "Exit1", "E&xit");
    Exit1->setEnabled(true);
    connect(Exit1, &QAction::triggered, this, [this] { close(); });

    Edit1 = bar->addMenu(QStringLiteral("&Edit"));
    Update1 = MakeAction(Edit1, "Update1", "&Insert Rule");
    DeleteRule1 = MakeAction(Edit1, "DeleteRule1", "&Delete Rule");

    Skins1 = bar->addMenu(QStringLiteral("Skins"));
    SkinGroup = new QActionGroup(this);
    SkinGroup->setExclusive(true);
    None1 = MakeAction(Skins1, "None1", "None");
    SK1 = MakeAction(Skins1, "SK1", "Office 2003");
    SK2 = MakeAction(Skins1, "SK2", "Silver");
    SK3 = MakeAction(Skins1, "SK3", "Mac");
    SK4 = MakeAction(Skins1, "SK4", "Yellow");
    int tag = -1;
    for (QAction* item : {None1, SK1, SK2, SK3, SK4}) {
        item->setCheckable(true);
        item->setData(tag++);  // the skin's position in the store; "None" has none
        SkinGroup->addAction(item);
    }
    SK1->setChecked(true);

    Help1 = bar->addMenu(QStringLiteral("&Help"));
    Help2 = MakeAction(Help1, "Help2", "&Online Help");
    NorvaleOnWeb1 = MakeAction(Help1, "NorvaleOnWeb1", "Norvale on Web");
    Help1->addSeparator();
    Checkforupdates1 = MakeAction(Help1, "Checkforupdates1", "Check for updates");
    Help1->addSeparator();
    About1 = MakeAction(Help1, "About1", "About");

    Resources1 = bar->addMenu(QStringLiteral("Resources"));
    Resources1->setObjectName(QStringLiteral("Resources1"));

    PopResource = new QMenu(this);
    PopResource->setObjectName(QStringLiteral("PopResource"));
    OnlineHelp1 = MakeAction(PopResource, "OnlineHelp1", "Online Help");
    PopResource->addSeparator();
    Domains1 = MakeAction(PopResource, "Domains1", "Domains");
    btnRes->setMenu(PopResource);
    btnRes->setEnabled(true);
}

void TfrmMain::BuildLayout() {
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    MainSplitter = new QSplitter(Qt::Vertical, central);
    MainSplitter->setObjectName(QStringLiteral("MainSplitter"));
    MainSplitter->setHandleWidth(15);
    MainSplitter->setChildrenCollapsible(true);

    auto* upper = new QWidget(MainSplitter);
    upper->setMinimumHeight(22);
    auto* upperLayout = new QHBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    UpperSplitter = new QSplitter(Qt::Horizontal, upper);
    UpperSplitter->setObjectName(QStringLiteral("UpperSplitter"));
    UpperSplitter->setHandleWidth(15);
    UpperSplitter->setChildrenCollapsible(true);
    upperLayout->addWidget(UpperSplitter);

    pLeft = new QWidget(UpperSplitter);
    pLeft->setObjectName(QStringLiteral("pLeft"));
    new QVBoxLayout(pLeft);
    pLeft->layout()->setContentsMargins(4, 4, 4, 4);

    pRight = new QWidget(UpperSplitter);
    pRight->setObjectName(QStringLiteral("pRight"));
    auto* rightLayout = new QVBoxLayout(pRight);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    RuleStrip = new QWidget(pRight);
    RuleStrip->setFixedHeight(36);
    auto* stripLayout = new QHBoxLayout(RuleStrip);
    stripLayout->setContentsMargins(4, 2, 4, 2);
    RzToolButton1 = new QToolButton(RuleStrip);
    RzToolButton1->setObjectName(QStringLiteral("RzToolButton1"));
    RzToolButton1->setText(QStringLiteral("Insert Rule"));
    RzToolButton1->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    RzToolButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    RzToolButton1->setEnabled(false);
    RzToolButton2 = new QToolButton(RuleStrip);
    RzToolButton2->setObjectName(QStringLiteral("RzToolButton2"));
    RzToolButton2->setText(QStringLiteral("Delete Rule"));
    RzToolButton2->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    RzToolButton2->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    RzToolButton2->setEnabled(false);
    stripLayout->addWidget(RzToolButton1);
    stripLayout->addWidget(RzToolButton2);
    stripLayout->addStretch(1);
    rightLayout->addWidget(RuleStrip);

    UpperSplitter->addWidget(pLeft);
    UpperSplitter->addWidget(pRight);
    UpperSplitter->setSizes({381, 450});
    UpperSplitter->setStretchFactor(0, 0);
    UpperSplitter->setStretchFactor(1, 1);

    PageControl1 = new QTabWidget(MainSplitter);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { height: 25px; }"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    for (QWidget* sheet : {TabSheet1, TabSheet2, TabSheet3}) {
        auto* l = new QVBoxLayout(sheet);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(0);
    }
    PageControl1->addTab(TabSheet1, QStringLiteral("Deleting domains that match your rules"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Deleting domains full list"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Drafts"));
    PageControl1->setCurrentIndex(0);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { ShowDomainCount(); });

    MainSplitter->addWidget(upper);
    MainSplitter->addWidget(PageControl1);
    MainSplitter->setSizes({196, 340});
    MainSplitter->setStretchFactor(0, 0);
    MainSplitter->setStretchFactor(1, 1);
    outer->addWidget(MainSplitter);
    setCentralWidget(central);
}

void TfrmMain::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setFixedHeight(19 + 4);
    bar->setSizeGripEnabled(true);
    RzStatusPane1 = new QLabel(QStringLiteral("Found"), bar);
    RzStatusPane1->setObjectName(QStringLiteral("RzStatusPane1"));
    RzStatusPane1->setFixedWidth(177);
    RzStatusPane2 = new QLabel(bar);
    RzStatusPane2->setObjectName(QStringLiteral("RzStatusPane2"));
    RzStatusPane2->setFixedWidth(315);
    RzProgressBar1 = new QProgressBar(bar);
    RzProgressBar1->setObjectName(QStringLiteral("RzProgressBar1"));
    RzProgressBar1->setRange(0, 100);
    RzProgressBar1->setValue(0);
    RzProgressBar1->setTextVisible(true);
    RzProgressBar1->setMaximumHeight(16);
    RzClockStatus1 = new QLabel(bar);
    RzClockStatus1->setObjectName(QStringLiteral("RzClockStatus1"));
    for (QLabel* pane : {RzStatusPane1, RzStatusPane2}) pane->setFrameShape(QFrame::StyledPanel);
    RzClockStatus1->setFrameShape(QFrame::StyledPanel);
    bar->addWidget(RzStatusPane1);
    bar->addWidget(RzStatusPane2);
    bar->addWidget(RzProgressBar1, 1);
    bar->addPermanentWidget(RzClockStatus1);

    clockTimer_ = new QTimer(this);
    const auto tick = [this] { RzClockStatus1->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))); };
    connect(clockTimer_, &QTimer::timeout, this, tick);
    tick();
    clockTimer_->start(1000);
}

void TfrmMain::RunStartupStep(const std::function<void()>& step) {
    // Every step runs, each guarded on its own: one bad file must not leave the other
    // lists empty, or a later save would write an empty list over a good file.
    try {
        step();
    } catch (const std::exception& e) {
        startupProblems_.emplace_back(e.what());
    }
}

void TfrmMain::FormCreate() {
    if (!Store->LoadProblem().empty()) {
        startupProblems_.push_back(Store->LoadProblem());
        Store->ClearLoadProblem();
    }
    // 1. The data folder: on this system always the per-user data folder, which is
    //    the application-data branch of the original decision.
    UseAppDataFolder = true;
    // 2, 3. The resource list and the resources menus.
    RunStartupStep([this] { StartupResources(); });
    // 4, 5. The data folder and the sets folder.
    RunStartupStep([this] { Folder.EnsureDataFolder(); });
    RunStartupStep([this] { Folder.EnsureSetsFolder(); });
    // 6 to 10. Active keywords, extension check marks, the rules file, the default
    //    set and the active rules.
    RunStartupStep([this] { StartupRules(); });
    // 11. The full list, the match list and the draft list.
    RunStartupStep([this] {
        for (const std::string& problem : Lists->LoadDomainLists()) startupProblems_.push_back(problem);
    });
    // 12. The stored skin.
    RunStartupStep([this] { StartupSkins(); });
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    FormShow();
    if (!startupProblems_.empty()) {
        // Reported once the window is on screen, so each box has its owner.
        QTimer::singleShot(0, this, [this] {
            for (const std::string& problem : startupProblems_) TPrompts::Error(this, ToQ(problem));
        });
    }
}

void TfrmMain::FormShow() { ShowDomainCount(); }

int TfrmMain::ActiveTab() const { return PageControl1->currentIndex(); }

void TfrmMain::ShowDomainCount() { RzStatusPane1->setText(ToQ(Lists->DomainCountText(ActiveTab()))); }

bool TfrmMain::FormCloseQuery() const {
    const QCursor* cursor = QApplication::overrideCursor();
    return !(cursor && cursor->shape() == Qt::WaitCursor);
}

void TfrmMain::FormClose() {
    if (closed_) return;
    closed_ = true;
    RunCommand(this, [this] { CloseRules(); });
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TfrmMain::RegisterListCommand(QObject* actionOrWidget) { listCommands_.emplace_back(actionOrWidget); }

namespace {
bool IsEnabled(QObject* o) {
    if (auto* a = qobject_cast<QAction*>(o)) return a->isEnabled();
    if (auto* w = qobject_cast<QWidget*>(o)) return w->isEnabled();
    return false;
}
void SetEnabled(QObject* o, bool on) {
    if (auto* a = qobject_cast<QAction*>(o)) a->setEnabled(on);
    if (auto* w = qobject_cast<QWidget*>(o)) w->setEnabled(on);
}
}  // namespace

void TfrmMain::BeginLongRun() {
    if (longRuns_++ > 0) return;
    enabledBeforeRun_.clear();
    for (const auto& command : listCommands_) {
        enabledBeforeRun_.push_back(command && IsEnabled(command));
        if (command) SetEnabled(command, false);
    }
}

void TfrmMain::EndLongRun() {
    if (longRuns_ == 0 || --longRuns_ > 0) return;
    for (std::size_t i = 0; i < listCommands_.size() && i < enabledBeforeRun_.size(); ++i) {
        if (listCommands_[i]) SetEnabled(listCommands_[i], enabledBeforeRun_[i]);
    }
    enabledBeforeRun_.clear();
}

}  // namespace norvale
