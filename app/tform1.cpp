#include "tform1.h"

#include "accessibility.h"
#include "entryfieldeditor.h"
#include "formbuilder.h"
#include "layout.h"
#include "monitor.h"
#include "portlayer.h"
#include "shownbytes.h"
#include "writeplan.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

namespace oxa {

namespace {

constexpr int ClientWidth = 613;
constexpr int ClientHeight = 503;
constexpr int StatusBarHeight = 22;

struct PanelLayout {
    int width;
    const char *text;
};
constexpr PanelLayout StatusPanels[] = {
    {190, " Operator:"}, {160, " board voltage:"}, {60, " SIM:"}, {75, "  Ver: 5.1"}, {0, " OXA Ver:"},
};

} // namespace

TForm1::TForm1(const Seams &seams, const QString &executablePath, QWidget *parent)
    : QMainWindow(parent), m_seams(seams), m_executablePath(executablePath) {
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("OXAset"));

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Central"));
    central->setFixedSize(ClientWidth, ClientHeight - StatusBarHeight);
    setCentralWidget(central);
    buildControls(central, windowLayout(), m_controls);

    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(StatusBarHeight);
    for (const PanelLayout &panel : StatusPanels) {
        auto *label = new QLabel(QString::fromLatin1(panel.text), bar);
        label->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(m_panels.size()));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        if (panel.width > 0)
            label->setFixedWidth(panel.width);
        bar->addWidget(label, panel.width > 0 ? 0 : 1);
        m_panels << label;
        m_controls.insert(label->objectName(), label);
    }
    setStatusBar(bar);
    m_controls.insert(bar->objectName(), bar);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_cekani = new QTimer(this);
    m_cekani->setObjectName(QStringLiteral("Cekani"));
    m_cekani->setInterval(1000);
    m_cekani->start(); // enabled in the layout; start-up stops it
    m_ledTimer = new QTimer(this);
    m_ledTimer->setObjectName(QStringLiteral("LedTimer"));
    m_ledTimer->setInterval(ReceiveIndicatorHoldMs);
    m_controls.insert(m_cekani->objectName(), m_cekani);
    m_controls.insert(m_ledTimer->objectName(), m_ledTimer);

    m_monitor = new Monitor(ctl<QPlainTextEdit>("Monitor"), this);

    // The dialogue with the unit: it asks its questions through the window's dialogs.
    struct DialogQuestions : SessionQuestions {
        explicit DialogQuestions(Dialogs *dialogs) : dialogs(dialogs) {}
        bool confirm(const QString &question) override { return dialogs && dialogs->confirm(question); }
        Dialogs *dialogs;
    };
    m_questions = std::make_unique<DialogQuestions>(m_seams.dialogs);
    if (m_seams.port) {
        m_session = new UnitSession(*m_seams.port, m_configuration, *m_seams.pause, *m_questions, this);
        connect(m_seams.port, &PortLayer::notice, this, &TForm1::log);
    }

    registerControls();
    bindHandlers();
    connectConfiguration();
    showRows(); // an empty phone book shows one empty row
    if (m_session)
        connectSession();
}

