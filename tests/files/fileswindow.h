#pragma once

#include "fakeseams.h"
#include "tform1.h"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace oxa::test {

// A window on a fake port in a fresh folder, started and with nothing sent or said yet. The program's
// own name decides the settings file's name beside it.
struct FilesWindow {
    explicit FilesWindow(const QString &exePath = {}, bool start = true)
        : form(fakes.seams(), exePath.isEmpty() ? folder.filePath(QStringLiteral("GSMQuend")) : exePath) {
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        if (start)
            started();
    }
    ~FilesWindow() { QDir::setCurrent(previousFolder); }

    void started() {
        form.start();
        fakes.port.sent.clear();
    }
    void click(const char *name) { form.ctl<QPushButton>(name)->click(); }
    QString box(const char *name) { return form.ctl<QLineEdit>(name)->text(); }
    QString memo() { return form.ctl<QPlainTextEdit>("List")->toPlainText(); }
    QStringList messages() const { return fakes.errors.messages; }
    QString path(const QString &name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    FakeSeams fakes;
    TForm1 form;
    QString previousFolder;
};

} // namespace oxa::test
