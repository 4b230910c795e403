#pragma once
// Identifiers shared by the resource script and code, other than the dialogs' (the dialog
// templates' data holds those).

#define IDI_APPLICATION_ICON 128

// The layout dialog's status bar, among the dialog's own controls.
#define ID_STATUS_BAR 59393
