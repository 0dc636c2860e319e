#include "gtfs/StationNames.h"

#include "editing/StationsPanel.h"
#include "files/CodePage.h"

#include <QHash>
#include <QSet>

namespace tram::gtfs {

namespace {

// Whether the writer keeps the character: a byte of the code page that
// stands for a letter (not one of the bytes it leaves undefined).
bool isWritten(QChar c)
{
    return c == u'?' || (ToCodePage(QStringView(&c, 1)) != "?" && !StandsForUndefinedByte(c));
}

// Blanks and the marks that only join a part on, left over where a name is cut.
QString withoutLooseEnd(QString name)
{
    while (!name.isEmpty() && (name.back().isSpace() || QStringLiteral(",;:-–—(/.").contains(name.back())))
        name.chop(1);
    return name;
}

// The name without its last trailing part: "(...)" at its end, else what
// follows its last comma or " - "; empty when it has none or nothing is left.
QString withoutTrailingPart(const QString& name)
{
    qsizetype cut = -1;
    if (name.endsWith(u')')) {
        int depth = 0;
        for (qsizetype i = name.size() - 1; i >= 0 && cut < 0; --i) {
            depth += name[i] == u')' ? 1 : name[i] == u'(' ? -1 : 0;
            if (depth == 0)
                cut = i;
        }
    }
    if (cut < 0)
        cut = std::max(name.lastIndexOf(u','), name.lastIndexOf(QStringLiteral(" - ")));
    return cut < 0 ? QString() : withoutLooseEnd(name.left(cut));
}

// After the last whole word within 29 characters, with "."; a first word
// longer than that is cut at 29, never between the halves of a character
// beyond 16 bits.
QString cutAtWord(const QString& name)
{
    constexpr qsizetype room = NameLength - 1;
    QString kept = withoutLooseEnd(name.left(std::max<qsizetype>(name.lastIndexOf(u' ', room), 0)));
    if (kept.isEmpty())
        kept = name.left(name[room - 1].isHighSurrogate() ? room - 1 : room);
    return kept + u'.';
}

// A name that fits, given for each shortened form the full names it could
// come from.
QString fitted(const QString& full, const QHash<QString, QSet<QString>>& takenBy)
{
    QString name = full;
    while (name.size() > NameLength) {
        const QString rest = withoutTrailingPart(name);
        if (rest.isEmpty() || takenBy.value(rest) != QSet<QString>{full})
            break;
        name = rest;
    }
    return name.size() > NameLength ? cutAtWord(name) : name;
}

SchemeName inCodePage(const QString& name, bool shortened)
{
    SchemeName result;
    result.shortened = shortened;
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (isWritten(shown[i]))
            continue;
        // A character beyond 16 bits is two units, and the writer writes two '?'.
        const bool pair = shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate();
        const QString character = shown.mid(i, pair ? 2 : 1);
        if (!result.missing.contains(character))
            result.missing += character;
        shown[i] = u'?';
        if (pair)
            shown[++i] = u'?';
    }
    result.name = StoredName(shown);
    return result;
}

} // namespace

std::vector<SchemeName> ToSchemeNames(const QStringList& stopNames)
{
    QStringList full;
    for (const QString& name : stopNames)
        full << name.normalized(QString::NormalizationForm_C).simplified();
    // Every name is taken by its station; what a long one could become is
    // taken by it too.
    QHash<QString, QSet<QString>> takenBy;
    for (const QString& name : full) {
        takenBy[name].insert(name);
        for (QString rest = name; rest.size() > NameLength && !(rest = withoutTrailingPart(rest)).isEmpty();)
            takenBy[rest].insert(name);
    }
    std::vector<SchemeName> result;
    for (const QString& name : full)
        result.push_back(inCodePage(fitted(name, takenBy), name.size() > NameLength));
    return result;
}

} // namespace tram::gtfs
