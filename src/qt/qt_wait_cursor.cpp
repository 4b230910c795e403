#include "qt/qt_wait_cursor.h"

#include <QApplication>

void begin_qt_wait_cursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // What follows blocks; let the cursor and the pressed button show before it starts. No
    // input is taken meanwhile, so no second command can begin.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void end_qt_wait_cursor() {
    QApplication::restoreOverrideCursor();
}
