#pragma once

#include <QTableWidget>

namespace oxa {

// A grid with a value list's own keys: Insert asks for a row to be inserted, Ctrl+Delete for the current
// row to be deleted, Down on the last row for a row to be appended. What happens is the window's to
// decide, the same as for its Insert Line and Delete Line buttons; every other key works as in any grid.
class ValueListGrid : public QTableWidget {
    Q_OBJECT
public:
    ValueListGrid(int rows, int columns, QWidget *parent = nullptr) : QTableWidget(rows, columns, parent) {}

signals:
    void insertRowRequested();
    void deleteRowRequested();
    void appendRowRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace oxa
