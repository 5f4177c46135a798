#pragma once

#include <QDialog>

#include "domains/TDomainTable.h"
#include "output/TExportLines.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace norvale {

// The export dialog. Created by each "Export..." and destroyed when it closes, so
// every export starts from the settings of the form.
class TfrmExport : public QDialog {
    Q_OBJECT

public:
    explicit TfrmExport(TDomainTable& table, QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;  // the name is always exported
    QCheckBox* CheckBox2 = nullptr;  // "Exp. Date"
    QCheckBox* CheckBox3 = nullptr;  // "Size"
    QLabel* Label1 = nullptr;
    QLineEdit* edDelim = nullptr;
    QPushButton* bExport = nullptr;
    QPushButton* bCancel = nullptr;

    static constexpr const char* kFilter = "Text File (*.txt);;All Files (*)";

    TExportOptions Options() const;
    void edDelimChange();
    void bExportClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TDomainTable& table_;
};

}  // namespace norvale
