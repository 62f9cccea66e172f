#include "kit/presenter.h"

#include "kit/filedialog.h"
#include "kit/systemmessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QPushButton>

namespace kit {

namespace {

// A test that forgets to install a scripted presenter would otherwise wait in
// a modal loop until its time-out; the test runner sets TARVO_TEST_RUN so the
// mistake ends the test at once with the box that caused it.
void refuseInTestRun(const BoxInfo &info)
{
    if (qEnvironmentVariableIsSet("TARVO_TEST_RUN"))
        qFatal("Modal window %s \"%s\" (%s) shown in a test without a scripted presenter",
               qPrintable(info.kind), qPrintable(info.caption), qPrintable(info.text.left(200)));
}

class ProgramPresenter : public Presenter
{
public:
    TModalResult execModal(QDialog &dialog, const BoxInfo &info) override
    {
        refuseInTestRun(info);
        return dialog.exec();
    }

    QAction *popupMenu(QMenu &menu, const QPoint &globalPos) override
    {
        BoxInfo info;
        info.kind = QStringLiteral("QMenu");
        info.caption = menu.objectName();
        refuseInTestRun(info);
        return menu.exec(globalPos);
    }

    QString chooseFile(const FileRequest &request) override
    {
        BoxInfo info;
        info.kind = QStringLiteral("FileDialog");
        info.caption = request.caption;
        refuseInTestRun(info);
        FileDialog dlg(request);
        if (dlg.exec() != QDialog::Accepted)
            return QString();
        return dlg.chosen();
    }
};

ProgramPresenter g_program;
Presenter *g_current = &g_program;

} // namespace

Presenter &presenter()
{
    return *g_current;
}

Presenter *setPresenter(Presenter *p)
{
    Presenter *old = g_current;
    g_current = p ? p : &g_program;
    return old == &g_program ? nullptr : old;
}

BoxInfo describeDialog(const QDialog &dialog)
{
    BoxInfo info;
    info.kind = QString::fromLatin1(dialog.metaObject()->className());
    info.objectName = dialog.objectName();
    info.caption = dialog.windowTitle();
    for (const QAbstractButton *b : dialog.findChildren<QAbstractButton *>()) {
        if (qobject_cast<const QPushButton *>(b) && !b->text().isEmpty())
            info.buttons << b->text();
    }
    info.defaultResult = mrCancel;
    return info;
}

TModalResult execDialog(QDialog &dialog)
{
    return presenter().execModal(dialog, describeDialog(dialog));
}

TModalResult execDialog(QDialog &dialog, const BoxInfo &info)
{
    return presenter().execModal(dialog, info);
}

QAction *popupMenu(QMenu &menu, const QPoint &globalPos)
{
    return presenter().popupMenu(menu, globalPos);
}

QString chooseFile(const FileRequest &request)
{
    return presenter().chooseFile(request);
}

TModalResult messageBox(const QString &text, const QString &caption, MsgButtons buttons, BoxIcon icon,
                        int defaultButton, QWidget *parent)
{
    // Without an owner named, the box belongs to the active window, so that
    // it opens centred over it.
    SystemMessageBox box(text, caption, buttons, icon, defaultButton, parent ? parent : QApplication::activeWindow());
    BoxInfo info;
    info.kind = QStringLiteral("MessageBox");
    info.objectName = box.objectName();
    info.caption = caption;
    info.text = text;
    info.literal = true;
    info.icon = icon;
    info.buttons = box.buttonCaptions();
    info.defaultResult = box.escapeResult() != mrNone ? box.escapeResult() : box.results().constLast();
    return presenter().execModal(box, info);
}

} // namespace kit
