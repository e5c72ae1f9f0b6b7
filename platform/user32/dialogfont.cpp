// Template faces mapped to the installed fonts, and dialog base units.
#include "dialogfont.h"

#include <QFontMetrics>

#include <algorithm>

namespace user32 {
namespace {

QString toQt(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// Template faces with no font of that name here: the installed Japanese
// gothics that stand in for them.
QString familyFor(const std::u16string& typeface)
{
    if (typeface == u"ＭＳ Ｐゴシック" || typeface == u"MS PGothic" || typeface == u"MS UI Gothic")
        return QStringLiteral("IPAPGothic");
    if (typeface == u"ＭＳ ゴシック" || typeface == u"MS Gothic")
        return QStringLiteral("IPAGothic");
    return toQt(typeface);
}

} // namespace

QFont DialogFont(QFont base, const std::u16string& typeface, int pointSize)
{
    if (pointSize == 0)
        return base;
    base.setFamily(familyFor(typeface));
    // Points at the 96 dots per inch of the dialog manager's screen.
    base.setPixelSize((pointSize * 96 + 36) / 72);
    return base;
}

BaseUnits BaseUnitsOf(const QFont& font)
{
    QFontMetrics metrics(font);
    int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return BaseUnits{std::max(1, (letters / 26 + 1) / 2), std::max(1, metrics.height())};
}

} // namespace user32
