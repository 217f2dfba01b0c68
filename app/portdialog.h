#pragma once

#include "serialline.h"

#include <QDialog>

class QComboBox;

namespace oxa {

// "Select Port": the ports present (with what they are), editable so that a device path can be typed.
class PortDialog : public QDialog {
    Q_OBJECT
public:
    PortDialog(const QList<PortEntry> &ports, const QString &preselect, QWidget *parent = nullptr);

    QString chosenPort() const;

    // The entry the preselection names: its exact name, COM<n> or a name ending in <n> for a number.
    static int preselectedIndex(const QList<PortEntry> &ports, const QString &preselect);

private:
    QComboBox *m_ports;
    QList<PortEntry> m_entries;
};

} // namespace oxa
