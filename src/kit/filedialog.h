// The program's file and folder chooser.
//
// Qt's own dialog reads a typed name holding a double quote as a list of
// quoted names ("a" "b") and keeps only the pieces between the quotes, so a
// database typed as Sam"mlung would be made as "mlung". The program never
// asks for more than one file or folder at a time: here a typed name is taken
// whole, quotes and all. The dialog is always Qt's widget dialog, so that
// this holds on every desktop.
#pragma once

#include "kit/presenter.h"

#include <QFileDialog>

namespace kit {

// The path a name typed into the chooser stands for: an absolute name ("/...",
// "~/...") as it is, any other in the folder the chooser shows; cleaned; the
// default suffix added when the name is no folder and has no dot.
QString TypedFilePath(const QString &typed, const QString &folder, const QString &defaultSuffix);

class FileDialog : public QFileDialog
{
    Q_OBJECT
public:
    explicit FileDialog(const FileRequest &request);

    // The file or folder chosen on OK; empty when there is none.
    QString chosen() const;

    void accept() override;

private:
    QString typedText() const;
    void typedChanged(const QString &text);

    QString m_typedChoice; // the choice made from a typed name with quotes
};

} // namespace kit
