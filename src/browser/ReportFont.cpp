#include "browser/ReportFont.h"

#include <QFont>
#include <QFontDatabase>
#include <QRawFont>
#include <QStringList>

#include <algorithm>

namespace xr {

namespace {

// 宋体 first, as the list was laid out in it; then Song-style and other CJK fonts of Linux desktops.
const QStringList kCandidates{QStringLiteral("宋体"),
                              QStringLiteral("SimSun"),
                              QStringLiteral("NSimSun"),
                              QStringLiteral("AR PL UMing CN"),
                              QStringLiteral("Droid Sans Fallback"),
                              QStringLiteral("Noto Serif CJK SC"),
                              QStringLiteral("Noto Sans CJK SC")};

// The CJK radical blocks, and the unified ideographs whose glyphs they may share.
constexpr char16_t kFirstRadical = 0x2E80;
constexpr char16_t kLastRadical = 0x2FDF;
constexpr char16_t kFirstIdeograph = 0x4E00;
constexpr char16_t kLastIdeograph = 0x9FFF;

QString characters(char16_t first, char16_t last)
{
    QString text;
    text.reserve(last - first + 1);
    for (char16_t c = first; c <= last; ++c)
        text += QChar(c);
    return text;
}

QString chooseFamily()
{
    const QStringList installed = QFontDatabase::families();
    QString firstInstalled;
    for (const QString& family : kCandidates) {
        if (!installed.contains(family))
            continue;
        if (mapsGlyphsBackToIdeographs(family))
            return family;
        if (firstInstalled.isEmpty())
            firstInstalled = family;
    }
    return firstInstalled;
}

} // namespace

bool mapsGlyphsBackToIdeographs(const QString& family)
{
    if (!QFontDatabase::families().contains(family))
        return false;
    const QRawFont font = QRawFont::fromFont(QFont(family), QFontDatabase::SimplifiedChinese);
    if (!font.isValid())
        return false;
    QList<quint32> ideographs = font.glyphIndexesForString(characters(kFirstIdeograph, kLastIdeograph));
    std::sort(ideographs.begin(), ideographs.end());
    const QList<quint32> radicals = font.glyphIndexesForString(characters(kFirstRadical, kLastRadical));
    return std::none_of(radicals.begin(), radicals.end(), [&](quint32 glyph) {
        return glyph != 0 && std::binary_search(ideographs.begin(), ideographs.end(), glyph);
    });
}

QString reportFontFamily()
{
    static const QString family = chooseFamily();
    return family;
}

} // namespace xr
