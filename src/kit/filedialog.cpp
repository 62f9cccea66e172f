#include "kit/filedialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace kit {

QString TypedFilePath(const QString &typed, const QString &folder, const QString &defaultSuffix)
{
    QString path = typed;
    if (path == u'~' || path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    else if (!path.startsWith(u'/'))
        path = QDir(folder).filePath(path);
    path = QDir::cleanPath(path);
    const QFileInfo info(path);
    if (!defaultSuffix.isEmpty() && !info.isDir() && !info.fileName().contains(u'.'))
        path += u'.' + defaultSuffix;
    return path;
}

FileDialog::FileDialog(const FileRequest &request)
    : QFileDialog(request.parent, request.caption, request.folder, request.filter)
{
    setOption(QFileDialog::DontUseNativeDialog);
    switch (request.mode) {
    case kit::FileMode::Open:
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
        break;
    case kit::FileMode::Save:
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        break;
    case kit::FileMode::Folder:
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly);
        break;
    }
    if (!request.defaultSuffix.isEmpty())
        setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        selectFile(request.fileName);
    // Connected after the dialog's own check of the name, so that it has the
    // last word: that check reads a name with quotes as a list as well.
    if (auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        connect(edit, &QLineEdit::textChanged, this, &FileDialog::typedChanged);
}

QString FileDialog::typedText() const
{
    const auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    return edit ? edit->text() : QString();
}

void FileDialog::typedChanged(const QString &text)
{
    if (!text.contains(u'"'))
        return;
    auto *box = findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QPushButton *ok = box ? box->button(acceptMode() == AcceptSave ? QDialogButtonBox::Save : QDialogButtonBox::Open)
                          : nullptr;
    if (ok)
        ok->setEnabled(!text.trimmed().isEmpty());
}

QString FileDialog::chosen() const
{
    if (!m_typedChoice.isEmpty())
        return m_typedChoice;
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

void FileDialog::accept()
{
    m_typedChoice.clear();
    const QString typed = typedText();
    if (!typed.contains(u'"')) {
        QFileDialog::accept();
        return;
    }
    const bool folders = fileMode() == Directory;
    const QString path = TypedFilePath(typed, directory().absolutePath(), folders ? QString() : defaultSuffix());
    const QFileInfo info(path);
    if (info.isDir() && !folders) {
        // As with any typed folder: go there and let the user name the file.
        setDirectory(path);
        if (auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            edit->clear();
        return;
    }
    if (folders && !info.isDir()) {
        messageBox(QStringLiteral("%1\nOrdner nicht gefunden.\nBitte prüfen Sie, ob der Name richtig ist.").arg(path),
                   windowTitle(), MsgButtons::Ok, BoxIcon::Warning, 0, this);
        return;
    }
    if (fileMode() == ExistingFile && !info.exists()) {
        messageBox(QStringLiteral("%1\nDatei nicht gefunden.\nBitte prüfen Sie, ob der Name richtig ist.").arg(path),
                   windowTitle(), MsgButtons::Ok, BoxIcon::Warning, 0, this);
        return;
    }
    if (acceptMode() == AcceptSave && info.exists() && !testOption(DontConfirmOverwrite)
        && messageBox(QStringLiteral("%1 existiert bereits.\nSoll die Datei ersetzt werden?").arg(info.fileName()),
                      windowTitle(), MsgButtons::YesNo, BoxIcon::Warning, 1, this)
               != mrYes)
        return;
    m_typedChoice = path;
    QDialog::accept();
}

} // namespace kit
