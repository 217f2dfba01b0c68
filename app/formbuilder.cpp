#include "formbuilder.h"

#include "backdroppatch.h"
#include "pagecontrol.h"
#include "pictures.h"
#include "valuelistgrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSvgWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

namespace oxa {

namespace {

QStringList numbered(int from, int to) {
    QStringList items;
    for (int i = from; i <= to; ++i)
        items << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    return items;
}

QWidget *makeWidget(const Item &item, QWidget *parent) {
    switch (item.kind) {
    case Kind::PageControl:
        return new PageControl(PageControl::Tabs::OneRow, parent);
    case Kind::RowsPageControl:
        return new PageControl(PageControl::Tabs::Rows, parent);
    case Kind::IconPageControl:
        return new PageControl(PageControl::Tabs::Icons, parent);
    case Kind::Page:
        return new QWidget(parent);
    case Kind::GroupBox:
        return new QGroupBox(item.text, parent);
    case Kind::Panel: {
        auto *panel = new QFrame(parent);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setAutoFillBackground(true);
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Window, Qt::white);
        panel->setPalette(palette);
        return panel;
    }
    case Kind::Label:
        return new QLabel(item.text, parent);
    case Kind::Edit: {
        auto *edit = new QLineEdit(item.text, parent);
        edit->setReadOnly(item.flags & ReadOnly);
        return edit;
    }
    case Kind::Combo:
    case Kind::DropDown: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(item.kind == Kind::Combo);
        combo->addItems(itemList(item.extra));
        combo->setMaxVisibleItems(12);
        if (item.kind == Kind::Combo)
            combo->setEditText(item.text.isEmpty() ? combo->itemText(0) : item.text);
        return combo;
    }
    case Kind::Radio:
        return new QRadioButton(item.text, parent);
    case Kind::Check:
        return new QCheckBox(item.text, parent);
    case Kind::Button: {
        auto *button = new QPushButton(item.text, parent);
        if (!item.extra.isEmpty()) {
            button->setIcon(svgIcon(item.extra, {16, 16}));
            button->setIconSize({16, 16});
        }
        return button;
    }
    case Kind::Tree: {
        auto *tree = new QTreeWidget(parent);
        tree->setHeaderHidden(true);
        tree->setRootIsDecorated(false);
        tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tree->setUniformRowHeights(true);
        // Long node texts scroll sideways instead of being cut off.
        tree->header()->setStretchLastSection(false);
        tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        return tree;
    }
    case Kind::Grid: {
        auto *grid = new ValueListGrid(0, 2, parent);
        grid->setHorizontalHeaderLabels(item.text.split(QLatin1Char('|')));
        grid->verticalHeader()->setVisible(false);
        grid->verticalHeader()->setDefaultSectionSize(20);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setColumnWidth(0, 132);
        grid->horizontalHeader()->setStretchLastSection(true);
        return grid;
    }
    case Kind::Memo: {
        auto *memo = new QPlainTextEdit(parent);
        memo->setReadOnly(item.flags & ReadOnly);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        if (item.flags & Greyed) {
            QPalette palette = memo->palette();
            palette.setColor(QPalette::Base, QColor(0xe4, 0xe4, 0xe4));
            memo->setPalette(palette);
        }
        return memo;
    }
    case Kind::TrackBar: {
        auto *slider = new QSlider(Qt::Vertical, parent);
        slider->setRange(1, 7);
        slider->setValue(7);
        slider->setTickPosition(QSlider::TicksBothSides);
        slider->setTickInterval(1);
        slider->setPageStep(1);
        // Position 1 is the loudest setting: it sits at the top, as on the unit's own scale.
        slider->setInvertedAppearance(true);
        return slider;
    }
    case Kind::Progress: {
        auto *bar = new QProgressBar(parent);
        bar->setOrientation(Qt::Vertical);
        bar->setRange(0, 420);
        bar->setValue(0);
        bar->setTextVisible(false);
        return bar;
    }
    case Kind::Gauge: {
        auto *gauge = new QProgressBar(parent);
        gauge->setRange(0, 31);
        gauge->setValue(0);
        gauge->setTextVisible(false);
        gauge->setStyleSheet(QStringLiteral("QProgressBar { background: #808080; border: 1px solid #5a5a5a; }"
                                            "QProgressBar::chunk { background: black; }"));
        return gauge;
    }
    case Kind::ProgressStrip: {
        auto *bar = new QProgressBar(parent);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        return bar;
    }
    case Kind::Picture:
        return new QSvgWidget(pictureResource(item.extra), parent);
    case Kind::Backdrop: {
        // A plain area, not a label: it has nothing to say to a screen reader.
        auto *backdrop = new QWidget(parent);
        backdrop->setAutoFillBackground(true);
        QPalette palette = backdrop->palette();
        palette.setColor(QPalette::Window, Qt::white);
        backdrop->setPalette(palette);
        return backdrop;
    }
    case Kind::Led:
        return new QSvgWidget(pictureResource(QStringLiteral("rxd_led")), parent);
    case Kind::Bevel: {
        auto *bevel = new QFrame(parent);
        bevel->setFrameShape(QFrame::Box);
        bevel->setFrameShadow(QFrame::Sunken);
        return bevel;
    }
    }
    return new QWidget(parent);
}

} // namespace

QStringList itemList(const QString &listName) {
    if (listName == QLatin1String("pos"))
        return {"1", "2", "3", "4", "5", "6", "7"};
    if (listName == QLatin1String("waitbuf"))
        return {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    if (listName == QLatin1String("access"))
        return QStringList{"**"} + numbered(1, 99);
    if (listName == QLatin1String("month"))
        return QStringList{"**"} + numbered(1, 12);
    if (listName == QLatin1String("day"))
        return QStringList{"**"} + numbered(1, 31);
    if (listName == QLatin1String("hour"))
        return numbered(0, 23) << "**";
    if (listName == QLatin1String("waiting"))
        return {"20", "10", "20", "30", "40", "50", "60", "70", "80", "90"};
    return {};
}

void buildControls(QWidget *root, const std::vector<Item> &items, ControlMap &controls) {
    controls.insert(QStringLiteral("Central"), root);
    for (const Item &item : items) {
        QWidget *parent = qobject_cast<QWidget *>(controls.value(item.parent));
        Q_ASSERT_X(parent, "buildControls", qPrintable(item.parent));
        if (!parent)
            continue;
        QWidget *widget = nullptr;
        if (item.kind == Kind::Page) {
            auto *tabs = qobject_cast<QTabWidget *>(parent);
            widget = makeWidget(item, tabs);
            const int index = tabs->addTab(widget, item.text);
            if (!item.extra.isEmpty())
                tabs->setTabIcon(index, svgIcon(item.extra, {40, 40}));
            if (item.flags & Hidden)
                tabs->setTabVisible(index, false);
        } else if (item.kind == Kind::Led) {
            // The indicator blinks with every piece of received data: on a patch of its own, so that
            // blinking repaints that patch and not the group box behind it.
            auto *patch = new BackdropPatch(parent);
            patch->setGeometry(item.geometry);
            widget = makeWidget(item, patch);
            widget->setGeometry(0, 0, item.geometry.width(), item.geometry.height());
            if (item.flags & Hidden)
                widget->hide();
        } else {
            widget = makeWidget(item, parent);
            widget->setGeometry(item.geometry);
            if (item.flags & Hidden)
                widget->hide();
        }
        widget->setObjectName(item.name);
        if (item.flags & Disabled)
            widget->setEnabled(false);
        controls.insert(item.name, widget);
    }
}

} // namespace oxa
