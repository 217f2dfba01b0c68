#include "valuelistgrid.h"

#include <QKeyEvent>

namespace oxa {

void ValueListGrid::keyPressEvent(QKeyEvent *event) {
    // The keypad's modifier comes with its keys and says nothing about the user's intent.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Insert && modifiers == Qt::NoModifier) {
        emit insertRowRequested();
    } else if (event->key() == Qt::Key_Delete && modifiers == Qt::ControlModifier) {
        emit deleteRowRequested();
    } else if (event->key() == Qt::Key_Down && modifiers == Qt::NoModifier &&
               currentRow() == rowCount() - 1) {
        emit appendRowRequested();
    } else {
        QTableWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace oxa
