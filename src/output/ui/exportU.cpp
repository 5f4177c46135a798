#include "output/ui/exportU.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "util/qt/TQtText.h"
#include "util/ui/TPrompts.h"

namespace norvale {

TfrmExport::TfrmExport(TDomainTable& table, QWidget* parent) : QDialog(parent), table_(table) {
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Export"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);

    GroupBox1 = new QGroupBox(QStringLiteral(" Export Columns"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    CheckBox1 = new QCheckBox(QStringLiteral("Domain name && Ext."), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    CheckBox1->setEnabled(false);
    CheckBox2 = new QCheckBox(QStringLiteral("Exp. Date"), GroupBox1);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setChecked(true);
    CheckBox3 = new QCheckBox(QStringLiteral("Size"), GroupBox1);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    CheckBox3->setChecked(true);
    auto* columns = new QVBoxLayout(GroupBox1);
    columns->addWidget(CheckBox1);
    columns->addWidget(CheckBox2);
    columns->addWidget(CheckBox3);

    Label1 = new QLabel(QStringLiteral(" Delimiter "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    edDelim = new QLineEdit(QStringLiteral(","), this);
    edDelim->setObjectName(QStringLiteral("edDelim"));
    edDelim->setMaxLength(1);
    edDelim->setFixedWidth(32);
    Label1->setBuddy(edDelim);
    auto* delimRow = new QHBoxLayout;
    delimRow->addWidget(Label1);
    delimRow->addWidget(edDelim);
    delimRow->addStretch(1);

    bExport = new QPushButton(QStringLiteral("Export"), this);
    bExport->setObjectName(QStringLiteral("bExport"));
    bCancel = new QPushButton(QStringLiteral("Cancel"), this);
    bCancel->setObjectName(QStringLiteral("bCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bExport);
    buttons->addWidget(bCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(delimRow);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Esc closes the dialog from any control, before the control sees the key.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);

    connect(edDelim, &QLineEdit::textChanged, this, [this] { edDelimChange(); });
    connect(bExport, &QPushButton::clicked, this, [this] { bExportClick(); });
    connect(bCancel, &QPushButton::clicked, this, &QDialog::close);

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TExportOptions TfrmExport::Options() const {
    TExportOptions options;
    options.ExpDate = CheckBox2->isChecked();
    options.Size = CheckBox3->isChecked();
    const std::string delimiter = FromQ(edDelim->text());
    options.Delimiter = delimiter.empty() ? ',' : delimiter[0];
    return options;
}

void TfrmExport::edDelimChange() {
    // The delimiter is never empty or a blank: "," comes back, selected, so that the
    // next character typed replaces it.
    if (!edDelim->text().trimmed().isEmpty())
        return;
    edDelim->setText(QStringLiteral(","));
    edDelim->selectAll();
}

void TfrmExport::bExportClick() {
    // One press is one export: whatever happens, the controls come back and the
    // dialog closes.
    CheckBox2->setEnabled(false);
    CheckBox3->setEnabled(false);
    edDelim->setEnabled(false);
    const TExportOptions options = Options();
    RunCommand(this, [this, &options] {
        const QString file = TPrompts::SaveFileName(
            this, QStringLiteral("Export"), QString::fromLatin1(kFilter), QStringLiteral("txt"));
        if (file.isEmpty())
            return;
        ExportToFile(table_, options, QFile::encodeName(file).toStdString());
    });
    CheckBox2->setEnabled(true);
    CheckBox3->setEnabled(true);
    edDelim->setEnabled(true);
    close();
}

bool TfrmExport::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmExport::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace norvale
