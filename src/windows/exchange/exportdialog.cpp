#include "windows/exchange/exportdialog.h"

#include "kit/help.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "windows/dialogs/dialogparts.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>

TExportDialog::TExportDialog(QWidget *parent, const Layout &layout)
    : tOzoFormMetal(parent), FEmptyFile(layout.emptyFile), FFilter(layout.filter), FSuffix(layout.suffix)
{
    setObjectName(QLatin1String(layout.name));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    Tag = layout.helpTag;
    resize(layout.size);
    const int w = layout.size.width() - 24;
    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(12, 10, w, 54);
    PZLabel1->SetCaption(layout.intro);
    LabelFile = new QLabel(QStringLiteral("Zieldatei"), this);
    LabelFile->setObjectName(QStringLiteral("LabelFile"));
    LabelFile->setGeometry(12, 68, w, 18);
    EditFile = new QLineEdit(FEmptyFile, this);
    EditFile->setObjectName(QStringLiteral("EditFile"));
    EditFile->setReadOnly(true);
    EditFile->setGeometry(12, 88, w - 34, 23);
    ButtonFile = MakeDialogButton(this, "ButtonFile", ibkPPP, QRect(12 + w - 30, 88, 30, 23));

    GroupCharset = new QGroupBox(QStringLiteral("Zeichensatz (f. Umlaute)"), this);
    GroupCharset->setObjectName(QStringLiteral("GroupCharset"));
    GroupCharset->setGeometry(12, 120, layout.charsetWidth, 68);
    RadioAnsi = MakeDialogCheck(GroupCharset, "RadioAnsi", QStringLiteral("ANSI (Windows)"),
                            QRect(10, 20, layout.charsetWidth - 20, 20), 1);
    RadioDos = MakeDialogCheck(GroupCharset, "RadioDos", QStringLiteral("ASCII (DOS)"),
                           QRect(10, 42, layout.charsetWidth - 20, 20), 1);
    RadioAnsi->SetChecked(true);

    const int by = layout.size.height() - 40;
    BitBtnHelp = MakeDialogButton(this, "BitBtnHelp", ibkHelp, QRect(12, by, 100, 25));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(12 + w - 208, by, 100, 25));
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(12 + w - 100, by, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnOK->setEnabled(false);
    connect(ButtonFile, &QPushButton::clicked, this, [this] {
        kit::FileRequest req;
        req.mode = kit::FileMode::Save;
        req.caption = QStringLiteral("Speichern unter");
        const QFileInfo cur(FFileName);
        req.folder = FFileName.isEmpty() ? ExportStartFolder() : cur.absolutePath();
        req.fileName = FFileName.isEmpty() ? QString() : cur.fileName();
        req.filter = FFilter;
        req.defaultSuffix = FSuffix;
        req.parent = this;
        const QString f = kit::chooseFile(req);
        if (!f.isEmpty())
            SetFileName(f);
    });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(BitBtnHelp, &QPushButton::clicked, this, [this] { kit::showHelp(Tag); });
}

void TExportDialog::SetFileName(const QString &fileName)
{
    FFileName = fileName;
    EditFile->setText(fileName.isEmpty() ? FEmptyFile : QDir::toNativeSeparators(fileName));
    BitBtnOK->setEnabled(!fileName.isEmpty());
    FileChanged();
}

bool TExportDialog::DosCharset() const
{
    return RadioDos->Checked();
}

bool ExecExportDialog(TExportDialog &dialog)
{
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(dialog);
    ReactivateMetalForm();
    return r == mrOk && !dialog.FileName().isEmpty();
}

QString ExportStartFolder()
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return docs.isEmpty() ? QDir::homePath() : docs;
}
