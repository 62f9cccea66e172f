// The presenter tests install: it records every modal window, menu and file
// request instead of showing it, and answers from a script.
//
//   kit::ScriptedPresenter p;              // installed until p is destroyed
//   p.answer(mrYes);                       // the next box: the Yes button
//   p.answerInput("Neuer Name");           // the next input box: this text, OK
//   p.answerDialog([](QDialog &d) {        // the next dialog: fill it, then OK
//       d.findChild<QLineEdit *>("Edit1")->setText("x"); });
//   p.answerFile("/tmp/export.txt");       // the next file chooser
//   p.answerMenu("&Kopieren");             // the next pop-up menu: this item
//   ...run the code under test...
//   QCOMPARE(p.shown().at(0).caption, "Hinweis");
//
// Answers are used in the order they were scripted, one per request, whatever
// its kind. A request with no answer left gets its BoxInfo::defaultResult (OK
// for a box with only OK, Cancel or No otherwise), an empty file name or no
// menu item, and counts in unscripted().
#pragma once

#include "kit/presenter.h"

#include <QList>
#include <QQueue>
#include <functional>

namespace kit {

// One request as it was shown and answered.
struct ShownBox : BoxInfo {
    TModalResult result = mrNone; // the answer given
    QString answeredInput;        // input boxes and file choosers: the text given
    QString folder;               // file choosers: the folder they start in
};

class ScriptedPresenter : public Presenter
{
public:
    ScriptedPresenter();
    ~ScriptedPresenter() override;

    using Fill = std::function<void(QDialog &)>;

    ScriptedPresenter &answer(TModalResult result);
    // Puts the text into the box's edit, then answers with result.
    ScriptedPresenter &answerInput(const QString &text, TModalResult result = mrOk);
    // Lets fill set the dialog's controls, then answers with result.
    ScriptedPresenter &answerDialog(Fill fill, TModalResult result = mrOk);
    // An empty path answers as Cancel.
    ScriptedPresenter &answerFile(const QString &path);
    // The menu item whose text is itemText (with its "&"); empty: none chosen.
    ScriptedPresenter &answerMenu(const QString &itemText);

    const QList<ShownBox> &shown() const { return m_shown; }
    const ShownBox &last() const { return m_shown.constLast(); }
    void clear() { m_shown.clear(); m_unscripted = 0; }
    int pending() const { return int(m_script.size()); }
    int unscripted() const { return m_unscripted; }

    TModalResult execModal(QDialog &dialog, const BoxInfo &info) override;
    QAction *popupMenu(QMenu &menu, const QPoint &globalPos) override;
    QString chooseFile(const FileRequest &request) override;

private:
    struct Answer {
        TModalResult result = mrOk;
        bool hasInput = false;
        QString input;
        Fill fill;
    };
    bool take(Answer *a);

    QQueue<Answer> m_script;
    QList<ShownBox> m_shown;
    int m_unscripted = 0;
    Presenter *m_previous = nullptr;
};

} // namespace kit
