#include "kit/scriptedpresenter.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>

namespace kit {

ScriptedPresenter::ScriptedPresenter()
    : m_previous(setPresenter(this))
{
}

ScriptedPresenter::~ScriptedPresenter()
{
    setPresenter(m_previous);
}

ScriptedPresenter &ScriptedPresenter::answer(TModalResult result)
{
    Answer a;
    a.result = result;
    m_script.enqueue(a);
    return *this;
}

ScriptedPresenter &ScriptedPresenter::answerInput(const QString &text, TModalResult result)
{
    Answer a;
    a.result = result;
    a.hasInput = true;
    a.input = text;
    m_script.enqueue(a);
    return *this;
}

ScriptedPresenter &ScriptedPresenter::answerDialog(Fill fill, TModalResult result)
{
    Answer a;
    a.result = result;
    a.fill = std::move(fill);
    m_script.enqueue(a);
    return *this;
}

ScriptedPresenter &ScriptedPresenter::answerFile(const QString &path)
{
    Answer a;
    a.result = path.isEmpty() ? mrCancel : mrOk;
    a.hasInput = true;
    a.input = path;
    m_script.enqueue(a);
    return *this;
}

ScriptedPresenter &ScriptedPresenter::answerMenu(const QString &itemText)
{
    return answerFile(itemText);
}

bool ScriptedPresenter::take(Answer *a)
{
    if (m_script.isEmpty()) {
        ++m_unscripted;
        return false;
    }
    *a = m_script.dequeue();
    return true;
}

TModalResult ScriptedPresenter::execModal(QDialog &dialog, const BoxInfo &info)
{
    ShownBox rec;
    static_cast<BoxInfo &>(rec) = info;
    Answer a;
    if (take(&a)) {
        if (a.hasInput && info.inputEdit) {
            info.inputEdit->setText(a.input);
            rec.answeredInput = a.input;
        }
        if (a.fill)
            a.fill(dialog);
        rec.result = a.result;
    } else {
        rec.result = info.defaultResult;
    }
    // The dialog ends as if its button had been pressed, so code that reads
    // dialog.result() afterwards sees the same answer.
    dialog.setResult(rec.result);
    m_shown.append(rec);
    return rec.result;
}

QAction *ScriptedPresenter::popupMenu(QMenu &menu, const QPoint &)
{
    ShownBox rec;
    rec.kind = QStringLiteral("QMenu");
    rec.objectName = menu.objectName();
    rec.caption = menu.title();
    QAction *chosen = nullptr;
    for (QAction *act : menu.actions()) {
        if (act->isSeparator())
            continue;
        rec.buttons << act->text();
    }
    rec.text = rec.buttons.join(QLatin1Char('\n'));
    Answer a;
    if (take(&a) && !a.input.isEmpty()) {
        for (QAction *act : menu.actions()) {
            if (!act->isSeparator() && act->isEnabled() && act->text() == a.input) {
                chosen = act;
                break;
            }
        }
        rec.answeredInput = a.input;
    }
    rec.result = chosen ? mrOk : mrCancel;
    m_shown.append(rec);
    // A real menu triggers the chosen action; so does the scripted one, so
    // that code connected to triggered() runs as in the program.
    if (chosen)
        chosen->trigger();
    return chosen;
}

QString ScriptedPresenter::chooseFile(const FileRequest &request)
{
    ShownBox rec;
    rec.kind = QStringLiteral("FileDialog");
    rec.caption = request.caption;
    rec.text = request.filter;
    rec.input = request.fileName;
    rec.folder = request.folder;
    Answer a;
    QString path;
    if (take(&a))
        path = a.input;
    rec.answeredInput = path;
    rec.result = path.isEmpty() ? mrCancel : mrOk;
    m_shown.append(rec);
    return path;
}

} // namespace kit
