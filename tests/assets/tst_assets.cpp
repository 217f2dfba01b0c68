// Checks the window artwork compiled into oxa_assets: each picture named by the
// main-window layout exists under ":/img", is valid SVG for Qt SVG, and has the
// size that its place in the layout expects.
#include <QtTest>
#include <QSvgRenderer>
#include <QImage>
#include <QPainter>

namespace {

struct Picture {
    const char* name;
    int width;
    int height;
};

// Roles: unit front views (button pages), arrows, status traffic light,
// receive LED, tab icons and button glyphs.
const Picture kPictures[] = {
    {"oxa1.svg", 150, 300},          {"oxa2.svg", 150, 300},
    {"oxaf1.svg", 150, 300},         {"oxaf2.svg", 150, 300},
    {"oxal1.svg", 150, 300},         {"oxal2.svg", 150, 300},
    {"oxapanel1.svg", 150, 300},     {"oxapanel2.svg", 150, 300},
    {"arrow_left.svg", 57, 41},      {"arrow_left_b.svg", 57, 41},
    {"status_run.svg", 25, 41},      {"status_stop.svg", 25, 41},
    {"status_busy.svg", 25, 41},
    {"rxd_led.svg", 11, 9},
    {"tab_buttons.svg", 40, 40},     {"tab_monitor.svg", 40, 40},
    {"tab_phonebook.svg", 40, 40},   {"tab_unused.svg", 40, 40},
    {"tab_service.svg", 40, 40},     {"tab_setting.svg", 40, 40},
    {"glyph_insert_row.svg", 16, 16},  {"glyph_delete_row.svg", 16, 16},
    {"glyph_save_log.svg", 16, 16},    {"glyph_load_list.svg", 16, 16},
    {"glyph_clear_list.svg", 16, 16},  {"glyph_upgrade.svg", 16, 16},
    {"glyph_run.svg", 16, 16},         {"glyph_stop.svg", 16, 16},
    {"glyph_save_device.svg", 16, 16}, {"glyph_load_device.svg", 16, 16},
    {"glyph_save_file.svg", 16, 16},   {"glyph_load_file.svg", 16, 16},
};

} // namespace

class TestAssets : public QObject {
    Q_OBJECT

private slots:
    void picture_data();
    void picture();
    void placeholderIsGone();
};

void TestAssets::picture_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    for (const Picture& p : kPictures)
        QTest::newRow(p.name) << QStringLiteral(":/img/%1").arg(QLatin1String(p.name))
                              << QSize(p.width, p.height);
}

void TestAssets::picture()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    QVERIFY2(QFile::exists(path), qPrintable(path + " is not compiled in"));
    QSvgRenderer renderer(path);
    QVERIFY2(renderer.isValid(), qPrintable(path + " is not valid SVG"));
    QCOMPARE(renderer.defaultSize(), size);
    QCOMPARE(renderer.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(size)));

    // It must actually draw something (not an empty or fully transparent picture).
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                ++opaque;
    QVERIFY2(opaque > image.width() * image.height() / 10,
             qPrintable(path + " draws almost nothing"));
}

void TestAssets::placeholderIsGone()
{
    QVERIFY(!QFile::exists(QStringLiteral(":/img/placeholder.svg")));
}

QTEST_MAIN(TestAssets)
#include "tst_assets.moc"
