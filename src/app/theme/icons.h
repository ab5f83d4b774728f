#pragma once

#include <QString>

// The symbols the window names (by their system-symbol names, "sparkles", "chevron.left"…)
// drawn as glyphs of one icon font: one table, here.
namespace Icons {

// The font the glyphs come from, as its family is registered.
inline const QString family = QStringLiteral("Material Icons");

// The glyph's ligature in the icon font; empty for a name the table does not hold.
QString glyph(const QString &symbol);

// Whether the symbol points along the reading direction, and so turns in right-to-left text.
bool mirrors(const QString &symbol);

} // namespace Icons
