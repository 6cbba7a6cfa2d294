#include "outcome.h"

namespace tavrin {

QString Outcome::message() const
{
    for (auto n = notes.crbegin(); n != notes.crend(); ++n)
        if (n->kind == MsgKind::Error)
            return n->text;
    return {};
}

QStringList Outcome::texts() const
{
    QStringList out;
    for (const Note& n : notes)
        out << n.text;
    return out;
}

void Outcome::show() const
{
    for (const Note& n : notes)
        dialogs().message(n.kind, n.text);
}

}   // namespace tavrin
