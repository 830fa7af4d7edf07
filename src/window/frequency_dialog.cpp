// frequency_dialog.cpp: the frequency of an .h5 export; see frequency_dialog.h.
#include "window/frequency_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <string_view>

#include "field/figures.h"

namespace orvex {

namespace {

QString last_frequency;  // offered again in the same run

}  // namespace

bool ASK_EXPORT_FREQUENCY(QWidget* parent, double& frequency_mhz) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("export_frequency"));
    dialog.setWindowTitle(QStringLiteral("Export Map"));
    auto* words = new QLabel(QStringLiteral("The .h5 file holds the map as a static field, or as the RF field of a "
                                            "frequency (harmonic 1, E and i B, with its fundamental frequency)."));
    words->setWordWrap(true);
    auto* frequency = new QLineEdit(last_frequency);
    frequency->setPlaceholderText(QStringLiteral("empty: a static field"));
    auto* message = new QLabel;
    message->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Frequency (MHz):"), frequency);
    auto* column = new QVBoxLayout(&dialog);
    column->addWidget(words);
    column->addLayout(form);
    column->addWidget(message);
    column->addWidget(buttons);
    dialog.resize(460, dialog.sizeHint().height());

    double taken = 0.0;
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        const QString text = frequency->text().trimmed();
        bool ok = true;
        taken = text.isEmpty() ? 0.0 : text.toDouble(&ok);  // the C locale's form
        if (!text.isEmpty() && (!ok || !FREQUENCY_USABLE(taken))) {
            const std::string_view rule = frequency_rule;
            message->setText(QStringLiteral("The frequency ") +
                             QString::fromUtf8(rule.data(), static_cast<qsizetype>(rule.size())) +
                             QStringLiteral(", or nothing for a static field."));
            frequency->setFocus();
            return;
        }
        last_frequency = text;
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return false;
    frequency_mhz = taken;
    return true;
}

}  // namespace orvex
