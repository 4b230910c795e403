#pragma once
#include <QString>

#include <string_view>

// Texts from the registry and from the game service are bytes in the Wine prefix's ANSI code
// page; these turn them into what the dialogs show. Never markup: plain text only.

// The bytes decoded with the prefix's ANSI code page (1252 when the prefix names none).
QString text_from_ansi(std::string_view bytes);

// A transcript for a plain-text view: decoded as above, each CR LF a line break.
QString transcript_text(std::string_view bytes);
