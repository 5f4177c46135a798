#include "rules/ui/TRuleEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "rules/TRule.h"
#include "util/qt/TQtText.h"

namespace norvale {

TRuleEditor::TRuleEditor(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RuleEditor"));
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Domains"), this));
    lbDomains = new QListWidget(this);
    lbDomains->setObjectName(QStringLiteral("lbDomains"));
    for (const char* extension : kExtensionList) {
        auto* item = new QListWidgetItem(QString::fromLatin1(extension), lbDomains);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    lbDomains->setFixedWidth(90);
    left->addWidget(lbDomains, 1);
    chkAll = new QCheckBox(QStringLiteral("Check All"), this);
    chkAll->setObjectName(QStringLiteral("chkAll"));
    left->addWidget(chkAll);
    outer->addLayout(left);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    outer->addWidget(line);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Contains Keyword"), this));
    edKeyword = new QLineEdit(this);
    edKeyword->setObjectName(QStringLiteral("edKeyword"));
    edKeyword->setMaxLength(static_cast<int>(kMaxKeywordLength));
    right->addWidget(edKeyword);
    cboKey = new QComboBox(this);
    cboKey->setObjectName(QStringLiteral("cboKey"));
    cboKey->addItems({QStringLiteral("anywhere"), QStringLiteral("at start of name"), QStringLiteral("at end of name")});
    right->addWidget(cboKey);
    right->addWidget(new QLabel(QStringLiteral("Excludes Keyword"), this));
    edNoKeyword = new QLineEdit(this);
    edNoKeyword->setObjectName(QStringLiteral("edNoKeyword"));
    edNoKeyword->setMaxLength(static_cast<int>(kMaxKeywordLength));
    right->addWidget(edNoKeyword);
    chkDashes = new QCheckBox(QStringLiteral("Exclude dashes"), this);
    chkDashes->setObjectName(QStringLiteral("chkDashes"));
    right->addWidget(chkDashes);
    chkDigits = new QCheckBox(QStringLiteral("Exclude digits"), this);
    chkDigits->setObjectName(QStringLiteral("chkDigits"));
    right->addWidget(chkDigits);

    auto* lengthRow = new QHBoxLayout;
    lengthRow->addWidget(new QLabel(QStringLiteral("Domain contains"), this));
    edChars = new QLineEdit(QStringLiteral("12"), this);
    edChars->setObjectName(QStringLiteral("edChars"));
    edChars->setFixedWidth(40);
    lengthRow->addWidget(edChars);
    lengthRow->addWidget(new QLabel(QStringLiteral("char"), this));
    cboChars = new QComboBox(this);
    cboChars->setObjectName(QStringLiteral("cboChars"));
    cboChars->addItems({QStringLiteral("no matter"), QStringLiteral("exactly "), QStringLiteral("no more than")});
    lengthRow->addWidget(cboChars);
    lengthRow->addStretch(1);
    right->addLayout(lengthRow);

    bInsRule = new QPushButton(QStringLiteral("Insert Rule"), this);
    bInsRule->setObjectName(QStringLiteral("bInsRule"));
    bInsRule->setVisible(false);
    right->addWidget(bInsRule);
    right->addStretch(1);
    outer->addLayout(right, 1);

    connect(chkAll, &QCheckBox::toggled, this, &TRuleEditor::chkAllClick);
    edChars->installEventFilter(this);
    connect(edChars, &QLineEdit::textChanged, this, &TRuleEditor::edCharsChange);
}

TRuleEditorValues TRuleEditor::Values() const {
    TRuleEditorValues v;
    v.keyword = FromQ(edKeyword->text());
    v.position = static_cast<TKeyPosition>(std::max(0, cboKey->currentIndex()));
    v.excludeKeyword = FromQ(edNoKeyword->text());
    v.noDashes = chkDashes->isChecked();
    v.noDigits = chkDigits->isChecked();
    v.lengthText = FromQ(edChars->text());
    v.length = static_cast<TLengthChoice>(std::max(0, cboChars->currentIndex()));
    v.extensions = ExtensionChecks();
    return v;
}

std::array<bool, 10> TRuleEditor::ExtensionChecks() const {
    std::array<bool, 10> checks{};
    for (int i = 0; i < static_cast<int>(checks.size()); ++i)
        checks[static_cast<std::size_t>(i)] = lbDomains->item(i)->checkState() == Qt::Checked;
    return checks;
}

void TRuleEditor::SetExtensionChecks(const std::array<bool, 10>& checks) {
    for (int i = 0; i < static_cast<int>(checks.size()); ++i)
        lbDomains->item(i)->setCheckState(checks[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
}

void TRuleEditor::ApplyExtensionChecks(const TExtensionCheckLoad& load) {
    if (load.noValues) {
        chkAll->setChecked(true);
        chkAllClick();
        return;
    }
    for (int i = 0; i < static_cast<int>(load.marks.size()); ++i) {
        const auto& mark = load.marks[static_cast<std::size_t>(i)];
        if (mark) lbDomains->item(i)->setCheckState(*mark ? Qt::Checked : Qt::Unchecked);
    }
}

void TRuleEditor::chkAllClick() {
    const Qt::CheckState state = chkAll->isChecked() ? Qt::Checked : Qt::Unchecked;
    for (int i = 0; i < lbDomains->count(); ++i) lbDomains->item(i)->setCheckState(state);
}

bool TRuleEditor::eventFilter(QObject* watched, QEvent* event) {
    // edCharsKeyPress: typing admits digits and backspace only; any other typed
    // character, paste included, is dropped before it reaches the box. Keys that
    // type nothing (arrows, Delete) pass.
    if (watched == edChars && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backspace) return false;
        if (key->matches(QKeySequence::Paste)) return true;
        const QString text = key->text();
        if (text.isEmpty()) return false;
        const bool digit = text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9') &&
                           !(key->modifiers() & Qt::ControlModifier);
        return !digit;
    }
    return QWidget::eventFilter(watched, event);
}

void TRuleEditor::edCharsChange() {
    if (edChars->text().trimmed().isEmpty()) {
        edChars->setText(QStringLiteral("1"));
        edChars->selectAll();
    }
}

}  // namespace norvale
