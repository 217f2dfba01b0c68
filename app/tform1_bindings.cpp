// Which control event runs which handler.
#include "tform1.h"

#include "memories_trees.h"
#include "valuelistgrid.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>

namespace oxa {

namespace {

template <class Control, class Signal, class Handler>
void on(TForm1 *form, const QString &name, Signal signal, Handler handler) {
    auto *control = qobject_cast<Control *>(form->control(name));
    Q_ASSERT_X(control, "bindHandlers", qPrintable(name));
    if (control)
        QObject::connect(control, signal, form, handler);
}

} // namespace

void TForm1::bindHandlers() {
    auto click = [this](const QString &name, void (TForm1::*handler)()) {
        on<QAbstractButton>(this, name, &QAbstractButton::clicked,
                            [this, handler] { runHandler([this, handler] { (this->*handler)(); }); });
    };
    // Radio buttons act when they become selected, check boxes on every change of state, also when
    // the program sets them.
    auto select = [this](const QString &name, void (TForm1::*handler)()) {
        on<QAbstractButton>(this, name, &QAbstractButton::toggled, [this, handler](bool on) {
            if (on)
                runHandler([this, handler] { (this->*handler)(); });
        });
    };
    auto toggle = [this](const QString &name, void (TForm1::*handler)()) {
        on<QAbstractButton>(this, name, &QAbstractButton::toggled,
                            [this, handler] { runHandler([this, handler] { (this->*handler)(); }); });
    };
    auto change = [this](const QString &name, std::function<void()> handler) {
        on<QLineEdit>(this, name, &QLineEdit::textChanged, [this, handler] { runHandler(handler); });
    };
    auto comboChange = [this](const QString &name, void (TForm1::*handler)()) {
        on<QComboBox>(this, name, &QComboBox::currentTextChanged,
                      [this, handler] { runHandler([this, handler] { (this->*handler)(); }); });
    };
    auto treeClick = [this](const QString &name, void (TForm1::*handler)()) {
        on<QTreeWidget>(this, name, &QTreeWidget::itemClicked,
                        [this, handler] { runHandler([this, handler] { (this->*handler)(); }); });
        on<QTreeWidget>(this, name, &QTreeWidget::itemActivated,
                        [this, handler] { runHandler([this, handler] { (this->*handler)(); }); });
    };
    auto treeAddition = [this](const QString &name, void (TForm1::*handler)()) {
        auto *tree = qobject_cast<QTreeWidget *>(control(name));
        connect(tree->model(), &QAbstractItemModel::rowsInserted, this,
                [this, handler, tree](const QModelIndex &parent, int first, int last) {
                    // A node added at its place (as every read adds them) leaves nothing to restore; reading
                    // the whole tree on each of a read's 250 additions would make the fill quadratic.
                    if (!parent.isValid() && nodesInOrderAround(tree, first, last, m_codePage))
                        return;
                    runHandler([this, handler] { (this->*handler)(); });
                });
    };

    click("SaveMonitor", &TForm1::SaveMonitorClick);
    connect(m_ledTimer, &QTimer::timeout, this, [this] { runHandler([this] { LedTimerTimer(); }); });
    connect(m_cekani, &QTimer::timeout, this, [this] { runHandler([this] { CekaniTimer(); }); });

    click("RunOXA", &TForm1::RunOXAClick);
    click("StopOXA", &TForm1::StopOXAClick);
    click("SaveOXA", &TForm1::SaveOXAClick);
    click("LoadOXA", &TForm1::LoadOXAClick);
    click("signal", &TForm1::signalClick);
    click("Inicializace", &TForm1::InicializaceClick);
    click("IMEI", &TForm1::IMEIClick);

    click("LoadList", &TForm1::LoadListClick);
    click("ClrList", &TForm1::ClrListClick);
    click("Upgrade", &TForm1::UpgradeClick);

    click("Save", &TForm1::SaveClick);
    click("Load", &TForm1::LoadClick);

    for (int row = 1; row <= 7; ++row) {
        const QString n = QString::number(row);
        change("AABUTTON" + n, [this, row] { AABUTTONChange(row); });
        change("ABUTTON" + n, [this, row] { ABUTTONChange(row); });
        change("BBUTTON" + n, [this, row] { BBUTTONChange(row); });
        change("ADMIN" + n, [this, row] { ADMINChange(row); });
    }
    change("RelCode1", [this] { RelCode1Change(); });
    change("RelCode2", [this] { RelCode2Change(); });
    change("RelTime1", [this] { RelTime1Change(); });
    change("RelTime2", [this] { RelTime2Change(); });
    select("RelCam1", &TForm1::RelCam1Click);
    select("RelCam2", &TForm1::RelCam2Click);
    select("RelLi1", &TForm1::RelLi1Click);
    select("RelLi2", &TForm1::RelLi2Click);
    select("RelBut1", &TForm1::RelBut1Click);
    select("RelBut2", &TForm1::RelBut2Click);
    select("RelSMS1", &TForm1::RelSMS1Click);
    select("RelSMS2", &TForm1::RelSMS2Click);
    toggle("RelRing1", &TForm1::RelRing1Click);
    toggle("RelRing2", &TForm1::RelRing2Click);
    toggle("RelRingAll1", &TForm1::RelRingAll1Click);
    toggle("RelRingAll2", &TForm1::RelRingAll2Click);
    select("SIMCall", &TForm1::SIMCallClick);
    select("AllCall", &TForm1::AllCallClick);

    click("LineIn", &TForm1::LineInClick);
    click("LineDel", &TForm1::LineDelClick);
    click("Find", &TForm1::FindClick);
    if (auto *grid = qobject_cast<ValueListGrid *>(control(QStringLiteral("PhoneBook1")))) {
        connect(grid, &ValueListGrid::insertRowRequested, this,
                [this] { runHandler([this] { LineInClick(); }); });
        connect(grid, &ValueListGrid::deleteRowRequested, this,
                [this] { runHandler([this] { LineDelClick(); }); });
        connect(grid, &ValueListGrid::appendRowRequested, this,
                [this] { runHandler([this] { appendLineBelowLast(); }); });
    }

    treeAddition("TreeButtons", &TForm1::TreeButtonsAddition);
    treeClick("TreeButtons", &TForm1::TreeButtonsClick);
    treeAddition("TreeButtonsSel", &TForm1::TreeButtonsSelAddition);
    treeClick("TreeButtonsSel", &TForm1::TreeButtonsSelClick);
    comboChange("PosButton", &TForm1::PosButtonChange);
    change("Button", [this] { ButtonChange(); });
    change("ButtonPNumber", [this] { ButtonPNumberChange(); });
    click("AddButton", &TForm1::AddButtonClick);
    click("WriteButton", &TForm1::WriteButtonClick);
    click("DelButtonSel", &TForm1::DelButtonSelClick);
    click("DelButton", &TForm1::DelButtonClick);
    treeAddition("TreeMemo", &TForm1::TreeMemoAddition);
    treeClick("TreeMemo", &TForm1::TreeMemoClick);
    treeAddition("TreeMemoSel", &TForm1::TreeMemoSelAddition);
    treeClick("TreeMemoSel", &TForm1::TreeMemoSelClick);
    comboChange("PosMemo", &TForm1::PosMemoChange);
    change("Memo", [this] { MemoChange(); });
    change("MemoPNumber", [this] { MemoPNumberChange(); });
    click("AddMemo", &TForm1::AddMemoClick);
    click("WriteMemo", &TForm1::WriteMemoClick);
    click("DelMemoSel", &TForm1::DelMemoSelClick);
    click("DelMemo", &TForm1::DelMemoClick);
    treeAddition("TreeCode", &TForm1::TreeCodeAddition);
    click("DelCode", &TForm1::DelCodeClick);
    click("AddCode", &TForm1::AddCodeClick);
    toggle("DetBut", &TForm1::DetButClick);

    treeClick("TreeCode", &TForm1::OnClickCode);
    for (int mode = 0; mode <= 4; ++mode) {
        change("CodeM" + QString::number(mode), [this, mode] { CodeMChange(mode); });
        on<QAbstractButton>(this, "WriteCode" + QString::number(mode), &QAbstractButton::clicked,
                            [this, mode] { runHandler([this, mode] { WriteCodeClick(mode); }); });
    }
}

} // namespace oxa