TForm1::~TForm1() {
    // Closing the window commits an open cell editor and the like: nothing of that may reach this window's
    // handlers once its own members are gone.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

QString TForm1::panelText(int index) const {
    return m_panels.value(index) ? m_panels.value(index)->text() : QString();
}

void TForm1::setPanelText(int index, const QString &text) {
    if (QLabel *panel = m_panels.value(index))
        panel->setText(text);
}

// Pages shown at start, labels as their boxes' buddies, plain-text labels, and a name for every
// control that screen readers and UI automation can find.
void TForm1::registerControls() {
    ctl<QTabWidget>("PageControl1")->setCurrentIndex(0);
    ctl<QTabWidget>("OXAtyp")->setCurrentIndex(0);
    ctl<QTabWidget>("PageControl2")->setCurrentIndex(0);
    ctl<QTabWidget>("PageControl3")->setCurrentIndex(0);
    ctl<QTabWidget>("ModeCode")->setCurrentIndex(4);
    ctl<QComboBox>("waiting")->setCurrentIndex(2);
    ctl<QLabel>("Label35")->setWordWrap(true);
    auto *cancel = ctl<QPushButton>("CancelOperation");
    cancel->setToolTip(
        tr("Stops the operation under way once the unit has answered the command in flight (Esc)."));
    connect(cancel, &QPushButton::clicked, this, [this] { runHandler([this] { cancelOperation(); }); });
    // Escape cancels only while something runs, so that it still closes a cell editor otherwise.
    m_cancelShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_cancelShortcut->setEnabled(false);
    connect(m_cancelShortcut, &QShortcut::activated, this,
            [this] { runHandler([this] { cancelOperation(); }); });
    // Grid cells take only what the unit can store, and show what it could not.
    auto *grid = ctl<QTableWidget>("PhoneBook1");
    grid->setItemDelegate(new PhoneBookCellDelegate(&m_codePage, grid));
    connect(grid, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem *item) { markUnwritableCells(item->row()); });
    // A reading such as "4050 mV" takes the whole width of the narrow battery group.
    ctl<QLabel>("Voltage")->setAlignment(Qt::AlignCenter);
    // The strip's own hint; no text of the settings file replaces it.
    ctl<QWidget>("Bevel1")->setToolTip(tr("Signal is good, when color is green or blue."));

    QHash<QWidget *, QLabel *> labelOf;
    for (const Item &item : windowLayout()) {
        auto *label = qobject_cast<QLabel *>(control(item.name));
        if (!label)
            continue;
        label->setTextFormat(Qt::PlainText);
        if (item.kind == Kind::Label && !item.extra.isEmpty()) {
            label->setBuddy(qobject_cast<QWidget *>(control(item.extra)));
            labelOf.insert(label->buddy(), label);
        }
    }

    // Free texts that become an entry's bytes take only what the unit can store; the hint names the
    // box by its label. (The filtered boxes drop such characters in their filters.)
    const auto refuseUnstorable = [this, &labelOf](QWidget *box, QLineEdit *edit) {
        QLabel *label = labelOf.value(box);
        refuseUnstorableCharacters(edit, &m_codePage, [label, box] {
            return label && !label->text().isEmpty() ? label->text() : box->objectName();
        });
    };
    for (const char *name : {"ALARMON", "ALARMOFF"})
        refuseUnstorable(ctl<QLineEdit>(name), ctl<QLineEdit>(name));
    for (const Item &item : windowLayout())
        if (auto *combo = qobject_cast<QComboBox *>(control(item.name)); combo && combo->isEditable())
            refuseUnstorable(combo, combo->lineEdit());
}

void TForm1::runHandler(const std::function<void()> &handler) {
    ++m_handlerDepth;
    try {
        handler();
    } catch (const PortError &error) {
        m_seams.errors->report(error.text());
    } catch (const std::exception &error) {
        m_seams.errors->report(QString::fromLocal8Bit(error.what()));
    }
    --m_handlerDepth;
    if (m_handlerDepth == 0)
        updateCancelButton();
    if (m_handlerDepth == 0 && m_closePending) {
        m_closePending = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TForm1::closeEvent(QCloseEvent *event) {
    // A close that arrives inside a handler (during one of its dialogs) waits for it to finish.
    if (m_handlerDepth > 0) {
        m_closePending = true;
        event->ignore();
        return;
    }
    if (!m_closed) {
        m_closed = true;
        runHandler([this] { FormClose(); });
    }
    event->accept();
}

QByteArray TForm1::unitBytes(const QString &text) const {
    return shownTextBytes(m_codePage, text);
}

void TForm1::log(const QString &line) {
    m_monitor->log(line);
}

void TForm1::report(const QString &message) {
    m_seams.errors->report(message);
}

void TForm1::showStatus(const char *pictureName) {
    for (const char *name : {"DeviceRun", "DeviceStop", "DeviceNic"})
        if (auto *picture = ctl<QWidget>(name))
            picture->setVisible(qstrcmp(name, pictureName) == 0);
}

} // namespace oxa
