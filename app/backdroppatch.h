#pragma once

#include <QPixmap>
#include <QWidget>

namespace oxa {

// A patch that shows what its parent shows behind it, and paints itself whole: a widget on it that blinks
// repaints the patch alone, not the parent behind it. What lies behind is drawn once, and again when
// the look changes.
class BackdropPatch : public QWidget {
public:
    explicit BackdropPatch(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QPixmap m_behind;
};

} // namespace oxa
