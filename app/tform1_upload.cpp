// Upload of files into the module from an upload list: the service page's buttons. The session runs the
// steps.
#include "tform1.h"

#include "upload_file.h"
#include "uploadlist.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

namespace oxa {

void TForm1::LoadListClick() {
    const QString path = seams().dialogs->openFileName(tr("info for download (*.ifo)"));
    if (path.isEmpty())
        return;
    const UploadFile list = readUploadList(path);
    if (!list.ok()) {
        report(tr("The upload list %1 cannot be read: %2").arg(path, list.error));
        return;
    }
    auto *memo = ctl<QPlainTextEdit>("List");
    memo->setPlainText(appendListText(memo->toPlainText(), list.data));
    upload.listFolder = QFileInfo(path).absolutePath();
}

void TForm1::ClrListClick() {
    ctl<QPlainTextEdit>("List")->clear();
    upload.listFolder.clear();
}

void TForm1::UpgradeClick() {
    m_session->upload(uploadListLines(ctl<QPlainTextEdit>("List")->toPlainText()), upload.listFolder);
}

} // namespace oxa
