// Upload of files into the module from an upload list: the service page's buttons and the hooks the
// receive parser calls on the module's prompt, "OK" and refusal.
#include "tform1.h"

#include "upload_file.h"
#include "upload_flow.h"

#include <QFile>
#include <QPlainTextEdit>

namespace oxa {

void TForm1::LoadListClick() {
    const QString path = seams().dialogs->openFileName(tr("info for download (*.ifo)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        report(tr("The upload list %1 cannot be read: %2").arg(path, file.errorString()));
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        report(tr("The upload list %1 cannot be read: %2").arg(path, file.errorString()));
        return;
    }
    auto *list = ctl<QPlainTextEdit>("List");
    list->setPlainText(appendListText(list->toPlainText(), bytes));
}

void TForm1::ClrListClick() {
    ctl<QPlainTextEdit>("List")->clear();
}

void TForm1::UpgradeClick() {
    startUpload(*this);
}

void TForm1::sendUploadData() {
    sendStepData(*this);
}

void TForm1::advanceUpload() {
    advanceToNextStep(*this);
}

void TForm1::uploadStepFailed(const QByteArray &reply) {
    failUploadStep(*this, reply);
}

} // namespace oxa
