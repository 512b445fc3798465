#include "dialogs/headerpropdialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* valueLine(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    // The values (a long path above all) can be copied but not changed.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

} // namespace

THeaderPropDialog::THeaderPropDialog(QWidget* parent, bool withFileName, int designedHeight)
    : QDialog(parent) {
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* fields = new QGridLayout;
    fields->setColumnStretch(1, 1);
    auto addField = [&](int row, QLabel*& label, QLineEdit*& edit, const char* labelName,
                        const char* editName) {
        label = new QLabel(this);
        label->setObjectName(QLatin1String(labelName));
        edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(editName));
        label->setBuddy(edit);
        fields->addWidget(label, row, 0);
        fields->addWidget(edit, row, 1);
    };
    addField(0, lblBezeichnung, Bezeichnung, "lblBezeichnung", "Bezeichnung");
    addField(1, lblAutor, Autor, "lblAutor", "Autor");
    addField(2, lblCopyright, Copyright, "lblCopyright", "Copyright");

    lblErstelltAm = valueLine(this, "lblErstelltAm");
    lblGeaendertAm = valueLine(this, "lblGeaendertAm");
    if (withFileName)
        lblDateiname = valueLine(this, "lblDateiname");

    cmdOk = new QPushButton(this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOkClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);

    auto* main = new QVBoxLayout(this);
    main->addLayout(fields);
    main->addWidget(separator(this));
    main->addWidget(lblErstelltAm);
    main->addWidget(lblGeaendertAm);
    if (lblDateiname)
        main->addWidget(lblDateiname);
    main->addStretch(1);
    main->addWidget(separator(this));
    main->addLayout(buttons);

    m_designedSize = QSize(449, designedHeight);
}

void THeaderPropDialog::showEvent(QShowEvent* event) {
    FormShow();
    layout()->activate();
    // A fixed dialog of the designed size; it grows only where the platform
    // font or a long value needs more room.
    const int width = qMax(m_designedSize.width(), minimumSizeHint().width());
    const int height = std::max({m_designedSize.height(), layout()->totalHeightForWidth(width),
                                 minimumSizeHint().height()});
    setFixedSize(width, height);
    QDialog::showEvent(event);
}

void THeaderPropDialog::SetValueLine(QLabel* label, const QString& text, const QString& value) {
    label->setText(text + QLatin1Char(' ') + value);
}

void THeaderPropDialog::cmdOkClick() {
    accept();
}
