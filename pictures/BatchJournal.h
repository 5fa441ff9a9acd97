#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The undo journals of batch writes: one file per write in the journal folder,
// "<UTC time>-<nn>.journal", renamed to "....undone" once undone. The batch script
// appends the records (see batchgps.pl); this side makes, finds, reads and retires them.
namespace BatchJournal {

// One picture of a journal: its B record, and what its A and U records say.
struct Entry {
    QByteArray id;
    QByteArray path;        // as the write was given it
    QByteArray target;      // the file that was replaced (a link's target)
    QByteArray before;      // the B line, as stored
    QByteArray state;       // the file's state before the write
    QByteArray written;     // its state after the write, or empty when the write did not end
    bool undone = false;    // a U record: an undo already put it back
    QByteArray undoneState; // its state after that undo
};

// Where the journals are kept: <XDG data>/Kartavo/journal.
QString DefaultFolder();
// Makes a new journal (and its folder), flushed to disk with its folder. Returns its
// path, or an empty string with the reason in error.
QString Create(const QString& folder, QString& error);
// The newest journal not yet undone, or an empty string.
QString Newest(const QString& folder);
// The pictures of a journal in the order they were written; false when unreadable.
bool Read(const QString& journal, QList<Entry>& entries, QString& error);
// Follows each picture's state through the newer journals that were undone since:
// a picture that an undo of a later write put back counts as unchanged since its
// own write when the later write started from that state.
void FollowUndoneWrites(const QString& journal, QList<Entry>& entries);
// Marks the journal undone; false with the reason when it could not be.
bool MarkUndone(const QString& journal, QString& error);

} // namespace BatchJournal
