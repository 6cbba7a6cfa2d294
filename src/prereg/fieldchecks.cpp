#include "prereg/fieldchecks.h"

#include "db/database.h"

namespace tavrin::prereg {

void lockPersons()
{
    const QString lock = dm().dialect().lockTableStatement(QStringLiteral("pishsabt"));
    if (!lock.isEmpty())
        dm().exec(lock);
}

} // namespace tavrin::prereg
