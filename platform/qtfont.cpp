#include "platform/qtfont.h"

#include <QFontMetricsF>
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace curvana {

namespace {
struct TFamilyMapping {
    std::string_view From;
    const char* To;
};

constexpr std::array<TFamilyMapping, 10> FamilyMappings = {{
    {"ms sans serif", "DejaVu Sans"},
    {"ms shell dlg", "DejaVu Sans"},
    {"ms shell dlg 2", "DejaVu Sans"},
    {"microsoft sans serif", "DejaVu Sans"},
    {"system", "DejaVu Sans"},
    {"", "DejaVu Sans"},
    {"ms serif", "DejaVu Serif"},
    {"courier", "DejaVu Sans Mono"},
    {"courier new", "DejaVu Sans Mono"},
    {"fixedsys", "DejaVu Sans Mono"},
}};

std::string Lowered(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

constexpr int DefaultPixelSize = 11;
} // namespace

QString MappedFontFamily(const std::string& name) {
    const std::string key = Lowered(name);
    for (const TFamilyMapping& mapping : FamilyMappings)
        if (mapping.From == key)
            return QString::fromLatin1(mapping.To);
    return QString::fromStdString(name);
}

QFont ToQFont(const TFont& font) {
    QFont result(MappedFontFamily(font.Name));
    result.setStyleHint(font.Pitch == fpFixed ? QFont::TypeWriter : QFont::SansSerif);
    result.setBold(font.Style.Contains(fsBold));
    result.setItalic(font.Style.Contains(fsItalic));
    result.setUnderline(font.Style.Contains(fsUnderline));
    result.setStrikeOut(font.Style.Contains(fsStrikeOut));
    result.setKerning(false);

    const std::int64_t height = font.Height;
    int pixelSize = DefaultPixelSize;
    if (height < 0) {
        pixelSize = static_cast<int>(std::min<std::int64_t>(-height, MaxFontPixelSize));
    } else if (height > 0) {
        // A cell height: scale the em size by the face's cell-to-em ratio.
        constexpr int probe = 100;
        result.setPixelSize(probe);
        const double cell = QFontMetricsF(result).height();
        const double wanted = std::min<double>(static_cast<double>(height), MaxFontPixelSize);
        pixelSize =
            cell > 0 ? static_cast<int>(std::lround(wanted * probe / cell)) : DefaultPixelSize;
    }
    result.setPixelSize(std::clamp(pixelSize, 1, MaxFontPixelSize));
    return result;
}

} // namespace curvana
