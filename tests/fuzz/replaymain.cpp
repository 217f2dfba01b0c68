// Replays a fuzz target's corpus with the normal compiler: every file of the corpus folder goes through
// the target's entry function once. A file that makes it crash, abort on a broken property or trip a
// sanitizer fails this test, so a reproducer once added stays fixed.
#include <QDir>
#include <QFile>
#include <QTest>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

class ReplayCorpus : public QObject {
    Q_OBJECT

    static QDir corpus() { return QDir(QStringLiteral(OXA_FUZZ_CORPUS)); }
    static QStringList corpusFiles() { return corpus().entryList(QDir::Files | QDir::Hidden, QDir::Name); }

private slots:
    void corpusHasFiles() { QVERIFY2(!corpusFiles().isEmpty(), qPrintable(corpus().path())); }

    void replay_data() {
        QTest::addColumn<QString>("path");
        for (const QString &file : corpusFiles())
            QTest::newRow(qPrintable(file)) << corpus().filePath(file);
    }

    void replay() {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
        const QByteArray bytes = file.readAll();
        QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                        std::size_t(bytes.size())),
                 0);
    }
};

// A target that builds the window needs the application a window needs.
#ifdef OXA_FUZZ_WIDGETS
QTEST_MAIN(ReplayCorpus)
#else
QTEST_GUILESS_MAIN(ReplayCorpus)
#endif
#include "replaymain.moc"
