#include "session.h"

namespace tavrin {

Session& session()
{
    static Session s;
    return s;
}

const QStringList& userLevels()
{
    static const QStringList levels {QStringLiteral("ostan"), QStringLiteral("city"), QStringLiteral("keshvar"),
                                     QStringLiteral("admin")};
    return levels;
}

QString levelCaption(const QString& level)
{
    static const QStringList captions {QStringLiteral("استاني"), QStringLiteral("شهرستاني"), QStringLiteral("کشوري"),
                                       QStringLiteral("مدير سامانه")};
    const qsizetype at = userLevels().indexOf(level);
    return at < 0 ? level : captions.at(at);
}

} // namespace tavrin
