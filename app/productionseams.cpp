#include "productionseams.h"

#include "portdialog.h"

#include <QApplication>
#include <QDebug>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

namespace oxa {

namespace {
bool terminationRequested = false;
} // namespace

void setTerminating() {
    terminationRequested = true;
}
bool terminating() {
    return terminationRequested;
}

void EventLoopPause::after(int milliseconds, std::function<void()> then) {
    QTimer::singleShot(std::max(milliseconds, 0), Qt::PreciseTimer, &m_context, std::move(then));
}

void MessageBoxReport::report(const QString &message) {
    if (terminating()) {
        qWarning().noquote() << message;
        return;
    }
    QMessageBox::critical(m_parent, QApplication::applicationDisplayName(), message);
}

std::optional<QString> PlatformDialogs::choosePort(const QList<PortEntry> &ports, const QString &preselect) {
    if (terminating())
        return std::nullopt;
    PortDialog dialog(ports, preselect, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenPort();
}

QString PlatformDialogs::openFileName(const QString &filter) {
    return QFileDialog::getOpenFileName(m_parent, QString(), QString(), filter);
}

QString PlatformDialogs::saveFileName(const QString &filter) {
    // Confirmation of an existing name is left out: the name is replaced, as the user chose it.
    return QFileDialog::getSaveFileName(m_parent, QString(), QString(), filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

bool PlatformDialogs::confirm(const QString &question) {
    if (terminating())
        return false;
    return QMessageBox::question(m_parent, QApplication::applicationDisplayName(), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

} // namespace oxa
