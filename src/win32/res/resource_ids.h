#pragma once
// Identifiers shared by the resource script and code, other than the dialogs' (the dialog
// templates' data holds those).

#define IDI_APPLICATION_ICON 128

// Where the layout dialog's status bar sits among the dialog's children.
#define ID_STATUS_BAR 59393
