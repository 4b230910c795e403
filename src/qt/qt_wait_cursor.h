#pragma once

// The wait cursor over the whole application while a command blocks the event loop.
void begin_qt_wait_cursor();
void end_qt_wait_cursor();
