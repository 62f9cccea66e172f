#include "windows/exportdialogparts.h"

#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "windows/dialogparts.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>

ExportFileRow MakeExportFileRow(QWidget *parent, int x, int y, int width, const QString &preset)
{
    ExportFileRow r;
    r.label = new QLabel(QStringLiteral("Zieldatei"), parent);
    r.label->setObjectName(QStringLiteral("LabelFile"));
    r.label->setGeometry(x, y, width, 18);
    r.edit = new QLineEdit(preset, parent);
    r.edit->setObjectName(QStringLiteral("EditFile"));
    r.edit->setReadOnly(true);
    r.edit->setGeometry(x, y + 20, width - 34, 23);
    r.button = DialogButton(parent, "ButtonFile", ibkPPP, QRect(x + width - 30, y + 20, 30, 23));
    r.button->setText(QStringLiteral("..."));
    return r;
}

ExportCharsetGroup MakeExportCharsetGroup(QWidget *parent, int x, int y, int width, int radioGroup)
{
    ExportCharsetGroup g;
    g.group = new QGroupBox(QStringLiteral("Zeichensatz (f. Umlaute)"), parent);
    g.group->setObjectName(QStringLiteral("GroupCharset"));
    g.group->setGeometry(x, y, width, 68);
    g.ansi = DialogCheck(g.group, "RadioAnsi", QStringLiteral("ANSI (Windows)"), QRect(10, 20, width - 20, 20), radioGroup);
    g.dos = DialogCheck(g.group, "RadioDos", QStringLiteral("ASCII (DOS)"), QRect(10, 42, width - 20, 20), radioGroup);
    g.ansi->SetChecked(true);
    return g;
}

QString ExportStartFolder()
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return docs.isEmpty() ? QDir::homePath() : docs;
}

QString ChooseExportFile(QWidget *parent, const QString &current, const QString &filter, const QString &suffix)
{
    kit::FileRequest req;
    req.mode = kit::FileMode::Save;
    req.caption = QStringLiteral("Speichern unter");
    const QFileInfo cur(current);
    req.folder = current.isEmpty() || !cur.isAbsolute() ? ExportStartFolder() : cur.absolutePath();
    req.fileName = current.isEmpty() || !cur.isAbsolute() ? QString() : cur.fileName();
    req.filter = filter;
    req.defaultSuffix = suffix;
    req.parent = parent;
    return kit::chooseFile(req);
}
