#include "layout/login_panes.h"

void build_login_panes(VaqLayoutMgr& manager) {
    using M = VaqLayoutMgr;
    const CPaneBase transcript = manager.newItem(login_controls::transcript, M::FLEXIBLE);
    const CPaneBase ok = manager.newItem(login_controls::ok, M::FIXED_SIZE);

    const CPaneBase rightColumn = manager.newPane(M::ORIENT_VERT, M::FLEXIBLE, 5);
    rightColumn.pane()->appendItem(ok);

    const CPaneBase reset = manager.newItem(login_controls::reset_passwords, M::FLEXIBLE);
    const CPaneBase nick = manager.newItem(login_controls::nick, M::FLEXIBLE);
    const CPaneBase game = manager.newItem(login_controls::game, M::FLEXIBLE);

    const CPaneBase leftColumn = manager.newPane(M::ORIENT_VERT, M::FLEXIBLE, 5);
    leftColumn.pane()->appendItem(game);
    leftColumn.pane()->appendItem(nick);
    leftColumn.pane()->appendItem(reset);

    const CPaneBase upperRow = manager.newPane(M::ORIENT_HORZ, M::FIXED_HEIGHT, 5);
    upperRow.pane()->appendPane(leftColumn, M::FLEXIBLE, 0);
    upperRow.pane()->appendPane(rightColumn, M::FLEXIBLE, 0);

    // The upper row's height is captured here, from the controls' template sizes.
    const CPaneBase root = manager.makeRoot();
    root.pane()->appendPane(upperRow, M::FIXED_HEIGHT, 0);
    root.pane()->appendItem(transcript);

    manager.relayout();
}
