#include "windows/cards/memosearch.h"

#include "kit/inpboxmetal.h"
#include "kit/msgboxmetal.h"

#include <QPlainTextEdit>

int FindMemoTerm(const QString &text, const QString &term, int from)
{
    if (term.isEmpty() || from < 0)
        return -1;
    return int(text.indexOf(term, from, Qt::CaseInsensitive));
}

void TMemoSearch::select(QPlainTextEdit &memo, int at)
{
    pos = at;
    QTextCursor c = memo.textCursor();
    c.setPosition(at);
    c.setPosition(at + int(term.size()), QTextCursor::KeepAnchor);
    memo.setTextCursor(c);
    memo.setFocus();
}

bool TMemoSearch::find(QPlainTextEdit &memo)
{
    QString asked = term;
    if (!MetalInputBox(QStringLiteral("Memotext durchsuchen"),
                       QStringLiteral("Geben Sie einen Suchbegriff ein, nach dem innerhalb dieses Memo-Textes gesucht "
                                      "werden soll:"),
                       asked))
        return false;
    term = asked;
    const int at = FindMemoTerm(memo.toPlainText(), term, 0);
    if (at < 0) {
        pos = -1;
        ShowMetalMessage(QStringLiteral("Nicht gefunden!"),
                         QStringLiteral("Der Suchbegriff \"") + term + QStringLiteral("\" kommt im Memo nicht vor."), true);
        return false;
    }
    select(memo, at);
    return true;
}

bool TMemoSearch::findNext(QPlainTextEdit &memo)
{
    if (pos < 0 || term.isEmpty())
        return false;
    const int at = FindMemoTerm(memo.toPlainText(), term, pos + 1);
    if (at < 0) {
        ShowMetalMessage(QStringLiteral("Nicht gefunden!"), QStringLiteral("Kein weiteres Vorkommen gefunden."));
        return false;
    }
    select(memo, at);
    return true;
}
