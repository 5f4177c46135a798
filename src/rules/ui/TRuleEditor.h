#pragma once

#include <QWidget>
#include <array>

#include "rules/TExtensionChecks.h"
#include "rules/TRuleBuilder.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace norvale {

// The rule editor on pLeft: the extension check list and the controls of one rule.
// It validates nothing; "Insert Rule" turns whatever it holds into a rule.
class TRuleEditor : public QWidget {
    Q_OBJECT

public:
    explicit TRuleEditor(QWidget* parent = nullptr);

    QListWidget* lbDomains = nullptr;
    QCheckBox* chkAll = nullptr;
    QLineEdit* edKeyword = nullptr;
    QComboBox* cboKey = nullptr;
    QLineEdit* edNoKeyword = nullptr;
    QCheckBox* chkDashes = nullptr;
    QCheckBox* chkDigits = nullptr;
    QLineEdit* edChars = nullptr;
    QComboBox* cboChars = nullptr;
    QPushButton* bInsRule = nullptr;  // hidden

    TRuleEditorValues Values() const;

    std::array<bool, 10> ExtensionChecks() const;
    void SetExtensionChecks(const std::array<bool, 10>& checks);
    // The marks as the settings store gave them (first run: check everything).
    void ApplyExtensionChecks(const TExtensionCheckLoad& load);

    // Every extension takes chkAll's state.
    void chkAllClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void edCharsChange();
};

}  // namespace norvale
