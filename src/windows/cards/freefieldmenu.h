// What every record window does with a file-link free field: its pop-up menu
// (open, link, copy, collection folder) and a file dropped onto it.
#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class QLineEdit;
class QWidget;

namespace engine {
class DataSet;
class Field;
}

struct TFreeFieldLinkTarget
{
    engine::DataSet *dataSet = nullptr; // the record's table
    engine::Field *field = nullptr;     // the free field
    QWidget *linkEdit = nullptr;        // gets the focus before the operation (may be null)
    QString proposedFolder;             // the record's collection folder name
    std::function<void()> blinkLock;    // the record is locked
};

// The menu at pos (the top left corner of the field's button). The three
// insert entries are offered only while the record is not read-only.
void PopupFreeFieldMenu(const QPoint &globalPos, const TFreeFieldLinkTarget &t);
// One file or folder dropped onto the field: a folder or a file already in
// the LNK folder is linked; any other file after the link-or-copy question.
// False when nothing was stored.
bool DropFileOnFreeField(const TFreeFieldLinkTarget &t, const QString &path);

class TDragDropFiles;
// Makes the link edit a drop target for files: a drop of exactly one file
// goes to DropFileOnFreeField with the target of that moment, after the
// drop has returned. The component belongs to the edit.
TDragDropFiles *AttachFreeFieldFileDrop(QWidget *linkEdit, std::function<TFreeFieldLinkTarget()> target);

// A field that reads as a hyperlink (blue, underlined, hand cursor) or as
// itself again: a link edit or a person field while the record is locked.
void ShowFieldAsLink(QWidget *field, bool on);

// What a record window's file-link edit does: a double click opens the
// linked file, or, when the edit is empty and the record may be changed, the
// field's menu; while the record is read-only a filled edit reads as a
// hyperlink (hand cursor, blue, underlined) and a click opens the file;
// leaving the edit with the left button down drags the linked file out; a
// dropped file goes as AttachFreeFieldFileDrop says. The component (drop
// target and drag source) belongs to the edit.
struct TFreeFieldLinkEditHooks
{
    std::function<TFreeFieldLinkTarget()> target;
    std::function<bool()> readOnly; // the record is locked or not writable
    std::function<void()> openMenu; // the field's menu, as its button opens it
};
TDragDropFiles *AttachFreeFieldLinkEdit(QLineEdit *edit, TFreeFieldLinkEditHooks hooks);
