#pragma once
#include <QLatin1String>
#include <QWidget>
#include <gtest/gtest.h>

// A dialog's control by its object name; a test fails when there is none.
template <typename Widget>
Widget* control(QWidget& dialog, const char* name) {
    Widget* widget = dialog.findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}
