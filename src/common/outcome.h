#pragma once
// The outcome of a window's action (a save, a delete, a sale, an import): was
// it written and committed, the messages to show in order (warnings, then the
// refusal), the field a refusal points at, the row written, and whether the
// record was changed or deleted by another user after the window read it.
// Logic returns it instead of showing anything, so that every action can be
// driven and checked without windows; the window shows it.
#include "common/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tavrin {

struct Note {
    MsgKind kind = MsgKind::Error;
    QString text;
};

struct Outcome {
    bool done = false;      // written and committed
    QList<Note> notes;      // shown in this order (warnings, then the refusal)
    QString focus;          // object name (or column) of the field a refusal points at
    qint64 id = 0;          // the row written
    QString status;         // the status actually stored (a held item keeps its sold status)
    // Another user changed the record after the window read it: nothing was
    // written; the window offers to read it again (offerReload) instead of
    // only showing the refusal.
    bool changedByOther = false;
    // The record the window edits was deleted meanwhile: nothing was written.
    bool gone = false;

    void warn(const QString& text) { notes.append({MsgKind::Warning, text}); }
    Outcome& refuse(const QString& text, const QString& field = {})
    {
        notes.append({MsgKind::Error, text});
        if (focus.isEmpty())
            focus = field;
        return *this;
    }
    Outcome& refuseChanged(const QString& message)
    {
        changedByOther = true;
        return refuse(message);
    }
    Outcome& refuseGone(const QString& message, const QString& field = {})
    {
        gone = true;
        return refuse(message, field);
    }
    static Outcome refusal(const QString& text, const QString& field = {}) { return Outcome().refuse(text, field); }
    bool refused() const { return !done && !notes.isEmpty(); }
    // The refusal's text: the last error note ("" when none, as after a save
    // or a question the user declined).
    QString message() const;
    QStringList texts() const;
    // Shows the notes through the dialog service.
    void show() const;
};

}   // namespace tavrin
