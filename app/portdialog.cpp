#include "portdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace oxa {

PortDialog::PortDialog(const QList<PortEntry> &ports, const QString &preselect, QWidget *parent)
    : QDialog(parent), m_entries(ports) {
    setObjectName(QStringLiteral("SelectPort"));
    setWindowTitle(tr("Select Port"));
    auto *layout = new QVBoxLayout(this);
    auto *invalid = new QLabel(tr("The configured serial port is not valid."), this);
    auto *choose = new QLabel(tr("Please choose another port."), this);
    m_ports = new QComboBox(this);
    m_ports->setObjectName(QStringLiteral("PortList"));
    m_ports->setEditable(true);
    m_ports->setInsertPolicy(QComboBox::NoInsert);
    m_ports->setMinimumWidth(320);
    for (const PortEntry &entry : ports) {
        const QString shown = entry.description.isEmpty()
                                  ? entry.name
                                  : entry.name + QStringLiteral("  —  ") + entry.description;
        m_ports->addItem(shown, entry.name);
    }
    const int index = preselectedIndex(ports, preselect);
    m_ports->setCurrentIndex(index >= 0 ? index : 0);
    choose->setBuddy(m_ports);
    m_ports->setAccessibleName(choose->text());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    layout->addWidget(invalid);
    layout->addWidget(choose);
    layout->addWidget(m_ports);
    layout->addWidget(buttons);
}

QString PortDialog::chosenPort() const {
    const int index = m_ports->currentIndex();
    // A typed path wins over the list when it differs from the shown entry.
    const QString text = m_ports->currentText().trimmed();
    if (index >= 0 && text == m_ports->itemText(index))
        return m_ports->itemData(index).toString();
    return text;
}

int PortDialog::preselectedIndex(const QList<PortEntry> &ports, const QString &preselect) {
    const QString wanted = preselect.trimmed();
    if (wanted.isEmpty())
        return -1;
    for (qsizetype i = 0; i < ports.size(); ++i)
        if (ports[i].name.compare(wanted, Qt::CaseInsensitive) == 0)
            return int(i);
    bool isNumber = false;
    const int number = wanted.toInt(&isNumber);
    if (!isNumber || number <= 0)
        return -1;
    for (qsizetype i = 0; i < ports.size(); ++i)
        if (ports[i].name.compare(QStringLiteral("COM%1").arg(number), Qt::CaseInsensitive) == 0)
            return int(i);
    for (qsizetype i = 0; i < ports.size(); ++i) {
        const QString &name = ports[i].name;
        if (name.endsWith(QString::number(number)) &&
            !(name.size() > QString::number(number).size() &&
              name.at(name.size() - QString::number(number).size() - 1).isDigit()))
            return int(i);
    }
    return -1;
}

} // namespace oxa
