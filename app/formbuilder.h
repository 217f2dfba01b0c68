#pragma once

#include <QHash>
#include <QRect>
#include <QString>
#include <vector>

class QWidget;
class QObject;

namespace oxa {

// The kinds of control the window is made of.
enum class Kind {
    PageControl,     // tabbed pages
    RowsPageControl, // tabbed pages whose tabs wrap onto several rows when they do not fit in one
    IconPageControl, // tabbed pages whose tabs show a 40 x 40 icon beside the caption
    Page,            // one page of the page control named as parent; text is the tab caption
    GroupBox,
    Panel, // white panel
    Label,
    Edit,
    Combo,    // editable combo box
    DropDown, // selection-only list
    Radio,
    Check,
    Button,
    Tree,
    Grid,
    Memo,
    TrackBar, // vertical, 1..7
    Progress, // vertical bar (battery)
    Gauge,    // horizontal bar 0..31 without text
    ProgressStrip,
    Picture,  // SVG picture; extra is its resource name
    Backdrop, // plain white picture
    Led,
    Bevel,
};

enum Flag : unsigned {
    None = 0,
    Hidden = 1,
    Disabled = 2,
    ReadOnly = 4,
    Greyed = 8, // grey background (memos)
};

// One control of the window: kind, component name, parent's name, place and size in the parent,
// layout text, and a kind-specific extra (picture resource, item list, buddy of a label).
struct Item {
    Kind kind;
    QString name;
    QString parent;
    QRect geometry;
    QString text = {};
    QString extra = {};
    unsigned flags = None;
};

using ControlMap = QHash<QString, QObject *>;

// Creates the items in order below `root` (registered under the name "Central"), registering each
// control under its name; each widget's objectName is its name.
void buildControls(QWidget *root, const std::vector<Item> &items, ControlMap &controls);

// Item lists of the combo boxes, by the list name used in Item::extra.
QStringList itemList(const QString &listName);

} // namespace oxa
