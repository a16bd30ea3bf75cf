#include "dialogs/fontchoice.h"

#include "platform/qtfont.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <cmath>
#include <cstdlib>

namespace curvana {

QFont FontForChooser(const TFont& font) {
    QFont result = ToQFont(font);
    // The dialog lists point sizes; a height in pixels would show as no size at all.
    if (font.Height != 0 && font.PixelsPerInch > 0)
        result.setPointSizeF(std::abs(static_cast<double>(font.Height)) * 72.0 /
                             font.PixelsPerInch);
    // The dialog selects its style list entry by name, and a face's regular style is often not
    // called "Normal" ("Book", "Regular"): name the installed style that matches, preferring the
    // plain one over condensed or other variants.
    const QString family = QFontInfo(result).family();
    const bool italic = font.Style.Contains(fsItalic);
    const int weight = font.Style.Contains(fsBold) ? QFont::Bold : QFont::Normal;
    QString best;
    int bestDistance = 0;
    for (const QString& style : QFontDatabase::styles(family)) {
        // Oblique faces count as italic here; QFontDatabase::italic() would say no.
        const QFont face = QFontDatabase::font(family, style, 12);
        if ((face.style() != QFont::StyleNormal) != italic)
            continue;
        const int distance =
            std::abs(face.weight() - weight) * 100 + static_cast<int>(style.size());
        if (best.isEmpty() || distance < bestDistance) {
            best = style;
            bestDistance = distance;
        }
    }
    if (!best.isEmpty()) {
        result.setFamily(family);
        result.setStyleName(best);
    }
    return result;
}

TFont FontFromChooser(const QFont& chosen, const TFont& base) {
    TFont result = base;
    // The dialog shows whole points and the face the name resolves to; what it gives back
    // unchanged must not move the description's own height or name.
    const QFont shown = FontForChooser(base);
    if (chosen.family() != shown.family() && chosen.family() != QFontInfo(shown).family())
        result.Name = chosen.family().toStdString();
    const bool sizeAsShown = base.Height != 0 && chosen.pointSizeF() > 0 &&
                             shown.pointSizeF() > 0 &&
                             std::lround(chosen.pointSizeF()) == std::lround(shown.pointSizeF());
    if (!sizeAsShown) {
        if (chosen.pointSizeF() > 0 && base.PixelsPerInch > 0)
            result.Height = -static_cast<std::int32_t>(
                std::lround(chosen.pointSizeF() * base.PixelsPerInch / 72.0));
        else if (chosen.pixelSize() > 0)
            result.Height = -chosen.pixelSize();
    }
    result.Style.Clear();
    if (chosen.bold())
        result.Style.Include(fsBold);
    if (chosen.italic())
        result.Style.Include(fsItalic);
    if (chosen.underline())
        result.Style.Include(fsUnderline);
    if (chosen.strikeOut())
        result.Style.Include(fsStrikeOut);
    return result;
}

std::optional<TFont> ChooseFontWithDialog(QWidget* owner, const TFont& initial) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, FontForChooser(initial), owner);
    if (!ok)
        return std::nullopt;
    return FontFromChooser(chosen, initial);
}

} // namespace curvana
