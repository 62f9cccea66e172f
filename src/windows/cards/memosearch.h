// The search in a record's memo, as the attachment window and the person
// card offer it: the term is asked with the input box, found without regard
// to case, and each hit is selected in the memo.
#pragma once

#include <QString>

class QPlainTextEdit;

// Where term (without regard to case) next occurs in text at or after from;
// -1 when it does not.
int FindMemoTerm(const QString &text, const QString &term, int from);

struct TMemoSearch
{
    QString term;
    int pos = -1; // where the current hit starts; -1 without one

    // Asks for the term ("Memotext durchsuchen") and selects its first hit;
    // a miss says so. False when cancelled or not found.
    bool find(QPlainTextEdit &memo);
    // Selects the next hit after the start of the current one, or says that
    // there is none. False without a search or a further hit.
    bool findNext(QPlainTextEdit &memo);

private:
    void select(QPlainTextEdit &memo, int at);
};
