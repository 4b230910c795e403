#pragma once
#include <windows.h>

// Where a minimised window draws its icon: centred in its client area, each half rounded
// toward zero.
inline POINT minimised_icon_origin(const RECT& client, int icon_width, int icon_height) {
    return {(client.right - client.left - icon_width + 1) / 2,
            (client.bottom - client.top - icon_height + 1) / 2};
}
