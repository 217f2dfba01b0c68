// The window's layout: every control in place with its initial state, and a look at every page.
#include "fakeseams.h"
#include "tform1.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace oxa;

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void grabPages();
};

// With OXA_GRAB_DIR set, writes a PNG of every page and inner page for a person to look at.
void TestWindow::grabPages() {
    const QString folder = qEnvironmentVariable("OXA_GRAB_DIR");
    if (folder.isEmpty())
        QSKIP("OXA_GRAB_DIR not set");
    test::FakeSeams fakes;
    TForm1 form(fakes.seams(), QDir::temp().filePath(qEnvironmentVariable("OXA_GRAB_NAME", "OXAset")));
    form.start();
    form.show();
    QDir().mkpath(folder);
    const auto outer = form.findChild<QTabWidget *>("PageControl1");
    for (int page = 0; page < outer->count(); ++page) {
        outer->setCurrentIndex(page);
        QList<QTabWidget *> inner = outer->widget(page)->findChildren<QTabWidget *>();
        if (inner.isEmpty()) {
            form.grab().save(QDir(folder).filePath(outer->widget(page)->objectName() + ".png"));
            continue;
        }
        for (QTabWidget *tabs : inner) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                // Inner pages of inner pages show through their parents.
                for (QWidget *w = tabs->parentWidget(); w; w = w->parentWidget())
                    if (auto *parentTabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
                        parentTabs->setCurrentWidget(w);
                form.grab().save(QDir(folder).filePath(tabs->widget(i)->objectName() + ".png"));
            }
        }
    }
    QVERIFY(QDir(folder).entryList({"*.png"}).size() >= 5);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
