#include "session.h"

namespace tavrin {

Session& session()
{
    static Session s;
    return s;
}

} // namespace tavrin
